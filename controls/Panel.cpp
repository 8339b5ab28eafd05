#include "controls/Panel.h"

#include <algorithm>

#include "controls/Dpi.h"
#include "controls/Picture.h"
#include "controls/WindowClass.h"

namespace kelvane {
namespace {
constexpr wchar_t PanelClass[] = L"KelvanePanel";
}

Panel::Panel(HWND parent, const PanelDesign& design, float twipsPerPixel)
    : ControlWindow(twipsPerPixel), design_(design), background_(CreateSolidBrush(design.background)) {
  registerWindowClass(PanelClass, windowProcedure<Panel>);
  const RECT place = pixelRect(design.place, twipsPerPixel);
  const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (design.visible ? WS_VISIBLE : 0);
  adopt(CreateWindowExW(WS_EX_CONTROLPARENT, PanelClass, design.caption.c_str(), style, place.left,
                        place.top, place.right, place.bottom, parent, nullptr,
                        GetModuleHandleW(nullptr), this));
  if (hwnd() && design.pictureResource && design.pictureAhead) pictureAhead_.emplace(design.pictureResource, dpi());
}

void Panel::paintContent(HDC, const RECT&) {}

void Panel::preparePicture() {
  pictureDc_.reset();
  picture_.reset();
  pictureSize_ = {0, 0};
  picturePrepared_ = true;  // a picture that cannot be made is not tried on every paint
  if (!design_.pictureResource) return;
  UniqueBitmap picture = pictureAhead_ ? pictureAhead_->take(dpi()) : loadPicture(design_.pictureResource, dpi());
  pictureAhead_.reset();
  BITMAP info{};
  if (!picture || !GetObjectW(picture.get(), sizeof info, &info)) return;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return;
  SelectObject(dc.get(), picture.get());
  picture_ = std::move(picture);
  pictureDc_ = std::move(dc);
  pictureSize_ = {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void Panel::onDpiChanged(const DpiChange& change) {
  if (design_.font && change.font) design_.font = change.font(design_.font);
  ControlWindow::onDpiChanged(change);
  // Made again when the panel next paints: a hidden page costs nothing until shown.
  pictureDc_.reset();
  picture_.reset();
  picturePrepared_ = false;
}

void Panel::drawPicture(HDC dc) const {
  // Only the part that shows: a button asks for the few pixels behind it.
  RECT part;
  if (GetClipBox(dc, &part) == NULLREGION) return;
  part.left = std::max<LONG>(part.left, 0);
  part.top = std::max<LONG>(part.top, 0);
  part.right = std::min(part.right, pictureSize_.cx);
  part.bottom = std::min(part.bottom, pictureSize_.cy);
  if (part.left >= part.right || part.top >= part.bottom) return;
  // Unscaled from the top-left corner; a picture larger than the panel is clipped.
  BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, pictureDc_.get(), part.left,
         part.top, SRCCOPY);
}

bool Panel::onMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void Panel::paintFrame(HDC dc, const RECT& client) const {
  SelectedObject font(dc, design_.font ? design_.font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT line = client;
  line.top += metrics.tmHeight / 2;
  DrawEdge(dc, &line, EDGE_ETCHED, BF_RECT);
  if (design_.caption.empty()) return;
  // The caption interrupts the top line, as on a group box.
  SIZE text{};
  GetTextExtentPoint32W(dc, design_.caption.c_str(), static_cast<int>(design_.caption.size()), &text);
  RECT label{8, 0, 8 + text.cx + 6, metrics.tmHeight};
  FillRect(dc, &label, background_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(31, 96, 169));
  TextOutW(dc, label.left + 3, 0, design_.caption.c_str(), static_cast<int>(design_.caption.size()));
}

LRESULT Panel::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (onMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      const HDC dc = reinterpret_cast<HDC>(wParam);
      FillRect(dc, &client, background_.get());
      if (!picturePrepared_) preparePicture();
      if (pictureDc_) drawPicture(dc);
      return 1;
    }
    case WM_PAINT: {
      PaintDc paint(hwnd);
      RECT client;
      GetClientRect(hwnd, &client);
      if (design_.framed) paintFrame(paint.get(), client);
      paintContent(paint.get(), client);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace kelvane
