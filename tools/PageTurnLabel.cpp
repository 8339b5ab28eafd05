#include "tools/PageTurnLabel.h"

#include <optional>

#include "controls/ButtonKeys.h"

namespace kelvane {

PageTurnLabel::PageTurnLabel(HWND parent, const PageTurnLabelDesign& design, float twipsPerPixel)
    : ControlWindow(twipsPerPixel), design_(design), background_(CreateSolidBrush(design.background)) {
  const RECT place = pixelRect(design.place, twipsPerPixel);
  adopt(CreateWindowExW(0, L"BUTTON", design.caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                        place.left, place.top, place.right, place.bottom, parent, nullptr,
                        GetModuleHandleW(nullptr), nullptr));
  if (!hwnd()) return;
  if (design.font) SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(design.font), FALSE);
  // At a larger display scale the font outgrows the design's 630 twips.
  fitLabelToText(hwnd(), SS_LEFT);
  subclass();
}

bool PageTurnLabel::onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    // The handler may pump messages; nothing here runs after it.
    if (onClick_) onClick_();
    result = 0;
    return true;
  }
  if (message == WM_DRAWITEM) {
    draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }
  return false;
}

void PageTurnLabel::draw(const DRAWITEMSTRUCT& item) const {
  RECT area = item.rcItem;
  FillRect(item.hDC, &area, background_.get());
  SelectedObject font(item.hDC, design_.font ? design_.font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, design_.foreground);
  DrawTextW(item.hDC, design_.caption.c_str(), static_cast<int>(design_.caption.size()), &area,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  // The focus shows as the system's dotted rectangle around the text, unless the
  // user has never used the keyboard in this window (ODS_NOFOCUSRECT).
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(item.hDC, &area);
}

LRESULT PageTurnLabel::onSubclassed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Space the button handles itself.
  const auto classAnswer = [&] { return callClassProcedure(hwnd, message, wParam, lParam); };
  if (const std::optional<LRESULT> answer = clickOnEnter(hwnd, message, wParam, lParam, classAnswer)) return *answer;
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_ERASEBKGND:
      return 1;  // WM_DRAWITEM paints the whole face
    default:
      break;
  }
  return classAnswer();
}

}  // namespace kelvane
