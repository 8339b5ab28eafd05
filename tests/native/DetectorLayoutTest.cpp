// The detector page's layout against fake controls.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "detector/DetectorLayout.h"
#include "tests/fakes/FakePlacement.h"

namespace kelvane {
namespace {

using testing::CallLog;
using testing::FakePlacement;

class DetectorLayoutTest : public ::testing::Test {
 protected:
  DetectorLayoutTest() {
    // Design sizes that the layout reads and keeps.
    cmdBegin.values["Width"] = 1455;
    cmdStop.values["Width"] = 1455;
  }
  void layout(float width, float height) {
    layoutVirusDetect(width, height,
                      DetectorLayoutControls{TxtReadMe, OptNormal, LbNormal, OptDeep, LbDeep, cmdBegin, cmdStop, lbMsg});
  }
  static std::pair<float, float> at(const FakePlacement& control) {
    return {*control.left(), *control.top()};
  }

  CallLog log;
  FakePlacement TxtReadMe{"TxtReadMe", log}, OptNormal{"OptNormal", log}, LbNormal{"LbNormal", log},
      OptDeep{"OptDeep", log}, LbDeep{"LbDeep", log}, cmdBegin{"cmdBegin", log}, cmdStop{"cmdStop", log},
      lbMsg{"lbMsg", log};
};

using Point = std::pair<float, float>;

TEST_F(DetectorLayoutTest, APageOf9000By6000TwipsPlacesEveryControlAsDesigned) {
  layout(9000, 6000);
  EXPECT_EQ(*TxtReadMe.width(), 8000);
  EXPECT_EQ(*TxtReadMe.height(), 2500);
  EXPECT_EQ(at(TxtReadMe), Point(500, 450));
  EXPECT_EQ(at(OptNormal), Point(1500, 3150));
  EXPECT_EQ(at(LbNormal), Point(2000, 3450));
  EXPECT_EQ(at(OptDeep), Point(1500, 3950));
  EXPECT_EQ(at(LbDeep), Point(2000, 4250));
  EXPECT_EQ(at(cmdBegin), Point(2272.5f, 5000));
  EXPECT_EQ(at(cmdStop), Point(5272.5f, 5000));
  EXPECT_EQ(*lbMsg.width(), 9000);
  EXPECT_EQ(*lbMsg.top(), 5700);
  // Sizes the layout does not touch keep their design values.
  EXPECT_EQ(*cmdBegin.width(), 1455);
  EXPECT_EQ(log.size(), 18u);
  EXPECT_EQ(log.front(), "TxtReadMe.Width=8000");
  EXPECT_EQ(log.back(), "lbMsg.Top=5700");
}

TEST_F(DetectorLayoutTest, RowsReadWhatEarlierRowsWroteAsTheControlHoldsIt) {
  for (FakePlacement* control : {&TxtReadMe, &OptNormal, &LbNormal, &OptDeep, &LbDeep, &cmdBegin, &cmdStop, &lbMsg}) {
    control->twipsPerPixel = 15;
  }
  layout(8535, 6515);  // the page area of the main window
  EXPECT_EQ(*TxtReadMe.width(), 7530);  // 7535 held as 502 pixels
  EXPECT_EQ(*TxtReadMe.left(), 510);    // (8535 - 7530) / 2 = 502.5, 33.5 pixels
  EXPECT_EQ(*OptNormal.left(), 1515);
  EXPECT_EQ(*LbNormal.left(), 2010);
}

TEST_F(DetectorLayoutTest, AWriteThatFailsIsSkippedAndTheRestStillRuns) {
  // A page narrower than 1000 or lower than 3500 twips: the sizes are refused.
  TxtReadMe.refused = {"Width", "Height"};
  TxtReadMe.values = {{"Left", 1200}, {"Top", 240}, {"Width", 5175}, {"Height", 1095}};
  layout(900, 3000);
  EXPECT_EQ(TxtReadMe.values["Width"], 5175);
  EXPECT_EQ(at(TxtReadMe), Point(1200, 240));  // unreadable width and height: left and top stay
  EXPECT_EQ(*OptNormal.left(), 2200);
  EXPECT_EQ(*cmdBegin.top(), 2000);
  EXPECT_EQ(*lbMsg.top(), 2700);
}

}  // namespace
}  // namespace kelvane
