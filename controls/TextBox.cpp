#include "controls/TextBox.h"

namespace kelvane {

TextBox::TextBox(HWND parent, const TextBoxDesign& design, float twipsPerPixel)
    : ControlWindow(twipsPerPixel),
      design_(design),
      background_(design.background ? CreateSolidBrush(*design.background) : nullptr) {
  const RECT place = pixelRect(design.place, twipsPerPixel);
  DWORD style = WS_CHILD | WS_TABSTOP | ES_LEFT | (design.visible ? WS_VISIBLE : 0);
  if (design.multiLine) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  else style |= ES_AUTOHSCROLL;
  if (design.verticalScrollBar) style |= WS_VSCROLL;
  if (design.readOnly) style |= ES_READONLY;
  adopt(CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", design.text.c_str(), style, place.left, place.top,
                        place.right, place.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!hwnd()) return;
  if (design.font) SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(design.font), FALSE);
  // The default limit (32K characters) would cut a long text short.
  SendMessageW(hwnd(), EM_SETLIMITTEXT, 0, 0);
}

void TextBox::setText(std::wstring_view text) {
  const std::wstring copy(text);
  SetWindowTextW(hwnd(), copy.c_str());
}

std::wstring TextBox::text() const {
  const int length = GetWindowTextLengthW(hwnd());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd(), text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

bool TextBox::onReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  // A read-only edit asks with WM_CTLCOLORSTATIC, an editable one with WM_CTLCOLOREDIT.
  if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) return false;
  if (!background_) return false;
  const HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, design_.foreground);
  SetBkColor(dc, *design_.background);
  result = reinterpret_cast<LRESULT>(background_.get());
  return true;
}

}  // namespace kelvane
