#include "controls/Label.h"

#include <algorithm>

#include "controls/Dpi.h"

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
  fitLabelToText(hwnd(), design.alignment);
}

void fitLabelToText(HWND label, DWORD alignment) {
  if (!label) return;
  const int length = GetWindowTextLengthW(label);
  if (length <= 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(label, text.data(), length + 1)));
  RECT place;
  GetWindowRect(label, &place);
  MapWindowPoints(HWND_DESKTOP, GetParent(label), reinterpret_cast<POINT*>(&place), 2);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  WindowDc dc(label);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  SelectedObject selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  // Measured as the STATIC control draws it: word-wrapped at its width.
  RECT wrapped{0, 0, width, 0};
  DrawTextW(dc.get(), text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  RECT line{0, 0, 0, 0};
  DrawTextW(dc.get(), text.c_str(), -1, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
  // The foot of a line (an eighth of its height) is the blank below Chinese
  // glyphs and the underline: losing it loses no text.
  if (wrapped.right <= width && wrapped.bottom <= height + line.bottom / 8) return;
  int newWidth = width;
  int newHeight = height;
  if (height < 2 * line.bottom) {
    newWidth = std::max<int>(width, line.right);
    newHeight = std::max<int>(height, line.bottom);
  } else {
    newWidth = std::max<int>(width, wrapped.right);
    newHeight = std::max<int>(height, wrapped.bottom);
  }
  int left = place.left;
  const DWORD align = alignment & SS_TYPEMASK;
  if (align == SS_CENTER) left -= (newWidth - width) / 2;
  if (align == SS_RIGHT) left -= newWidth - width;
  SetWindowPos(label, nullptr, left, place.top, newWidth, newHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::setCaption(std::wstring_view caption) {
  design_.caption = caption;
  SetWindowTextW(hwnd(), design_.caption.c_str());
  fitLabelToText(hwnd(), design_.alignment);
  // A transparent label leaves the old text behind unless the parent repaints it.
  if (!background_) {
    RECT rect;
    GetWindowRect(hwnd(), &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd()), reinterpret_cast<POINT*>(&rect), 2);
    InvalidateRect(GetParent(hwnd()), &rect, TRUE);
  }
}

void Label::onDpiChanged(const DpiChange& change) {
  if (design_.font && change.font) design_.font = change.font(design_.font);
  ControlWindow::onDpiChanged(change);
}

std::wstring Label::caption() const { return design_.caption; }

bool Label::onReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_CTLCOLORSTATIC) return false;
  result = colourText(reinterpret_cast<HDC>(wParam), design_.foreground, design_.background, background_.get());
  return true;
}

}  // namespace kelvane
