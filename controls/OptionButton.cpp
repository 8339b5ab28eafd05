#include "controls/OptionButton.h"

namespace kelvane {

OptionButton::OptionButton(HWND parent, const OptionDesign& design, float twipsPerPixel)
    : ControlWindow(twipsPerPixel),
      design_(design),
      background_(design.background ? CreateSolidBrush(*design.background) : nullptr) {
  const RECT place = pixelRect(design.place, twipsPerPixel);
  DWORD style = WS_CHILD | BS_AUTORADIOBUTTON | (design.visible ? WS_VISIBLE : 0);
  // Only the first of a group is a tab stop; the arrow keys move inside the group.
  if (design.groupStart) style |= WS_GROUP | WS_TABSTOP;
  adopt(CreateWindowExW(0, L"BUTTON", design.caption.c_str(), style, place.left, place.top, place.right,
                        place.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!hwnd()) return;
  if (design.font) SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(design.font), FALSE);
  if (design.value) setValue(true);
}

bool OptionButton::value() const { return SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void OptionButton::setValue(bool value) {
  if (!value) {
    SendMessageW(hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
    return;
  }
  // Checking one clears the rest of its group, as a click would.
  HWND parent = GetParent(hwnd());
  HWND first = hwnd();
  while (!(GetWindowLongPtrW(first, GWL_STYLE) & WS_GROUP)) {
    HWND previous = GetWindow(first, GW_HWNDPREV);
    if (!previous) break;
    first = previous;
  }
  for (HWND sibling = first; sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling != first && (GetWindowLongPtrW(sibling, GWL_STYLE) & WS_GROUP)) break;
    if (GetParent(sibling) == parent) SendMessageW(sibling, BM_SETCHECK, sibling == hwnd() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void OptionButton::setEnable(bool enable) { EnableWindow(hwnd(), enable); }

bool OptionButton::enabled() const { return IsWindowEnabled(hwnd()) != 0; }

bool OptionButton::onReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (onClick_ && IsWindowEnabled(hwnd())) onClick_();
    result = 0;
    return true;
  }
  if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
    result = colourText(reinterpret_cast<HDC>(wParam), design_.foreground, design_.background, background_.get());
    return true;
  }
  return false;
}

}  // namespace kelvane
