#include "shell/SkinLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "tests/fakes/FakePlacement.h"

namespace kelvane {
namespace {

using ::testing::ElementsAre;
using testing::CallLog;
using testing::FakePlacement;

// A skin control that refuses a negative size, as a real window does.
class SkinControl : public FakePlacement {
 public:
  using FakePlacement::FakePlacement;
  bool setWidth(float v) override { return v >= 0 && FakePlacement::setWidth(v); }
  bool setHeight(float v) override { return v >= 0 && FakePlacement::setHeight(v); }
};

std::string rect(const SkinRect& r) {
  std::ostringstream out;
  out << r.left << "," << r.top << "," << r.width << "," << r.height;
  return out.str();
}

class RecordingSurface : public SkinSurface {
 public:
  explicit RecordingSurface(CallLog& log) : log_(log) {}
  bool fill(const SkinRect& r, std::uint32_t colour) override {
    std::ostringstream out;
    out << "fill " << rect(r) << " " << std::hex << colour;
    log_.push_back(out.str());
    return true;
  }
  bool paintPicture(const SkinRect& to, const SkinRect& from) override {
    log_.push_back("picture " + rect(to) + " <- " + rect(from));
    return true;
  }
  bool paintIcon(const SkinRect& to, const SkinRect& from) override {
    log_.push_back("icon " + rect(to) + " <- " + rect(from));
    return true;
  }
  bool print(float x, float y, std::uint32_t colour, std::wstring_view text) override {
    std::ostringstream out;
    out << "print " << x << "," << y << " " << std::hex << colour << (text == L"标题" ? " caption" : " ?");
    log_.push_back(out.str());
    return true;
  }

 private:
  CallLog& log_;
};

class LayoutPass : public ::testing::Test {
 protected:
  LayoutPass() {
    // Design sizes of the controls the pass reads.
    IMBar.values["Height"] = 255;
    Pbottom.values = {{"Left", 8400}, {"Top", 2880}, {"Width", 1785}, {"Height", 195}};
    Pright.values = {{"Left", 10440}, {"Top", 600}, {"Width", 135}, {"Height", 2415}};
    Pjiao.values = {{"Left", 10560}, {"Top", 2400}, {"Width", 255}, {"Height", 255}};
    for (SkinControl* image : {&Immin, &Immax, &Imclose}) image->values = {{"Left", 0}, {"Top", 240}, {"Width", 255}, {"Height", 240}};
  }
  void run(std::optional<float> W, std::optional<float> H) {
    runLayoutPass({W, H, L"标题"}, controls, surface, [this] { log.push_back("RMe"); });
  }
  std::vector<std::string> entriesStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& entry : log) {
      if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
    }
    return found;
  }

  CallLog log;
  SkinControl IMBar{"IMBar", log}, Immin{"Immin", log}, Immax{"Immax", log}, Imclose{"Imclose", log};
  SkinControl Pbottom{"Pbottom", log}, Pright{"Pright", log}, Pjiao{"Pjiao", log};
  SkinControls controls{IMBar, Immin, Immax, Imclose, Pbottom, Pright, Pjiao};
  RecordingSurface surface{log};
};

TEST_F(LayoutPass, AtTheStartUpSizeAnchorsTheControlsPaintsTheSkinIconCaptionAndCutsTheOutlineLast) {
  run(9000, 9115);
  EXPECT_THAT(log, ElementsAre(
      "IMBar.Left=0", "IMBar.Top=0", "IMBar.Width=7900",
      "Immax.Top=120", "Immax.Left=8220", "Immin.Top=120", "Immin.Left=7905",
      "Imclose.Top=120", "Imclose.Left=8535",
      "Pbottom.Top=8920", "Pbottom.Width=8760", "Pright.Left=8865", "Pright.Height=8875",
      "Pjiao.Left=8745", "Pjiao.Top=8860",
      "fill 0,0,9000,9115 fdffce",
      "picture 420,0,9000,600 <- 420,0,120,600",
      "picture 420,8515,9000,600 <- 420,1725,120,600",
      "picture 0,0,200,9115 <- 0,880,200,40",
      "picture 8800,0,200,9115 <- 2050,880,200,40",
      "picture 0,0,450,600 <- 0,0,450,600",
      "picture 0,8515,450,600 <- 0,1725,450,600",
      "picture 7335,0,1665,435 <- 585,0,1665,435",
      "picture 7335,8590,1665,525 <- 585,1800,1665,525",
      "icon 240,100,240,240 <- 0,0,240,240",
      "print 530,110 c1a997 caption",
      "print 540,120 a9601f caption",
      "RMe"));
  // The three images keep the same distances from the right edge: 315 apart.
  EXPECT_EQ(Immax.values["Left"] - Immin.values["Left"], 315);
  EXPECT_EQ(Imclose.values["Left"] - Immax.values["Left"], 315);
  EXPECT_EQ(IMBar.values["Height"], 255);  // untouched
  EXPECT_EQ(Pbottom.values["Left"], 8400);
}

