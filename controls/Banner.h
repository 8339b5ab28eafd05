#pragma once
// The advertisement banner at the bottom of the main window. Until the space is
// let, it shows its own line (the space is for rent, and where to ask) and, while
// started, a tip for the user that changes every few seconds.
#include <windows.h>

#include <cstddef>

#include "controls/ControlWindow.h"

namespace kelvane {

class Banner final : public ControlWindow {
 public:
  Banner(HWND parent, const TwipRect& place, HFONT titleFont, HFONT textFont, float twipsPerPixel);

  void start();
  void stop();
  bool running() const { return running_; }

  LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void onDpiChanged(const DpiChange& change) override;
  void paint(HDC dc, const RECT& client) const;
  // The gradient and its rounded border, made once for the banner's size: a
  // paint (at every tip) copies it instead of filling band by band.
  void prepareFace(HDC like, const RECT& client);

  HFONT titleFont_;
  HFONT textFont_;
  bool running_ = false;
  std::size_t tip_ = 0;
  SIZE faceSize_{0, 0};
  UniqueBitmap face_;  // declared before its DC, so the DC goes first
  UniqueMemoryDc faceDc_;
};

}  // namespace kelvane
