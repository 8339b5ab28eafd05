#pragma once
// A text label the user clicks, as the repair-tool page's "前一页" and "后一页":
// a STATIC window with SS_NOTIFY whose click comes back through reflection, drawn
// in its own colour on the page's background, with the hand cursor over it.
#include <windows.h>

#include <functional>
#include <string>

#include "controls/ControlWindow.h"
#include "controls/Label.h"

namespace kelvane {

struct PageTurnLabelDesign {
  std::wstring caption;
  TwipRect place;
  HFONT font = nullptr;  // not owned
  COLORREF foreground = RGB(0, 0, 0);
  COLORREF background = RGB(255, 255, 255);
};

class PageTurnLabel final : public ControlWindow {
 public:
  PageTurnLabel(HWND parent, const PageTurnLabelDesign& design, float twipsPerPixel);
  void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }

 private:
  void afterDpiChanged(const DpiChange&) override { fitLabelToText(hwnd(), SS_LEFT); }
  bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  static LRESULT CALLBACK subclassProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  PageTurnLabelDesign design_;
  UniqueBrush background_;
  std::function<void()> onClick_;
};

}  // namespace kelvane
