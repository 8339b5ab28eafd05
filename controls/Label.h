#pragma once
// A text label: a STATIC window with its own text and background colours.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "controls/ControlWindow.h"

namespace kelvane {

struct LabelDesign {
  std::wstring caption;
  TwipRect place;
  bool visible = true;
  HFONT font = nullptr;                   // not owned
  COLORREF foreground = RGB(0, 0, 0);
  std::optional<COLORREF> background;     // none: the parent shows through
  DWORD alignment = SS_LEFT;              // SS_LEFT, SS_CENTER or SS_RIGHT
};

class Label final : public ControlWindow {
 public:
  Label(HWND parent, const LabelDesign& design, float twipsPerPixel);

  void setCaption(std::wstring_view caption);
  std::wstring caption() const;

 private:
  bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  LabelDesign design_;
  UniqueBrush background_;
};

}  // namespace kelvane
