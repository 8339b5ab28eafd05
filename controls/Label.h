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

// Widens or lengthens a STATIC window whose text, in its font, does not fit in
// it: a label of one line grows to the width of its text (keeping its alignment's
// edge or centre), a label of several lines grows downwards. A label whose text
// fits keeps its design size. Fonts do not grow in step with a display's scale,
// so a label that just holds its text at 100 % may cut it at 125 %.
void fitLabelToText(HWND label, DWORD alignment);

class Label final : public ControlWindow {
 public:
  Label(HWND parent, const LabelDesign& design, float twipsPerPixel);

  void setCaption(std::wstring_view caption);
  std::wstring caption() const;

 private:
  // Whether the text fits the label at 100 % in the font made for 100 %: only
  // such a text is given the room a larger scale's font needs on a new caption.
  bool fitsAtDesignScale() const;
  void onDpiChanged(const DpiChange& change) override;
  void afterDpiChanged(const DpiChange&) override { fitLabelToText(hwnd(), design_.alignment); }
  bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  LabelDesign design_;
  UniqueBrush background_;
};

}  // namespace kelvane