TEST_F(LayoutPass, RunningAgainGivesTheSameResultAsOnePass) {
  run(9000, 8910);
  run(9000, 9115);
  const CallLog twice = log;
  log.clear();
  run(9000, 9115);
  EXPECT_EQ(std::vector<std::string>(twice.end() - static_cast<long>(log.size()), twice.end()), log);
  EXPECT_EQ(Pjiao.values["Top"], 8860);
  EXPECT_EQ(Pbottom.values["Top"], 8920);
}

TEST_F(LayoutPass, AWindowTooSmallForTheSkinSkipsOnlyTheNegativeSizesAndStillPaintsAndPrints) {
  run(200, 150);  // W - 1100, W - 240 and H - 240 are all negative
  EXPECT_THAT(entriesStartingWith("IMBar."), ElementsAre("IMBar.Left=0", "IMBar.Top=0"));
  EXPECT_THAT(entriesStartingWith("Pbottom."), ElementsAre("Pbottom.Top=-45"));
  EXPECT_THAT(entriesStartingWith("Pright."), ElementsAre("Pright.Left=65"));
  EXPECT_EQ(IMBar.values["Width"], 0);  // kept
  EXPECT_THAT(entriesStartingWith("Imclose."), ElementsAre("Imclose.Top=120", "Imclose.Left=-265"));
  EXPECT_EQ(entriesStartingWith("picture ").size(), 8u);
  // The right-hand corners still follow the right edge, far left of the window.
  EXPECT_EQ(entriesStartingWith("picture -1465,0,1665,435").size(), 1u);
  EXPECT_THAT(entriesStartingWith("print"), ElementsAre("print 530,110 c1a997 caption", "print 540,120 a9601f caption"));
  EXPECT_EQ(log.back(), "RMe");
}

TEST_F(LayoutPass, AFailingReadOrWriteSkipsOnlyItsOwnStep) {
  Pbottom.refused = {"Height"};
  Pjiao.refused = {"Width"};
  IMBar.refused = {"Left"};
  run(9000, 9115);
  EXPECT_THAT(entriesStartingWith("Pbottom."), ElementsAre("Pbottom.Width=8760"));
  EXPECT_THAT(entriesStartingWith("Pjiao."), ElementsAre("Pjiao.Top=8860"));
  EXPECT_THAT(entriesStartingWith("IMBar."), ElementsAre("IMBar.Top=0", "IMBar.Width=7900"));
  EXPECT_EQ(log.back(), "RMe");
}

TEST_F(LayoutPass, WithoutAWindowSizeTheControlsThatNeedNoSizeAreStillPlacedAndTheCaptionPrinted) {
  run(std::nullopt, std::nullopt);
  EXPECT_EQ(entriesStartingWith("fill").size(), 0u);
  EXPECT_EQ(entriesStartingWith("picture").size(), 0u);
  EXPECT_THAT(entriesStartingWith("Immin."), ElementsAre("Immin.Top=120"));
  EXPECT_EQ(entriesStartingWith("print").size(), 2u);
  EXPECT_EQ(log.back(), "RMe");
}

TEST(SkinPaintMap, TheRightCornersAreLowerThanTheLeftOnesAndCoverTheEdgeEnds) {
  const auto map = skinPaintMap(9000, 9115);
  EXPECT_EQ(map[6].piece, SkinPiece::TopRight);
  EXPECT_EQ(map[6].destination, (SkinRect{7335, 0, 1665, 435}));
  EXPECT_EQ(map[7].destination, (SkinRect{7335, 8590, 1665, 525}));
  // The top edge runs past the right edge; the corner reaches the edge exactly.
  EXPECT_GT(map[0].destination.left + map[0].destination.width, 9000);
  EXPECT_EQ(map[6].destination.left + map[6].destination.width, 9000);
  // Every source lies inside the 2250 x 2325 twip picture.
  for (const PiecePaint& paint : map) {
    EXPECT_GE(paint.source.left, 0);
    EXPECT_GE(paint.source.top, 0);
    EXPECT_LE(paint.source.left + paint.source.width, SkinPictureWidth);
    EXPECT_LE(paint.source.top + paint.source.height, SkinPictureHeight);
  }
}

