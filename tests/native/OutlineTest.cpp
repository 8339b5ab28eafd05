#include "shell/Outline.h"

#include <gtest/gtest.h>

#include <limits>

namespace kelvane {
namespace {

using Kind = OutlineShapeKind;

TEST(Outline, TheSizeAfterStartUpGivesTheBaseRectangleThreeRectanglesAndFourEllipsesInOrder) {
  // 9000 x 9115 twips at 15 twips per pixel: H is 607.67 before rounding.
  const WindowOutline outline = windowOutline(9000.0f / 15.0f, 9115.0f / 15.0f);
  EXPECT_EQ(outline.base, (OutlineRect{0, 26, 600, 582}));
  const std::array<OutlineShape, 7> expected{{
      {Kind::Rectangle, {23, 0, 577, 608}},
      {Kind::Rectangle, {23, 52, 600, 602}},
      {Kind::Rectangle, {52, 52, 594, 608}},
      {Kind::Ellipse, {0, 0, 52, 52}},
      {Kind::Ellipse, {550, 0, 601, 52}},
      {Kind::Ellipse, {0, 556, 52, 608}},
      {Kind::Ellipse, {591, 599, 600, 608}},
  }};
  EXPECT_EQ(outline.shapes, expected);
}

TEST(Outline, CoordinatesOnAHalfRoundToTheEvenNeighbour) {
  // W = 600.5 and H = 607.5: every sum with W or H ends in a half.
  const WindowOutline outline = windowOutline(9007.5f / 15.0f, 9112.5f / 15.0f);
  EXPECT_EQ(outline.base, (OutlineRect{0, 26, 600, 582}));  // 600.5 -> 600, 581.5 -> 582
  EXPECT_EQ(outline.shapes[0].box, (OutlineRect{23, 0, 578, 608}));    // 577.5 -> 578, 607.5 -> 608
  EXPECT_EQ(outline.shapes[1].box, (OutlineRect{23, 52, 600, 602}));   // 601.5 -> 602
  EXPECT_EQ(outline.shapes[2].box, (OutlineRect{52, 52, 594, 608}));   // 594.5 -> 594
  EXPECT_EQ(outline.shapes[4].box, (OutlineRect{550, 0, 602, 52}));    // 550.5 -> 550, 601.5 -> 602
  EXPECT_EQ(outline.shapes[5].box, (OutlineRect{0, 556, 52, 608}));    // 555.5 -> 556
  EXPECT_EQ(outline.shapes[6].box, (OutlineRect{592, 598, 600, 608})); // 591.5 -> 592, 598.5 -> 598
}

TEST(Outline, RoundingHalvesGoesToEvenBothWaysAndOtherValuesToTheNearest) {
  EXPECT_EQ(roundHalfToEven(2.5f), 2);
  EXPECT_EQ(roundHalfToEven(3.5f), 4);
  EXPECT_EQ(roundHalfToEven(-2.5f), -2);
  EXPECT_EQ(roundHalfToEven(-3.5f), -4);
  EXPECT_EQ(roundHalfToEven(2.4999f), 2);
  EXPECT_EQ(roundHalfToEven(2.5001f), 3);
  EXPECT_EQ(roundHalfToEven(-0.4f), 0);
  EXPECT_EQ(roundHalfToEven(1e20f), std::numeric_limits<int>::max());
  EXPECT_EQ(roundHalfToEven(-1e20f), std::numeric_limits<int>::min());
}

TEST(Outline, ATinyWindowStillGivesEveryShapeWithoutOverflow) {
  const WindowOutline outline = windowOutline(10.0f, 8.0f);
  EXPECT_EQ(outline.base, (OutlineRect{0, 26, 10, -18}));
  EXPECT_EQ(outline.shapes[6].box, (OutlineRect{1, -1, 10, 8}));
}

TEST(Outline, AtALargerScaleTheCornersGrowWithTheWindow) {
  // 150 %: the window of 900 x 912 pixels and the outline of the 600 x 608 one, 1.5 times.
  const WindowOutline outline = windowOutline(9000.0f / 10.0f, 9115.0f / 10.0f, 1.5f);
  EXPECT_EQ(outline.base, (OutlineRect{0, 39, 900, 872}));
  EXPECT_EQ(outline.shapes[3].box, (OutlineRect{0, 0, 78, 78}));       // top-left corner
  EXPECT_EQ(outline.shapes[4].box, (OutlineRect{825, 0, 902, 78}));    // 901.5 -> 902
  EXPECT_EQ(outline.shapes[6].box, (OutlineRect{886, 898, 900, 912}));  // nearly square still
}

}  // namespace
}  // namespace kelvane
