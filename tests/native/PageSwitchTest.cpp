#include "shell/PageSwitch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/fakes/FakePlacement.h"

namespace kelvane {
namespace {

using ::testing::ElementsAre;
using testing::CallLog;
using testing::FakePlacement;

class FakeWizard : public ResettablePage {
 public:
  explicit FakeWizard(CallLog& log) : log_(log) {}
  void ResetAll() override { log_.push_back("FixWidze1.ResetAll"); }

 private:
  CallLog& log_;
};

class PageSwitch : public ::testing::Test {
 protected:
  PageSwitch() {
    menu.values = {{"Left", 240}, {"Top", 480}, {"Width", 8415}, {"Height", 855}};
  }
  PageList pages() { return {&fixWidze, &repairTool, &sysTool, &virusDetect}; }

  CallLog log;
  FakePlacement fixWidze{"FixWidze1", log};
  FakePlacement repairTool{"RepairTool1", log};
  FakePlacement sysTool{"SysTool1", log};
  FakePlacement virusDetect{"VirusDetect1", log};
  FakePlacement menu{"Menu", log};
  FakeWizard wizard{log};
};

TEST_F(PageSwitch, HidesAllFourInOrderThenPlacesAndShowsTheChosenPage) {
  showPage(2, pages(), menu, wizard);
  EXPECT_THAT(log, ElementsAre("FixWidze1.Visible=False", "RepairTool1.Visible=False",
                               "SysTool1.Visible=False", "VirusDetect1.Visible=False",
                               "SysTool1.Left=250", "SysTool1.Top=1385", "SysTool1.Width=8535",
                               "SysTool1.Height=6515", "SysTool1.Visible=True"));
}

TEST_F(PageSwitch, OnlyTheWizardIsResetAndOnlyOnceItIsVisible) {
  for (int16_t index = 1; index < PageCount; ++index) showPage(index, pages(), menu, wizard);
  EXPECT_THAT(log, ::testing::Not(::testing::Contains("FixWidze1.ResetAll")));

  log.clear();
  showPage(0, pages(), menu, wizard);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "FixWidze1.Visible=True");
  EXPECT_EQ(log.back(), "FixWidze1.ResetAll");
}

TEST_F(PageSwitch, ShowingTheCurrentPageAgainPlacesItAgainAndResetsTheWizard) {
  showPage(0, pages(), menu, wizard);
  log.clear();
  showPage(0, pages(), menu, wizard);
  EXPECT_THAT(log, ::testing::Contains("FixWidze1.Left=250"));
  EXPECT_EQ(log.back(), "FixWidze1.ResetAll");
  EXPECT_TRUE(fixWidze.shown);
  EXPECT_FALSE(repairTool.shown || sysTool.shown || virusDetect.shown);
}

TEST_F(PageSwitch, ThePageTopFollowsTheBarAsItIsAtThatMoment) {
  menu.values["Top"] = 600;
  menu.values["Height"] = 900;
  showPage(3, pages(), menu, wizard);
  EXPECT_FLOAT_EQ(virusDetect.values["Top"], 1550);
}

TEST_F(PageSwitch, AFailingAccessIsSkippedAndTheNextStepRuns) {
  repairTool.refused = {"Visible"};  // cannot even be hidden
  virusDetect.refused = {"Left", "Width"};
  showPage(3, pages(), menu, wizard);
  EXPECT_THAT(log, ElementsAre("FixWidze1.Visible=False", "SysTool1.Visible=False",
                               "VirusDetect1.Visible=False", "VirusDetect1.Top=1385",
                               "VirusDetect1.Height=6515", "VirusDetect1.Visible=True"));
}

TEST_F(PageSwitch, AnUnreadableBarSkipsOnlyTheTop) {
  menu.refused = {"Height"};
  fixWidze.values["Top"] = 77;
  showPage(0, pages(), menu, wizard);
  EXPECT_FLOAT_EQ(fixWidze.values["Top"], 77);
  EXPECT_FLOAT_EQ(fixWidze.values["Width"], 8535);
  EXPECT_EQ(log.back(), "FixWidze1.ResetAll");
}

TEST_F(PageSwitch, AWizardThatCannotBeShownIsStillReset) {
  fixWidze.refused = {"Visible"};
  showPage(0, pages(), menu, wizard);
  EXPECT_EQ(log.back(), "FixWidze1.ResetAll");
}

TEST(HelpMenuPoint, LiesJustBelowTheDesignedHelpButton) {
  CallLog log;
  FakePlacement button{"Btn_TopMenu(4)", log};
  button.values = {{"Left", 6840}, {"Top", 120}, {"Width", 1335}, {"Height", 615}};
  const std::optional<TwipPoint> point = helpMenuPoint(button);
  ASSERT_TRUE(point);
  EXPECT_FLOAT_EQ(point->x, 6940);
  EXPECT_FLOAT_EQ(point->y, 1235);

  button.refused = {"Top"};
  EXPECT_FALSE(helpMenuPoint(button));
}

}  // namespace
}  // namespace kelvane
