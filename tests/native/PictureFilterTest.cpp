// The area filter that makes a picture for a display scale between the stored
// ones, and the decoder of the stored copies.
#include "controls/PictureFilter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "controls/PngDecoder.h"

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

std::vector<std::uint8_t> fromHex(std::string_view hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  return bytes;
}

// A 3 x 5 RGB picture whose rows use the five row filters in turn, written by
// Python's zlib once with fixed codes and once in stored blocks (the pictures of
// res/ have no stored block and use only the first two filters).
TEST(PngDecoder, EveryRowFilterAndBlockTypeGivesThePixelsAndNoDamagedOrCutCopyDecodes) {
  const std::vector<std::uint8_t> fixedCodes = fromHex(
      "89504e470d0a1a0a0000000d49484452000000030000000508020000000f13c1f5000000334944415478da636088dae2b6e057cf3307468d"
      "a63bc160c0a4a1a1616a6aeae4e4c41c50ab157831f04644040b44accac90900b95710078405d8fb0000000049454e44ae426082");
  const std::vector<std::uint8_t> storedBlocks = fromHex(
      "89504e470d0a1a0a0000000d49484452000000030000000508020000000f13c1f50000003d494441547801013200cdff00005ab446a0fa8c"
      "e640012882dc5353535353530228282835353542424203507d2a51d151d85858042828283535357a4242b957100773a884e80000000049"
      "454e44ae426082");
  for (const std::vector<std::uint8_t>& png : {fixedCodes, storedBlocks}) {
    const PicturePixels pixels = decodePng(png);
    ASSERT_EQ(pixels.values.size(), 15u);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 3; ++x) {
        const auto channel = [x, y](int c) { return static_cast<std::uint32_t>((x * 70 + y * 40 + c * 90 + x * y * 13) & 0xFF); };
        EXPECT_EQ(pixels.values[y * 3 + x], Opaque | channel(0) << 16 | channel(1) << 8 | channel(2)) << x << "," << y;
      }
    }
    for (std::size_t i = 0; i < png.size(); ++i) {
      std::vector<std::uint8_t> damaged = png;
      damaged[i] ^= 0x10;
      EXPECT_TRUE(decodePng(damaged).values.empty()) << "byte " << i;
      EXPECT_TRUE(decodePng(std::span(png).first(i)).values.empty()) << "cut at " << i;
    }
  }
}

}  // namespace
}  // namespace kelvane
