#pragma once
// A container window: the page-button bar, the pages and the wizard's solution
// frame. It paints its background, optionally a frame line with a caption, and
// hands its children's notifications back to them. Tab moves into its children
// (WS_EX_CONTROLPARENT).
#include <windows.h>

#include <optional>
#include <string>

#include "controls/ControlWindow.h"
#include "controls/Picture.h"

namespace kelvane {

struct PanelDesign {
  TwipRect place;
  bool visible = true;
  COLORREF background = RGB(255, 255, 255);
  std::wstring caption;      // the window text; drawn when `framed`
  bool framed = false;       // an etched frame line with the caption in its top edge
  HFONT font = nullptr;      // caption font, not owned
  int pictureResource = 0;   // picture drawn at the top-left, made for the panel's DPI; 0: none
  bool pictureAhead = false; // the page shown first: its picture is decoded from creation on
};

class Panel : public ControlWindow {
 public:
  Panel(HWND parent, const PanelDesign& design, float twipsPerPixel);

  LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  void onDpiChanged(const DpiChange& change) override;
  // Paints the panel's content over its background; pages override it.
  virtual void paintContent(HDC dc, const RECT& client);
  // Messages a derived page handles; false passes them on.
  virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  const PanelDesign& design() const { return design_; }

 private:
  void paintFrame(HDC dc, const RECT& client) const;
  void drawPicture(HDC dc) const;
  void preparePicture();

  PanelDesign design_;
  UniqueBrush background_;
  // The background picture made for the panel's DPI when it first paints (a
  // page made hidden costs nothing until shown) and kept selected in its own DC,
  // so a paint is one plain copy of the part that shows.
  bool picturePrepared_ = false;
  SIZE pictureSize_{0, 0};
  UniqueBitmap picture_;  // declared before its DC, so the DC goes first
  UniqueMemoryDc pictureDc_;
  // The first page's picture, decoded meanwhile on a worker thread while the
  // rest of the window is made, for the DPI of its creation.
  std::optional<PictureInAdvance> pictureAhead_;
};

}  // namespace kelvane
