#include "controls/Picture.h"

#include <cmath>

namespace kelvane {
namespace {

constexpr int DesignDpi = 96;

HBITMAP loadStoredBitmap(int resourceId) {
  return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP,
                                         0, 0, LR_CREATEDIBSECTION));
}

UniqueBitmap makeDibSection(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace

int scaleToDpi(int designPixels, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(designPixels) * dpi / DesignDpi));
}

SIZE pictureDesignSize(int resourceId) {
  UniqueBitmap stored(loadStoredBitmap(resourceId));
  BITMAP info{};
  if (!stored || !GetObjectW(stored.get(), sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

UniqueBitmap loadPicture(int resourceId, int dpi) {
  UniqueBitmap stored(loadStoredBitmap(resourceId));
  BITMAP info{};
  if (!stored || !GetObjectW(stored.get(), sizeof(info), &info)) return {};
  const int sourceHeight = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  const int width = scaleToDpi(info.bmWidth, dpi);
  const int height = scaleToDpi(sourceHeight, dpi);
  if (width <= 0 || height <= 0) return {};
  void* bits = nullptr;
  UniqueBitmap made = makeDibSection(width, height, &bits);
  if (!made) return {};
  UniqueMemoryDc source(CreateCompatibleDC(nullptr));
  UniqueMemoryDc target(CreateCompatibleDC(nullptr));
  if (!source || !target) return {};
  const HGDIOBJ oldSource = SelectObject(source.get(), stored.get());
  const HGDIOBJ oldTarget = SelectObject(target.get(), made.get());
  SetStretchBltMode(target.get(), HALFTONE);
  SetBrushOrgEx(target.get(), 0, 0, nullptr);
  StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth, sourceHeight, SRCCOPY);
  SelectObject(source.get(), oldSource);
  SelectObject(target.get(), oldTarget);
  return made;
}

UniqueIcon loadIconPicture(int resourceId, int designPixels, int dpi) {
  const int size = scaleToDpi(designPixels, dpi);
  return UniqueIcon(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0)));
}

}  // namespace kelvane
