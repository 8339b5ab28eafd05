#pragma once
#include "controls/PlaceholderPage.h"


namespace kelvane {

// The "病毒探测" page of the main window.
class VirusDetect final : public PlaceholderPage {
 public:
  VirusDetect(HWND parent, const TwipRect& place, HFONT titleFont, HFONT textFont, float twipsPerPixel)
      : PlaceholderPage(parent, place, L"病毒探测", titleFont, textFont, twipsPerPixel) {}
};

}  // namespace kelvane
