#pragma once
// A text box: an EDIT window, optionally multi-line with a vertical scroll bar.
// Its text is its window text, so screen readers read it as it stands.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "controls/ControlWindow.h"

namespace kelvane {

struct TextBoxDesign {
  std::wstring text;
  TwipRect place;
  bool visible = true;
  HFONT font = nullptr;  // not owned
  bool multiLine = false;
  bool verticalScrollBar = false;
  bool readOnly = false;
  COLORREF foreground = RGB(0, 0, 0);
  std::optional<COLORREF> background;  // none: the system's window colour
};

class TextBox final : public ControlWindow {
 public:
  TextBox(HWND parent, const TextBoxDesign& design, float twipsPerPixel);

  void setText(std::wstring_view text);
  std::wstring text() const;

 private:
  bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  TextBoxDesign design_;
  UniqueBrush background_;
};

}  // namespace kelvane
