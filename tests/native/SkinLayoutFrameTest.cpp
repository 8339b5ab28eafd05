// The skinned frame's behaviour: the image buttons' state table, the order of
// the resets on a move over the window, the drag bar and the two click actions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/SkinFrame.h"

namespace kelvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RecordingView : public SkinFrameView {
 public:
  std::vector<std::string> log;

  void showPicture(SkinImageId image, SkinPicture picture) override {
    static const char* const names[] = {"none", "hover", "pressed"};
    log.push_back(std::string(image == SkinImageId::Immin ? "Immin" : "Imclose") + "=" +
                  names[static_cast<int>(picture)]);
  }
  void setImmaxTip(std::wstring_view tip) override {
    log.push_back(tip == ImmaxUnavailableTip ? "Immax.tip=unavailable" : "Immax.tip=?");
  }
  void releaseCapture() override { log.push_back("ReleaseCapture"); }
  void startWindowMove() override { log.push_back("WM_NCLBUTTONDOWN HTCAPTION"); }
  void minimise() override { log.push_back("minimise"); }
  void unload() override { log.push_back("unload"); }
};

class SkinFrameBehaviour : public ::testing::Test {
 protected:
  RecordingView view;
  SkinFrame frame{view};
};

TEST_F(SkinFrameBehaviour, AMoveLightsAnImageOnceAndFurtherMovesChangeNothing) {
  frame.Imclose_MouseMove();
  frame.Imclose_MouseMove();
  EXPECT_THAT(view.log, ElementsAre("Imclose=hover"));
  EXPECT_EQ(frame.Imclose().Tag(), L"1");
  EXPECT_EQ(frame.Imclose().picture(), SkinPicture::Hover);
  EXPECT_EQ(frame.Immin().picture(), SkinPicture::None);
}

TEST_F(SkinFrameBehaviour, PressAndReleaseShowThePressedPictureThenNormalAndTheNextMoveLightsAgain) {
  frame.Immin_MouseMove();
  frame.Immin_MouseDown();
  EXPECT_EQ(frame.Immin().picture(), SkinPicture::Pressed);
  EXPECT_EQ(frame.Immin().Tag(), L"1");  // a press keeps the tag
  frame.Immin_MouseMove();                // moving while pressed keeps the pressed picture
  EXPECT_EQ(frame.Immin().picture(), SkinPicture::Pressed);
  frame.Immin_MouseUp();
  EXPECT_EQ(frame.Immin().picture(), SkinPicture::None);
  EXPECT_EQ(frame.Immin().Tag(), L"");
  frame.Immin_MouseMove();
  EXPECT_THAT(view.log, ElementsAre("Immin=hover", "Immin=pressed", "Immin=none", "Immin=hover"));
}

TEST_F(SkinFrameBehaviour, APressWithoutAMoveFirstLeavesTheTagEmptySoTheNextMoveLightsThePressedImage) {
  frame.Imclose_MouseDown();
  EXPECT_EQ(frame.Imclose().Tag(), L"");
  frame.Imclose_MouseMove();
  EXPECT_EQ(frame.Imclose().picture(), SkinPicture::Hover);
}

TEST_F(SkinFrameBehaviour, AMoveOverTheWindowResetsImcloseFirstThenImminThenSetsTheImmaxTip) {
  frame.Immin_MouseMove();
  frame.Imclose_MouseMove();
  view.log.clear();
  frame.Form_MouseMove();
  EXPECT_THAT(view.log, ElementsAre("Imclose=none", "Immin=none", "Immax.tip=unavailable"));
  EXPECT_EQ(frame.Immin().Tag(), L"");
  EXPECT_EQ(frame.Imclose().Tag(), L"");
}

TEST_F(SkinFrameBehaviour, AMoveOverTheWindowLeavesNormalImagesAloneButSetsTheTipEveryTime) {
  EXPECT_EQ(frame.immaxTip(), ImmaxTip);
  frame.Form_MouseMove();
  frame.Form_MouseMove();
  EXPECT_THAT(view.log, ElementsAre("Immax.tip=unavailable", "Immax.tip=unavailable"));
  EXPECT_EQ(frame.immaxTip(), ImmaxUnavailableTip);
}

TEST_F(SkinFrameBehaviour, OnlyTheLeftButtonOnTheDragBarMovesTheWindow) {
  frame.IMBar_MouseDown(RightButton);
  frame.IMBar_MouseDown(MiddleButton);
  frame.IMBar_MouseDown(LeftButton | RightButton);
  EXPECT_THAT(view.log, IsEmpty());
  frame.IMBar_MouseDown(LeftButton);
  EXPECT_THAT(view.log, ElementsAre("ReleaseCapture", "WM_NCLBUTTONDOWN HTCAPTION"));
}

TEST_F(SkinFrameBehaviour, TheClicksMinimiseAndUnload) {
  frame.Immin_Click();
  frame.Imclose_Click();
  EXPECT_THAT(view.log, ElementsAre("minimise", "unload"));
}

}  // namespace
}  // namespace kelvane
