// Pictures for a DPI, from the copies stored in the program.
//
// Each picture is stored as PNG once for each display scale it was drawn at:
// the resource of its identifier and the type PNG<percent> (res/pictures.rc).
// For a DPI the copy of that scale is used as it is; between stored scales the
// next larger copy is reduced with the area filter of PictureFilter.h, so the
// pixels are the same on every system (the scaler of the imaging component
// differs between systems). Above the largest stored scale the largest copy is
// enlarged with the same filter: nothing larger exists to reduce.
//
// PNG is decoded by the program itself (PngDecoder.h), without COM.
#include "controls/Picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <system_error>

#include "common/Handles.h"
#include "controls/PictureFilter.h"
#include "controls/PngDecoder.h"

namespace kelvane {
namespace {

constexpr int DesignDpi = 96;
// The scales pictures are drawn at, in per cent, smallest first; a picture may
// leave some out.
constexpr std::array<int, 5> StoredPercents{100, 125, 150, 175, 200};

std::span<const BYTE> resourceBytes(const wchar_t* type, int id) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!resource) return {};
  const HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const BYTE*>(bytes), SizeofResource(module, resource)};
}

std::span<const BYTE> storedCopy(int resourceId, int percent) {
  const std::wstring type = L"PNG" + std::to_wstring(percent);
  return resourceBytes(type.c_str(), resourceId);
}

// The stored copy to make a picture for `dpi` from: the one of that scale or
// the nearest larger one, else the largest.
std::optional<int> copyPercentFor(int resourceId, int dpi) {
  std::optional<int> largest;
  for (const int percent : StoredPercents) {
    if (storedCopy(resourceId, percent).empty()) continue;
    if (percent * DesignDpi >= dpi * 100) return percent;
    largest = percent;
  }
  return largest;
}

UniqueBitmap makeBitmap(const PicturePixels& pixels) {
  void* bits = nullptr;
  UniqueBitmap bitmap = makeDibSection(pixels.width, pixels.height, &bits);
  if (!bitmap || !bits) return {};
  std::copy(pixels.values.begin(), pixels.values.end(), static_cast<std::uint32_t*>(bits));
  return bitmap;
}

// `pixels` at width x height: as they are when the size matches, else through the filter.
PicturePixels sized(PicturePixels pixels, int width, int height) {
  if (pixels.width == width && pixels.height == height) return pixels;
  return resizePicture(pixels, width, height);
}

// ---------------------------------------------------------------- icons

#pragma pack(push, 2)
// An icon group resource: a GRPICONDIR header, then one entry per image.
struct IconGroupEntry {
  BYTE width;  // 0 means 256
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInResource;
  WORD id;  // the RT_ICON resource holding the image
};
#pragma pack(pop)
static_assert(sizeof(IconGroupEntry) == 14);
constexpr std::size_t IconGroupHeaderSize = 6;

struct IconImage {
  int width = 0;
  int height = 0;
  int id = 0;
};

// The image of icon group `resourceId` to make an icon whose larger side is
// `side` from: the smallest as large, else the largest.
std::optional<IconImage> iconImageFor(int resourceId, int side) {
  const std::span<const BYTE> group = resourceBytes(RT_GROUP_ICON, resourceId);
  if (group.size() < IconGroupHeaderSize) return std::nullopt;
  const std::size_t count =
      std::min<std::size_t>(group[4] | group[5] << 8, (group.size() - IconGroupHeaderSize) / sizeof(IconGroupEntry));
  std::optional<IconImage> best;
  std::optional<IconImage> largest;
  for (std::size_t i = 0; i < count; ++i) {
    IconGroupEntry entry;
    std::copy_n(group.data() + IconGroupHeaderSize + i * sizeof(entry), sizeof(entry), reinterpret_cast<BYTE*>(&entry));
    const IconImage image{entry.width ? entry.width : 256, entry.height ? entry.height : 256, entry.id};
    const int imageSide = std::max(image.width, image.height);
    if (!largest || imageSide > std::max(largest->width, largest->height)) largest = image;
    if (imageSide >= side && (!best || imageSide < std::max(best->width, best->height))) best = image;
  }
  return best ? best : largest;
}

UniqueIcon createIcon(const IconImage& image) {
  const std::span<const BYTE> bytes = resourceBytes(RT_ICON, image.id);
  if (bytes.empty()) return {};
  // Version 3 of the icon format; the image may be a DIB or a PNG (Vista and later).
  return UniqueIcon(CreateIconFromResourceEx(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), TRUE,
                                             0x00030000, image.width, image.height, LR_DEFAULTCOLOR));
}

// `bitmap` read back as 32-bit pixels of width x height; empty when it cannot be.
PicturePixels bitmapPixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof(header.bmiHeader);
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = -height;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  PicturePixels pixels{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  const HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, height, pixels.values.data(), &header, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != height) return {};
  return pixels;
}

