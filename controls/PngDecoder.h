#pragma once
// The decoder of the program's own PNG pictures: pure logic, so pictures are
// made without COM or the imaging component (whose start costs every program
// start tens of milliseconds), give the same pixels on every system, and the
// decoder is tested and fuzzed natively.
//
// It is strict and knows only what the pictures of res/ use, which is what the
// scripts there write: 8 bits per sample, RGB or RGBA, not interlaced, one
// zlib stream over the IDAT chunks (any deflate block type, any of the five
// row filters). Anything else, a damaged checksum, or data that does not fill
// the picture exactly is refused, never guessed at.
#include <cstdint>
#include <optional>
#include <span>

#include "controls/PictureFilter.h"

namespace kelvane {

// A picture larger than this on either side is refused rather than allocated.
inline constexpr int LargestPictureSide = 16384;

struct PngSize {
  int width = 0;
  int height = 0;
};

// The size in a PNG's header (its signature, then an IHDR chunk); nullopt when
// the bytes do not begin so, or a side is 0 or above LargestPictureSide.
std::optional<PngSize> pngSize(std::span<const std::uint8_t> png);

// The picture as 32-bit pixels with straight (not premultiplied) alpha, opaque
// for RGB: the values a 32-bit BGRA DIB section holds. Empty when the bytes are
// not a PNG this decoder reads.
PicturePixels decodePng(std::span<const std::uint8_t> png);

}  // namespace kelvane
