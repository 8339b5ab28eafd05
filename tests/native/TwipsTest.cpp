#include "controls/Twips.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(Twips, DensityGivesTwipsPerPixel) {
  EXPECT_FLOAT_EQ(twipsPerPixelAt(96), 15.0f);
  EXPECT_FLOAT_EQ(twipsPerPixelAt(120), 12.0f);
  EXPECT_FLOAT_EQ(twipsPerPixelAt(144), 10.0f);
  EXPECT_FLOAT_EQ(twipsPerPixelAt(0), 15.0f);  // a broken screen DC still gives a usable ratio
}

TEST(Twips, AWriteRoundsToTheNearestPixelAndAReadReturnsThatPixel) {
  EXPECT_EQ(twipsToPixels(250, 15), 17);  // 16.67
  EXPECT_FLOAT_EQ(pixelsToTwips(twipsToPixels(250, 15), 15), 255.0f);
  EXPECT_EQ(twipsToPixels(9115, 15), 608);
  EXPECT_EQ(twipsToPixels(7.4f, 15), 0);
  EXPECT_EQ(twipsToPixels(7.6f, 15), 1);
  EXPECT_EQ(twipsToPixels(-30, 15), -2);
}

TEST(Twips, CreepingTowardsATargetStopsOnceAStepIsUnderHalfAPixel) {
  // A position that moves a fiftieth of the remaining way each step, written and
  // read back through whole pixels, must come to rest.
  float top = 120;
  const float target = 3000;
  int steps = 0;
  for (; steps < 10000; ++steps) {
    const float next = pixelsToTwips(twipsToPixels(top + (target - top) / 50, 15), 15);
    if (next == top) break;
    top = next;
  }
  EXPECT_LT(steps, 10000);
  EXPECT_LT(target - top, 50 * 7.5f + 15);
}

}  // namespace
}  // namespace kelvane
