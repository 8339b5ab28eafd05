#include "shell/SkinPainter.h"

#include "controls/Picture.h"
#include "controls/Twips.h"

namespace kelvane {

bool BackingImage::resize(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  if (dc_ && width == width_ && height == height_) return true;
  UniqueBitmap bitmap = makeDibSection(width, height);
  if (!bitmap) return false;
  if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
  if (!dc_) return false;
  SelectObject(dc_.get(), bitmap.get());
  bitmap_ = std::move(bitmap);  // the old bitmap is no longer selected: free it
  width_ = width;
  height_ = height;
  return true;
}

void BackingImage::show(HDC target, const RECT& area) const {
  if (!dc_) return;
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(), area.left,
         area.top, SRCCOPY);
}

bool GdiSkinSurface::toPixels(const SkinRect& rect, RECT& pixels) const {
  if (rect.width < 0 || rect.height < 0) return false;
  pixels = {twipsToPixels(rect.left, twipsPerPixel_), twipsToPixels(rect.top, twipsPerPixel_),
            twipsToPixels(rect.width, twipsPerPixel_), twipsToPixels(rect.height, twipsPerPixel_)};
  return true;
}

bool GdiSkinSurface::fill(const SkinRect& rect, std::uint32_t colour) {
  RECT pixels;
  if (!target_ || !toPixels(rect, pixels)) return false;
  const RECT area{pixels.left, pixels.top, pixels.left + pixels.right, pixels.top + pixels.bottom};
  // ExtTextOut with an opaque rectangle fills without creating a brush.
  SetBkColor(target_, colour);
  return ExtTextOutW(target_, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr) != 0;
}

bool GdiSkinSurface::paintPicture(const SkinRect& destination, const SkinRect& source) {
  if (!target_ || !picture_ || destination.width < 0 || destination.height < 0 || source.width < 0 ||
      source.height < 0) {
    return false;
  }
  const auto [to, from] = piecePixels(destination, source, twipsPerPixel_, pictureDpi_);
  if (to.width == from.width && to.height == from.height) {
    return BitBlt(target_, to.left, to.top, to.width, to.height, picture_, from.left, from.top, SRCCOPY) != 0;
  }
  // The edge slices are uniform along the stretch: repeating rows or columns is exact.
  SetStretchBltMode(target_, COLORONCOLOR);
  return StretchBlt(target_, to.left, to.top, to.width, to.height, picture_, from.left, from.top, from.width,
                    from.height, SRCCOPY) != 0;
}

bool GdiSkinSurface::paintIcon(const SkinRect& destination, const SkinRect&) {
  RECT to;
  if (!target_ || !icon_ || !toPixels(destination, to)) return false;
  return DrawIconEx(target_, to.left, to.top, icon_, to.right, to.bottom, 0, nullptr, DI_NORMAL) != 0;
}

bool GdiSkinSurface::print(float x, float y, std::uint32_t colour, std::wstring_view text) {
  if (!target_) return false;
  SelectedObject font(target_, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(target_, TRANSPARENT);
  SetTextAlign(target_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetTextColor(target_, colour);
  return TextOutW(target_, twipsToPixels(x, twipsPerPixel_), twipsToPixels(y, twipsPerPixel_), text.data(),
                  static_cast<int>(text.size())) != 0;
}

}  // namespace kelvane
