#pragma once
// Page switching of the main window, kept free of Win32 so it runs against fake
// controls in tests. Which page is current is nothing but which page is visible.
#include <array>
#include <cstdint>
#include <optional>

#include "controls/Placement.h"
#include "controls/ResettablePage.h"

namespace kelvane {

// Every page sits at the same place: 250 twips from the left, 50 twips below the
// page-button bar, 8535 x 6515 twips.
inline constexpr float PageLeft = 250;
inline constexpr float PageGapBelowMenu = 50;
inline constexpr float PageWidth = 8535;
inline constexpr float PageHeight = 6515;

// Page-button indices: 0 to 3 show a page, 4 opens the help menu.
inline constexpr int16_t PageCount = 4;
inline constexpr int16_t HelpMenuButton = 4;

// Pages in button order: the wizard, repair tools, system tools, virus detector.
using PageList = std::array<Placement*, PageCount>;

// Hides all four pages in order, then places and shows the page of `index`
// (0 to 3) below the bar; for index 0 the wizard is reset once it is visible. A
// property access that fails is skipped and the next step runs.
void showPage(int16_t index, const PageList& pages, const Placement& menu, ResettablePage& wizard);

struct TwipPoint {
  float x = 0;
  float y = 0;
};

// Where the help menu pops up, as a point of the window's client area in twips:
// 100 twips right of the help button's left edge and 500 below its bottom edge.
// The button's own coordinates are relative to the bar, so the point lands just
// below the button. Nothing when the button's place cannot be read.
std::optional<TwipPoint> helpMenuPoint(const Placement& helpButton);

}  // namespace kelvane
