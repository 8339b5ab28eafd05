#pragma once
#include "controls/PlaceholderPage.h"


namespace kelvane {

// The "维护工具" page of the main window.
class RepairTool final : public PlaceholderPage {
 public:
  RepairTool(HWND parent, const TwipRect& place, HFONT titleFont, HFONT textFont, float twipsPerPixel)
      : PlaceholderPage(parent, place, L"维护工具", titleFont, textFont, twipsPerPixel) {}
};

}  // namespace kelvane
