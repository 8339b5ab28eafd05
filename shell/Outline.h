#pragma once
// The shape of the main window: a base rectangle with three more rectangles and
// four ellipses merged into it, so that three corners are rounded with a radius
// of about 26 pixels and the bottom-right corner with only about 4.5 pixels.
// Pure arithmetic; Frmmain turns the shapes into a window region.
#include <array>

namespace kelvane {

// Left, top, right, bottom in window pixels; right and bottom exclusive, as the
// region functions take them.
struct OutlineRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const OutlineRect&, const OutlineRect&) = default;
};

enum class OutlineShapeKind { Rectangle, Ellipse };

struct OutlineShape {
  OutlineShapeKind kind = OutlineShapeKind::Rectangle;
  OutlineRect box;
  friend bool operator==(const OutlineShape&, const OutlineShape&) = default;
};

struct WindowOutline {
  OutlineRect base;
  std::array<OutlineShape, 7> shapes;  // merged into the base in this order
};

// Rounds to the nearest integer, a half to the even neighbour (2.5 -> 2, 3.5 -> 4),
// whatever the floating-point rounding mode; clamped to the int range.
int roundHalfToEven(float value);

// The outline of a window `width` x `height` pixels (single precision, not
// rounded: the size in twips divided by the twips per pixel). Every coordinate is
// computed in single precision first and rounded half to even afterwards. The
// corner sizes are pixels at 100 %: `scale` (the window's DPI / 96) enlarges them
// with the window, so the outline keeps its shape at every display scale.
WindowOutline windowOutline(float width, float height, float scale = 1.0f);

}  // namespace kelvane
