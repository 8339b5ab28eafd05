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

WindowOutline windowOutline(float W, float H) {
  // Single-precision sums on purpose: a size that ends in a half pixel must
  // round the way the same sums round in single precision.
  return {box(0, 26, W, H - 26.0f),
          {rectangle(23, 0, W - 23.0f, H),
           rectangle(23, 52, W, H - 6.0f),
           rectangle(52, 52, W - 6.0f, H),
           ellipse(0, 0, 52, 52),                        // top-left corner
           ellipse(W - 50.0f, 0, W + 1.0f, 52),          // top-right corner
           ellipse(0, H - 52.0f, 52, H),                 // bottom-left corner
           ellipse(W - 9.0f, H - 9.0f, W, H)}};          // bottom-right corner, nearly square
}

}  // namespace kelvane