// The colour and alpha of an icon image. An image without alpha (all zero)
// takes it from its mask, so its transparent parts stay transparent when reduced.
PicturePixels iconPixels(HICON icon, const IconImage& image) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  const UniqueBitmap colour(info.hbmColor);
  const UniqueBitmap mask(info.hbmMask);
  if (!colour || !mask) return {};
  PicturePixels pixels = bitmapPixels(colour.get(), image.width, image.height);
  const auto hasAlpha = [](std::uint32_t pixel) { return (pixel >> 24) != 0; };
  if (pixels.values.empty() || std::any_of(pixels.values.begin(), pixels.values.end(), hasAlpha)) return pixels;
  const PicturePixels shown = bitmapPixels(mask.get(), image.width, image.height);
  if (shown.values.size() != pixels.values.size()) return {};
  for (std::size_t i = 0; i < pixels.values.size(); ++i) {
    // A black mask pixel shows the colour; a white one lets the background through.
    if ((shown.values[i] & 0xFFFFFF) == 0) pixels.values[i] |= 0xFF000000;
  }
  return pixels;
}

// An icon of 32-bit pixels whose alpha says what shows; its mask is all
// "draw", as the alpha decides.
UniqueIcon iconFromPixels(const PicturePixels& pixels) {
  const UniqueBitmap colour = makeBitmap(pixels);
  const std::vector<BYTE> maskBits(static_cast<std::size_t>((pixels.width + 15) / 16 * 2) * pixels.height, 0);
  const UniqueBitmap mask(CreateBitmap(pixels.width, pixels.height, 1, 1, maskBits.data()));
  if (!colour || !mask) return {};
  ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
  return UniqueIcon(CreateIconIndirect(&info));
}

}  // namespace

UniqueBitmap makeDibSection(int width, int height, void** bits) {
  void* unused = nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits ? bits : &unused, nullptr, 0));
}

int scaleToDpi(int designPixels, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(designPixels) * dpi / DesignDpi));
}

SIZE pictureDesignSize(int resourceId) {
  const std::optional<PngSize> size = pngSize(storedCopy(resourceId, StoredPercents.front()));
  return size ? SIZE{size->width, size->height} : SIZE{0, 0};
}

UniqueBitmap loadPicture(int resourceId, int dpi) {
  const SIZE design = pictureDesignSize(resourceId);
  const int width = scaleToDpi(design.cx, dpi);
  const int height = scaleToDpi(design.cy, dpi);
  if (width <= 0 || height <= 0 || width > LargestPictureSide || height > LargestPictureSide) return {};
  const std::optional<int> percent = copyPercentFor(resourceId, dpi);
  if (!percent) return {};
  const PicturePixels pixels = sized(decodePng(storedCopy(resourceId, *percent)), width, height);
  if (pixels.values.empty()) return {};
  return makeBitmap(pixels);
}

PictureInAdvance::PictureInAdvance(int resourceId, int dpi) : resourceId_(resourceId), dpi_(dpi) {
  try {
    picture_ = std::async(std::launch::async, loadPicture, resourceId, dpi);
  } catch (const std::system_error&) {
    // No thread to be had: take() makes the picture itself.
  }
}

UniqueBitmap PictureInAdvance::take(int dpi) {
  if (resourceId_ == 0) return {};
  UniqueBitmap picture = picture_.valid() && dpi == dpi_ ? picture_.get() : loadPicture(resourceId_, dpi);
  resourceId_ = 0;
  return picture;
}

UniqueIcon loadIconPicture(int resourceId, int designPixels, int dpi) {
  const int side = scaleToDpi(designPixels, dpi);
  if (side <= 0 || side > LargestPictureSide) return {};
  const std::optional<IconImage> image = iconImageFor(resourceId, side);
  if (!image) return {};
  UniqueIcon icon = createIcon(*image);
  const int imageSide = std::max(image->width, image->height);
  if (!icon || imageSide == side) return icon;
  // No image of this size: the nearest larger one reduced, in its proportions.
  const int width = std::max(1, static_cast<int>(std::lround(static_cast<double>(image->width) * side / imageSide)));
  const int height = std::max(1, static_cast<int>(std::lround(static_cast<double>(image->height) * side / imageSide)));
  const PicturePixels pixels = sized(iconPixels(icon.get(), *image), width, height);
  if (pixels.values.empty()) return {};
  return iconFromPixels(pixels);
}

UniqueIcon loadIconPicture(int resourceId, SIZE designSize, int dpi) {
  return loadIconPicture(resourceId, std::max(designSize.cx, designSize.cy), dpi);
}

}  // namespace kelvane
