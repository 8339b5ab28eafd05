#include "shell/PageSwitch.h"

namespace kelvane {

void showPage(int16_t index, const PageList& pages, const Placement& menu, ResettablePage& wizard) {
  // Hide before show, so that at no moment are two pages visible.
  for (Placement* page : pages) {
    if (page) page->setVisible(false);
  }
  if (index < 0 || index >= PageCount || !pages[index]) return;
  Placement& page = *pages[index];
  page.setLeft(PageLeft);
  // Read at this moment, so the pages follow the bar should it ever move.
  const std::optional<float> menuTop = menu.top();
  const std::optional<float> menuHeight = menu.height();
  if (menuTop && menuHeight) page.setTop(*menuTop + *menuHeight + PageGapBelowMenu);
  page.setWidth(PageWidth);
  page.setHeight(PageHeight);
  page.setVisible(true);
  if (index == 0) wizard.ResetAll();
}

std::optional<TwipPoint> helpMenuPoint(const Placement& helpButton) {
  const std::optional<float> left = helpButton.left();
  const std::optional<float> top = helpButton.top();
  const std::optional<float> height = helpButton.height();
  if (!left || !top || !height) return std::nullopt;
  return TwipPoint{*left + 100, *top + *height + 500};
}

}  // namespace kelvane
