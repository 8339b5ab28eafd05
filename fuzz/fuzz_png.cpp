// Fuzzes the decoder of the program's pictures: any bytes are refused or give
// exactly the pixels of the size in their header, opaque when it says RGB.
#include <algorithm>

#include "controls/PngDecoder.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using kelvane::fuzz::require;
  const std::span<const uint8_t> png(data, size);
  const kelvane::PicturePixels pixels = kelvane::decodePng(png);
  if (pixels.values.empty()) return 0;
  const std::optional<kelvane::PngSize> header = kelvane::pngSize(png);
  require(header && header->width == pixels.width && header->height == pixels.height);
  require(pixels.values.size() == static_cast<size_t>(pixels.width) * pixels.height);
  if (data[25] == 2) require(std::all_of(pixels.values.begin(), pixels.values.end(), [](uint32_t p) { return p >> 24 == 0xFF; }));
  return 0;
}
