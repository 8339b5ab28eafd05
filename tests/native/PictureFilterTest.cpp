// The area filter that makes a picture for a display scale between the stored ones.
#include "controls/PictureFilter.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kelvane {
namespace {

constexpr std::uint32_t Opaque = 0xFF000000;

PicturePixels filled(int width, int height, std::uint32_t colour) {
  return {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, colour)};
}

TEST(PictureFilter, AUniformColourStaysExactlyThatColourAtEverySize) {
  const PicturePixels source = filled(150, 155, Opaque | 0x1F60A9);
  for (const auto& [width, height] : {std::pair{120, 124}, std::pair{113, 97}, std::pair{149, 1}, std::pair{300, 310}}) {
    const PicturePixels made = resizePicture(source, width, height);
    ASSERT_EQ(made.values.size(), static_cast<std::size_t>(width) * height);
    for (const std::uint32_t pixel : made.values) ASSERT_EQ(pixel, Opaque | 0x1F60A9) << width << "x" << height;
  }
}

TEST(PictureFilter, HalvingAveragesEachTwoByTwoBlockAndASharpEdgeDoesNotBleed) {
  // Columns 0-1 black, 2-3 white, 4-5 grey 100; two rows alike.
  PicturePixels source = filled(6, 2, Opaque);
  for (int y = 0; y < 2; ++y) {
    source.values[y * 6 + 2] = source.values[y * 6 + 3] = Opaque | 0xFFFFFF;
    source.values[y * 6 + 4] = source.values[y * 6 + 5] = Opaque | 0x646464;
  }
  source.values[5] = Opaque | 0x646400;  // one pixel of a 2 x 2 block differs in blue
  const PicturePixels half = resizePicture(source, 3, 1);
  ASSERT_EQ(half.values.size(), 3u);
  EXPECT_EQ(half.values[0], Opaque);
  EXPECT_EQ(half.values[1], Opaque | 0xFFFFFF);
  EXPECT_EQ(half.values[2], Opaque | 0x64644B);  // blue (100 + 100 + 100 + 0) / 4
}

TEST(PictureFilter, AnUnevenReductionWeighsEachSourcePixelByItsShare) {
  // Three pixels into two: the middle one lends half of itself to each.
  PicturePixels source = filled(3, 1, Opaque);
  source.values[1] = Opaque | 0x0000F0;
  source.values[2] = Opaque | 0x00F0F0;
  const PicturePixels made = resizePicture(source, 2, 1);
  EXPECT_EQ(made.values[0], Opaque | 0x000050);  // blue (0 + 240 / 2) / 1.5
  EXPECT_EQ(made.values[1], Opaque | 0x00A0F0);  // green (0 / 2 + 240) / 1.5, blue 240
}

TEST(PictureFilter, ATransparentNeighbourLendsNoColourOnlyTransparency) {
  PicturePixels source = filled(2, 2, 0x00000000);
  source.values[0] = source.values[2] = 0xFFFF0000;  // the left column opaque red
  const PicturePixels made = resizePicture(source, 1, 1);
  EXPECT_EQ(made.values[0], 0x80FF0000u);  // half covered, still pure red
}

TEST(PictureFilter, ASizeThatIsNotPositiveOrPixelsThatDoNotMatchGiveNothing) {
  EXPECT_TRUE(resizePicture(filled(4, 4, Opaque), 0, 3).values.empty());
  EXPECT_TRUE(resizePicture(filled(4, 4, Opaque), 3, -1).values.empty());
  PicturePixels tooFew = filled(4, 4, Opaque);
  tooFew.values.pop_back();
  EXPECT_TRUE(resizePicture(tooFew, 2, 2).values.empty());
}

}  // namespace
}  // namespace kelvane
