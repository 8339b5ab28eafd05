#include "shell/Outline.h"

#include <cmath>
#include <limits>

namespace kelvane {

int roundHalfToEven(float value) {
  const double v = value;
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  const double below = std::floor(v);
  const double fraction = v - below;
  double rounded = below;
  if (fraction > 0.5) {
    rounded = below + 1;
  } else if (fraction == 0.5) {
    rounded = std::fmod(below, 2.0) == 0 ? below : below + 1;
  }
  return static_cast<int>(rounded);
}

namespace {

OutlineRect box(float left, float top, float right, float bottom) {
  return {roundHalfToEven(left), roundHalfToEven(top), roundHalfToEven(right), roundHalfToEven(bottom)};
}

OutlineShape rectangle(float left, float top, float right, float bottom) {
  return {OutlineShapeKind::Rectangle, box(left, top, right, bottom)};
}

OutlineShape ellipse(float left, float top, float right, float bottom) {
  return {OutlineShapeKind::Ellipse, box(left, top, right, bottom)};
}

}  // namespace

WindowOutline windowOutline(float W, float H, float scale) {
  // Single-precision sums on purpose: a size that ends in a half pixel must
  // round the way the same sums round in single precision.
  const float inset = 23 * scale, corner = 26 * scale, arc = 52 * scale, notch = 6 * scale;
  const float rightCorner = 50 * scale, overhang = 1 * scale, small = 9 * scale;
  return {box(0, corner, W, H - corner),
          {rectangle(inset, 0, W - inset, H),
           rectangle(inset, arc, W, H - notch),
           rectangle(arc, arc, W - notch, H),
           ellipse(0, 0, arc, arc),                              // top-left corner
           ellipse(W - rightCorner, 0, W + overhang, arc),         // top-right corner
           ellipse(0, H - arc, arc, H),                          // bottom-left corner
           ellipse(W - small, H - small, W, H)}};                    // bottom-right corner, nearly square
}

}  // namespace kelvane
