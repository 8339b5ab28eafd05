#include "controls/Label.h"

namespace kelvane {

Label::Label(HWND parent, const LabelDesign& design, float twipsPerPixel)
    : ControlWindow(twipsPerPixel),
      design_(design),
      background_(design.background ? CreateSolidBrush(*design.background) : nullptr) {
  const RECT place = pixelRect(design.place, twipsPerPixel);
  const DWORD style = WS_CHILD | SS_NOPREFIX | design.alignment | (design.visible ? WS_VISIBLE : 0);
  adopt(CreateWindowExW(0, L"STATIC", design.caption.c_str(), style, place.left, place.top,
                        place.right, place.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (hwnd() && design.font) SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(design.font), FALSE);
}

void Label::setCaption(std::wstring_view caption) {
  design_.caption = caption;
  SetWindowTextW(hwnd(), design_.caption.c_str());
  // A transparent label leaves the old text behind unless the parent repaints it.
  if (!background_) {
    RECT rect;
    GetWindowRect(hwnd(), &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd()), reinterpret_cast<POINT*>(&rect), 2);
    InvalidateRect(GetParent(hwnd()), &rect, TRUE);
  }
}

std::wstring Label::caption() const { return design_.caption; }

bool Label::onReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_CTLCOLORSTATIC) return false;
  result = colourText(reinterpret_cast<HDC>(wParam), design_.foreground, design_.background, background_.get());
  return true;
}

}  // namespace kelvane
