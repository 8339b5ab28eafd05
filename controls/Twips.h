#pragma once
// Twips and screen pixels. Controls hold their places in whole pixels: a value
// written in twips is rounded to the nearest pixel, and a read gives that pixel
// back in twips. Algorithms that creep towards a target (the wizard's glide) end
// only because of this rounding, so reads must never return the unrounded value.
#include <cmath>

namespace kelvane {

inline constexpr int TwipsPerInch = 1440;

// 15 at the usual 96 dots per inch.
inline float twipsPerPixelAt(int dotsPerInch) {
  return dotsPerInch > 0 ? static_cast<float>(TwipsPerInch) / static_cast<float>(dotsPerInch) : 15.0f;
}

inline int twipsToPixels(float twips, float twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}

inline float pixelsToTwips(int pixels, float twipsPerPixel) {
  return static_cast<float>(pixels) * twipsPerPixel;
}

}  // namespace kelvane