TEST(SkinPictureSlices, AreCutInThePicturesOwnPixelsSoEdgesAndCornersJoinAtEveryScale) {
  for (const int dpi : {96, 120, 144, 168, 192}) {
    const int pictureWidth = scaledPixels(150, dpi);
    const int pictureHeight = scaledPixels(155, dpi);
    const auto map = skinPaintMap(9000, 9115);
    auto slice = [&](SkinPiece piece) {
      for (const PiecePaint& paint : map) {
        if (paint.piece == piece) return skinPictureSlice(paint.source, dpi);
      }
      return PictureRect{};
    };
    // Right-hand and bottom pieces end at the picture's own edge, never short of
    // it or past it (the screen's twips per pixel has no say in the picture).
    for (SkinPiece piece : {SkinPiece::RightEdge, SkinPiece::TopRight, SkinPiece::BottomRight}) {
      EXPECT_EQ(slice(piece).left + slice(piece).width, pictureWidth) << dpi;
    }
    for (SkinPiece piece : {SkinPiece::BottomEdge, SkinPiece::BottomLeft, SkinPiece::BottomRight}) {
      EXPECT_EQ(slice(piece).top + slice(piece).height, pictureHeight) << dpi;
    }
    // The corners start where the picture starts; the top-left corner is 30 x 40 at 100 %.
    EXPECT_EQ(slice(SkinPiece::TopLeft), (PictureRect{0, 0, scaledPixels(30, dpi), scaledPixels(40, dpi)})) << dpi;
    // In the window (its design size at this scale, in whole pixels) a corner is
    // its slice, unstretched, and ends exactly at the window's right or bottom edge.
    const float tpp = 1440.0f / static_cast<float>(dpi);
    const int windowWidth = scaledPixels(600, dpi), windowHeight = scaledPixels(608, dpi);
    const float W = static_cast<float>(windowWidth) * tpp, H = static_cast<float>(windowHeight) * tpp;
    for (const PiecePaint& paint : skinPaintMap(W, H)) {
      const PiecePixels pixels = piecePixels(paint.destination, paint.source, tpp, dpi);
      const bool corner = paint.piece >= SkinPiece::TopLeft;
      if (corner) {
        EXPECT_EQ(pixels.to.width, pixels.from.width) << dpi << " piece " << static_cast<int>(paint.piece);
        EXPECT_EQ(pixels.to.height, pixels.from.height) << dpi << " piece " << static_cast<int>(paint.piece);
      }
      if (paint.piece == SkinPiece::TopRight || paint.piece == SkinPiece::BottomRight) {
        EXPECT_EQ(pixels.to.left + pixels.to.width, windowWidth) << dpi;
      }
      if (paint.piece == SkinPiece::BottomLeft || paint.piece == SkinPiece::BottomRight) {
        EXPECT_EQ(pixels.to.top + pixels.to.height, windowHeight) << dpi;
      }
    }
  }
  // At 100 % the slices are the design's: 150 x 155 pixels of 15 twips.
  EXPECT_EQ(skinPictureSlice({2050, 880, 200, 40}, 96), (PictureRect{137, 59, 13, 3}));
  EXPECT_EQ(skinPictureSlice({585, 1800, 1665, 525}, 120), (PictureRect{49, 150, 139, 44}));
}

TEST(SkinPiecePlaces, HoldWholePixelsRefuseNegativeSizesAndTakeTheMovesOverThem) {
  float twipsPerPixel = 15;
  SkinPiecePlace piece(8400, 2880, 1785, 195, twipsPerPixel);
  EXPECT_TRUE(piece.setTop(8920));
  EXPECT_TRUE(piece.setWidth(8760.4f));
  EXPECT_FALSE(piece.setWidth(-15));
  EXPECT_EQ(piece.width(), 8760.0f);  // 584 pixels
  EXPECT_EQ(piece.left(), 8400.0f);
  EXPECT_TRUE(piece.contains(560, 595));
  EXPECT_FALSE(piece.contains(559, 595));  // left of it
  EXPECT_FALSE(piece.contains(560, 608));  // below its 13 pixels
  // At 144 DPI the same place is 1.5 times as far in pixels and the same in twips.
  twipsPerPixel = 10;
  piece.rescale([](int pixels) { return pixels * 3 / 2; });
  EXPECT_EQ(piece.left(), 8400.0f);
  EXPECT_TRUE(piece.contains(840, 893));
  EXPECT_FALSE(piece.contains(839, 893));
}

}  // namespace
}  // namespace kelvane
