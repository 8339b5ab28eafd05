#pragma once
#include "controls/PlaceholderPage.h"


namespace kelvane {

// The "系统工具" page of the main window.
class SysTool final : public PlaceholderPage {
 public:
  SysTool(HWND parent, const TwipRect& place, HFONT titleFont, HFONT textFont, float twipsPerPixel)
      : PlaceholderPage(parent, place, L"系统工具", titleFont, textFont, twipsPerPixel) {}
};

}  // namespace kelvane
