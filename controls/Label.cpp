#include "controls/Label.h"

#include <algorithm>

#include "controls/Dpi.h"
#include "controls/Fonts.h"
#include "controls/Twips.h"

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

namespace {

std::wstring labelText(HWND label) {
  const int length = GetWindowTextLengthW(label);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(label, text.data(), length + 1)));
  return text;
}

// The text's room as the STATIC control draws it (word-wrapped at `width`) and as one line.
struct TextRoom {
  RECT wrapped{0, 0, 0, 0};
  RECT line{0, 0, 0, 0};
  // The foot of a line (an eighth of its height) is the blank below Chinese
  // glyphs and the underline: losing it loses no text.
  bool fitsIn(int width, int height) const {
    return wrapped.right <= width && wrapped.bottom <= height + line.bottom / 8;
  }
};

TextRoom measureText(HDC dc, HFONT font, const std::wstring& text, int width) {
  SelectedObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  TextRoom room;
  room.wrapped.right = width;
  DrawTextW(dc, text.c_str(), -1, &room.wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  DrawTextW(dc, text.c_str(), -1, &room.line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
  return room;
}

}  // namespace

void fitLabelToText(HWND label, DWORD alignment) {
  if (!label) return;
  const std::wstring text = labelText(label);
  if (text.empty()) return;
  RECT place;
  GetWindowRect(label, &place);
  MapWindowPoints(HWND_DESKTOP, GetParent(label), reinterpret_cast<POINT*>(&place), 2);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  // A memory DC measures as the label's own DC would, without a window DC from
  // the window system (under Wine a round trip to its server).
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  const TextRoom room = measureText(dc.get(), font, text, width);
  const RECT& wrapped = room.wrapped;
  const RECT& line = room.line;
  if (room.fitsIn(width, height)) return;
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
  if (fitsAtDesignScale()) fitLabelToText(hwnd(), design_.alignment);
  // A transparent label leaves the old text behind unless the parent repaints it.
  if (!background_) {
    RECT rect;
    GetWindowRect(hwnd(), &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd()), reinterpret_cast<POINT*>(&rect), 2);
    InvalidateRect(GetParent(hwnd()), &rect, TRUE);
  }
}

bool Label::fitsAtDesignScale() const {
  // At 100 % the label keeps its size whatever the text: a text longer than the
  // label wraps inside it and is clipped, as it always was.
  const int scale = dpi();
  if (scale == DesignDpi || !hwnd()) return false;
  const std::optional<float> width = this->width();
  const std::optional<float> height = this->height();
  const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  const UniqueFont designFont = rescaledFont(font, scale, DesignDpi);
  const std::wstring text = labelText(hwnd());
  if (!width || !height || !designFont || text.empty()) return false;
  const float designTwipsPerPixel = twipsPerPixelAt(DesignDpi);
  const int designWidth = twipsToPixels(*width, designTwipsPerPixel);
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  return measureText(dc.get(), designFont.get(), text, designWidth)
      .fitsIn(designWidth, twipsToPixels(*height, designTwipsPerPixel));
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
