#include "controls/Panel.h"

#include <algorithm>

#include "controls/WindowClass.h"

namespace kelvane {
namespace {
constexpr wchar_t PanelClass[] = L"KelvanePanel";
}

namespace {

// A bitmap resource is a BITMAPINFO followed by its pixels, mapped with the program.
const BITMAPINFO* findBitmapResource(int id) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
  if (!resource) return nullptr;
  const HGLOBAL loaded = LoadResource(module, resource);
  return loaded ? static_cast<const BITMAPINFO*>(LockResource(loaded)) : nullptr;
}

const void* bitmapBits(const BITMAPINFO* info) {
  const BITMAPINFOHEADER& header = info->bmiHeader;
  DWORD colours = header.biClrUsed;
  if (colours == 0 && header.biBitCount <= 8) colours = 1u << header.biBitCount;
  if (header.biCompression == BI_BITFIELDS) colours = 3;
  return reinterpret_cast<const BYTE*>(info) + header.biSize + colours * sizeof(RGBQUAD);
}

}  // namespace

Panel::Panel(HWND parent, const PanelDesign& design, float twipsPerPixel)
    : ControlWindow(twipsPerPixel), design_(design), background_(CreateSolidBrush(design.background)) {
  if (design.pictureResource) {
    pictureInfo_ = findBitmapResource(design.pictureResource);
    if (pictureInfo_) pictureBits_ = bitmapBits(pictureInfo_);
  }
  registerWindowClass(PanelClass, windowProcedure<Panel>);
  const RECT place = pixelRect(design.place, twipsPerPixel);
  const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (design.visible ? WS_VISIBLE : 0);
  adopt(CreateWindowExW(WS_EX_CONTROLPARENT, PanelClass, design.caption.c_str(), style, place.left,
                        place.top, place.right, place.bottom, parent, nullptr,
                        GetModuleHandleW(nullptr), this));
}

void Panel::paintContent(HDC, const RECT&) {}

void Panel::drawPicture(HDC dc) const {
  const LONG width = pictureInfo_->bmiHeader.biWidth;
  const LONG height = pictureInfo_->bmiHeader.biHeight;
  const bool bottomUp = height > 0;
  const LONG rows = bottomUp ? height : -height;
  // Only the part that shows: a button asks for the few pixels behind it, and
  // converting the whole picture each time would be slow.
  RECT part;
  if (GetClipBox(dc, &part) == NULLREGION) return;
  part.left = std::max<LONG>(part.left, 0);
  part.top = std::max<LONG>(part.top, 0);
  part.right = std::min(part.right, width);
  part.bottom = std::min(part.bottom, rows);
  if (part.left >= part.right || part.top >= part.bottom) return;
  const LONG partWidth = part.right - part.left;
  const LONG partHeight = part.bottom - part.top;
  // A bottom-up picture counts its source rows from the bottom.
  const LONG sourceTop = bottomUp ? rows - part.bottom : part.top;
  // Unscaled from the top-left corner; a picture larger than the panel is clipped.
  StretchDIBits(dc, part.left, part.top, partWidth, partHeight, part.left, sourceTop, partWidth, partHeight,
                pictureBits_, pictureInfo_, DIB_RGB_COLORS, SRCCOPY);
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
      if (pictureInfo_) drawPicture(dc);
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
