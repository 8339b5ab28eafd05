#include "tools/PageTurnLabel.h"

#include <commctrl.h>

namespace kelvane {

PageTurnLabel::PageTurnLabel(HWND parent, const PageTurnLabelDesign& design, float twipsPerPixel)
    : ControlWindow(twipsPerPixel), design_(design), background_(CreateSolidBrush(design.background)) {
  const RECT place = pixelRect(design.place, twipsPerPixel);
  adopt(CreateWindowExW(0, L"STATIC", design.caption.c_str(), WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX,
                        place.left, place.top, place.right, place.bottom, parent, nullptr,
                        GetModuleHandleW(nullptr), nullptr));
  if (!hwnd()) return;
  if (design.font) SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(design.font), FALSE);
  // At a larger display scale the font outgrows the design's 630 twips.
  fitLabelToText(hwnd(), SS_LEFT);
  SetWindowSubclass(hwnd(), subclassProcedure, 0, 0);
}

bool PageTurnLabel::onReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
    // The handler may pump messages; nothing here runs after it.
    if (onClick_) onClick_();
    result = 0;
    return true;
  }
  if (message == WM_CTLCOLORSTATIC) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, design_.foreground);
    SetBkColor(dc, design_.background);
    result = reinterpret_cast<LRESULT>(background_.get());
    return true;
  }
  return false;
}

LRESULT CALLBACK PageTurnLabel::subclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                  UINT_PTR, DWORD_PTR) {
  if (message == WM_SETCURSOR) {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, subclassProcedure, 0);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace kelvane
