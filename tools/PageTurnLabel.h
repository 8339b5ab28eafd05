#pragma once
// A text label the user clicks, as the repair-tool page's "前一页" and "后一页".
// It looks like a link (its own colour, underlined, on the page's background,
// the hand cursor over it) but is a real owner-drawn BUTTON window: Tab reaches
// it, it shows a focus rectangle, Enter and Space click it, and screen readers
// announce it as a button with its caption.
#include <windows.h>

#include <functional>
#include <string>

#include "controls/ControlWindow.h"
#include "controls/Dpi.h"
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
  // The face is drawn with the design's font, so it follows the window's swap.
  void onDpiChanged(const DpiChange& change) override {
    if (design_.font && change.font) design_.font = change.font(design_.font);
    ControlWindow::onDpiChanged(change);
  }
  void afterDpiChanged(const DpiChange&) override { fitLabelToText(hwnd(), SS_LEFT); }
  bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  LRESULT onSubclassed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void draw(const DRAWITEMSTRUCT& item) const;

  PageTurnLabelDesign design_;
  UniqueBrush background_;
  std::function<void()> onClick_;
};

}  // namespace kelvane
