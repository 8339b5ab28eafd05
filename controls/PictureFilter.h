#pragma once
// The filter that makes a picture of one size from a stored copy of another:
// pure logic, so it gives the same pixels on every system and is tested natively.
#include <cstdint>
#include <vector>

namespace kelvane {

// A picture's pixels as a 32-bit DIB section holds them: 0xAARRGGBB, rows top
// to bottom, `width` values a row.
struct PicturePixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> values;
};

// `source` made `width` x `height` with an area-average (box) filter: each new
// pixel is the mean of the part of the source it covers, each source pixel
// weighted by how much of it lies under the new one. Colours are weighted by
// their alpha, so a transparent neighbour lends an edge no colour. Meant for
// reducing; enlarging works too, as a soft stretch. Empty when a size is not
// positive or `source` does not hold width x height values.
PicturePixels resizePicture(const PicturePixels& source, int width, int height);

}  // namespace kelvane
