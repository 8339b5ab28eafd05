#pragma once
// An option (radio) button. Consecutive option buttons form one group, opened by
// the one designed with `groupStart`; choosing one clears the others, and the
// arrow keys move between them.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "controls/ControlWindow.h"

namespace kelvane {

struct OptionDesign {
  std::wstring caption;
  TwipRect place;
  bool visible = true;
  HFONT font = nullptr;  // not owned
  bool groupStart = false;
  bool value = false;
  COLORREF foreground = RGB(0, 0, 0);
  std::optional<COLORREF> background;  // none: the parent shows through
};

class OptionButton final : public ControlWindow {
 public:
  OptionButton(HWND parent, const OptionDesign& design, float twipsPerPixel);

  bool value() const;
  void setValue(bool value);
  void setEnable(bool enable);
  bool enabled() const;
  void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }

 private:
  bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  OptionDesign design_;
  UniqueBrush background_;
  std::function<void()> onClick_;
};

}  // namespace kelvane
