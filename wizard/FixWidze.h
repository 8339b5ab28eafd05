#pragma once
#include "controls/PlaceholderPage.h"
#include "shell/PageSwitch.h"

namespace kelvane {

// The "排除向导" page of the main window.
class FixWidze final : public PlaceholderPage, public ResettablePage {
 public:
  FixWidze(HWND parent, const TwipRect& place, HFONT titleFont, HFONT textFont, float twipsPerPixel)
      : PlaceholderPage(parent, place, L"排除向导", titleFont, textFont, twipsPerPixel) {}
  // Returns the wizard to its first state: no category open, no text shown.
  void ResetAll() override;
};

}  // namespace kelvane
