#include "wizard/WizardLogic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "tests/fakes/FakePlacement.h"
#include "tests/fakes/ScriptedMessageBoxes.h"
#include "wizard/RecordText.h"

namespace kelvane {
namespace {

using ::testing::ElementsAre;
using testing::CallLog;
using testing::FakePlacement;
using testing::ScriptedMessageBoxes;

struct Rect {
  float left, top, width, height;
};

struct Line {
  float x1, y1, x2, y2;
};

// The wizard page's controls at their design places, held in 15-twip pixels.
class FakeWizardView : public WizardView {
  CallLog& log_;  // first: the fakes below log into it

 public:
  explicit FakeWizardView(CallLog& log) : log_(log) {
    addCategory(MenuErr, "MsgErr", {720, 1200, 2055, 495});
    addCategory(MenuAddDevice, "MsgAddDevice", {0, 1680, 3495, 495});
    addCategory(MenuBoot, "MsgBoot", {1080, 120, 1335, 375});
    addCategory(MenuNetware, "MsgNetware", {1080, 480, 1335, 375});
    addCategory(MenuSystem, "MsgSystem", {1080, 840, 1335, 375});
    addFaults(MenuErr, {"MsgWin", "MsgDos"}, 3360);
    addFaults(MenuAddDevice, {"MsgRemoveDevice"}, 4800);
    addFaults(MenuBoot, {"boot(0)", "boot(1)"}, 3360);
    addFaults(MenuNetware, {"net(0)", "net(1)", "net(2)"}, 3360);
    addFaults(MenuSystem, {"Sys(0)", "Sys(1)", "Sys(2)", "Sys(3)", "Sys(4)"}, 3360);
    pageControl.values = {{"Left", 250}, {"Top", 1385}, {"Width", 8535}, {"Height", 6515}};
    for (int i = 0; i < 4; ++i) labels.push_back(std::make_unique<FakePlacement>("LblSol(" + std::to_string(i + 1) + ")", log));
  }

  Placement* categoryButton(int menu) override { return categories.count(menu) ? categories[menu].get() : nullptr; }
  std::vector<Placement*> faultButtons(int menu) override {
    std::vector<Placement*> list;
    for (auto& fault : faults[menu]) list.push_back(fault.get());
    return list;
  }
  Placement& page() override { return pageControl; }
  Placement& textBox() override { return text; }
  Placement& solutionFrame() override { return frame; }
  Placement* solutionLabel(int number) override { return labels.at(static_cast<size_t>(number - 1)).get(); }
  void setText(const std::wstring& value) override {
    shownText = value;
    log_.push_back("Text1.Text");
  }
  void setSolutionCaption(int number, const std::wstring& caption) override { captions[number] = caption; }
  void repaint() override {
    lines.clear();  // a repaint erases what was drawn
    log_.push_back("Refresh");
  }
  void drawLine(float x1, float y1, float x2, float y2) override { lines.push_back({x1, y1, x2, y2}); }
  void setMoveTimer(bool on) override { timerOn = on; }

  FakePlacement& category(int menu) { return *categories[menu]; }
  FakePlacement& fault(int menu, size_t i) { return *faults[menu][i]; }

  std::map<int, std::unique_ptr<FakePlacement>> categories;
  std::map<int, std::vector<std::unique_ptr<FakePlacement>>> faults;
  FakePlacement pageControl{"FixWidze1", log_};
  FakePlacement text{"Text1", log_};
  FakePlacement frame{"FramSol", log_};
  std::vector<std::unique_ptr<FakePlacement>> labels;
  std::wstring shownText;
  std::map<int, std::wstring> captions;
  std::vector<Line> lines;
  bool timerOn = false;

 private:
  void addCategory(int menu, const std::string& name, Rect place) {
    auto button = std::make_unique<FakePlacement>(name, log_);
    button->twipsPerPixel = 15;
    button->values = {{"Left", place.left}, {"Top", place.top}, {"Width", place.width}, {"Height", place.height}};
    categories[menu] = std::move(button);
  }
  void addFaults(int menu, std::vector<std::string> names, float left) {
    float top = 2520;
    for (const std::string& name : names) {
      auto button = std::make_unique<FakePlacement>(name, log_);
      button->twipsPerPixel = 15;
      const float width = menu == MenuAddDevice ? 3135 : 1455;
      const float height = menu == MenuAddDevice ? 495 : 375;
      button->values = {{"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}};
      faults[menu].push_back(std::move(button));
      top += 360;
    }
  }
};

class FakeStore : public SolutionStore {
 public:
  std::map<std::wstring, std::wstring> records;
  std::map<std::wstring, std::map<std::wstring, std::wstring>> ini;

  std::optional<std::wstring> recordText(const std::wstring& topic) override {
    requestedTopics.push_back(topic);
    auto found = records.find(topic);
    if (found == records.end()) return std::nullopt;
    return found->second;
  }
  std::wstring IniAccess(std::wstring_view, std::wstring_view section, std::wstring_view key,
                         const std::optional<std::wstring>&) override {
    auto found = ini.find(std::wstring(section));
    if (found == ini.end()) return {};
    auto value = found->second.find(std::wstring(key));
    return value == found->second.end() ? std::wstring() : value->second;
  }
  std::wstring recordPath(const std::wstring& topic) const override { return L"C:\\K\\data\\" + topic + L".Rd"; }
  std::wstring iniPath() const override { return L"C:\\K\\data\\sol.ini"; }
  // A record's size is its text's unless `sizes` says otherwise; the INI file
  // exists while it has a section.
  std::optional<uint64_t> fileSize(const std::wstring& path) const override {
    if (auto size = sizes.find(path); size != sizes.end()) return size->second;
    if (path == iniPath()) return ini.empty() ? std::nullopt : std::optional<uint64_t>(1);
    for (const auto& [topic, text] : records) {
      if (recordPath(topic) == path) return text.size();
    }
    return std::nullopt;
  }

  std::map<std::wstring, uint64_t> sizes;
  std::vector<std::wstring> requestedTopics;
};

class Wizard : public ::testing::Test {
 protected:
  // Ticks until the glide stops, as Timer_Move would; returns the number of ticks.
  int glide() {
    int ticks = 0;
    while (view.timerOn && ticks < 100000) {
      logic.Timer_Move_Timer();
      ++ticks;
    }
    return ticks;
  }
  float top(FakePlacement& control) { return control.values["Top"]; }

  CallLog log;
  FakeWizardView view{log};
  FakeStore store;
  ScriptedMessageBoxes messageBoxes;
  WizardLogic logic{view, store, messageBoxes};
};

TEST_F(Wizard, CategoryButtonsComeToRestShortOfTheMiddleOnWholePixels) {
  struct Case {
    void (WizardLogic::*click)();
    int menu;
    float rest;
  };
  for (const Case& c : {Case{&WizardLogic::MsgBoot_Click, MenuBoot, 2700},
                        Case{&WizardLogic::MsgNetware_Click, MenuNetware, 2700},
                        Case{&WizardLogic::MsgSystem_Click, MenuSystem, 2700},
                        Case{&WizardLogic::MsgErr_Click, MenuErr, 2640},
                        Case{&WizardLogic::MsgAddDevice_Click, MenuAddDevice, 2640}}) {
    (logic.*c.click)();
    EXPECT_EQ(logic.CurrentMenu(), std::to_wstring(c.menu));
    EXPECT_TRUE(view.timerOn);
    const int ticks = glide();
    EXPECT_GT(ticks, 10);
    EXPECT_LT(ticks, 1000);
    EXPECT_FALSE(view.timerOn);
    EXPECT_FLOAT_EQ(top(view.category(c.menu)), c.rest) << "menu " << c.menu;
  }
}

TEST_F(Wizard, TheSystemFanTakesTheOffsetTopsOnThePixelGridAndShowsInOrder) {
  logic.MsgSystem_Click();
  glide();
  std::vector<float> tops;
  for (size_t i = 0; i < 5; ++i) tops.push_back(top(view.fault(MenuSystem, i)));
  EXPECT_THAT(tops, ElementsAre(3705, 3195, 2700, 2205, 1695));
  const size_t firstShow =
      std::find(log.begin(), log.end(), "Sys(0).Visible=True") - log.begin();
  EXPECT_THAT(std::vector<std::string>(log.begin() + static_cast<long>(firstShow), log.end()),
              ElementsAre("Sys(0).Visible=True", "Sys(1).Visible=True", "Sys(2).Visible=True",
                          "Sys(3).Visible=True", "Sys(4).Visible=True"));
  ASSERT_EQ(view.lines.size(), 5u);
  // From the middle of MsgSystem's right edge to the middle of each fault's left edge.
  EXPECT_FLOAT_EQ(view.lines[0].x1, 1080 + 1335);
  EXPECT_FLOAT_EQ(view.lines[0].y1, 2700 + 187.5f);
  EXPECT_FLOAT_EQ(view.lines[0].x2, 3360);
  EXPECT_FLOAT_EQ(view.lines[0].y2, 3705 + 187.5f);
}

TEST_F(Wizard, TheAddDeviceFanIsOneHorizontalLineToTheAdvice) {
  logic.MsgAddDevice_Click();
  glide();
  EXPECT_FLOAT_EQ(top(view.fault(MenuAddDevice, 0)), 2640);
  ASSERT_EQ(view.lines.size(), 1u);
  EXPECT_FLOAT_EQ(view.lines[0].x1, 3495);
  EXPECT_FLOAT_EQ(view.lines[0].x2, 4800);
  EXPECT_FLOAT_EQ(view.lines[0].y1, view.lines[0].y2);
}

TEST_F(Wizard, ASecondCategoryMidGlideSendsTheFirstHomeAndGlidesItself) {
  logic.MsgErr_Click();
  for (int i = 0; i < 5; ++i) logic.Timer_Move_Timer();
  EXPECT_GT(top(view.category(MenuErr)), 1200);
  log.clear();
  logic.MsgBoot_Click();
  EXPECT_FLOAT_EQ(top(view.category(MenuErr)), 1200);
  EXPECT_THAT(log, ::testing::IsSupersetOf({"MsgWin.Visible=False", "MsgDos.Visible=False"}));
  EXPECT_EQ(logic.CurrentMenu(), L"3");
  glide();
  EXPECT_FLOAT_EQ(top(view.category(MenuErr)), 1200);
  EXPECT_FLOAT_EQ(top(view.category(MenuBoot)), 2700);
}

TEST_F(Wizard, ResetAllWhileGlidingPutsTheButtonHomeAndItGlidesAgain) {
  logic.MsgNetware_Click();
  for (int i = 0; i < 5; ++i) logic.Timer_Move_Timer();
  logic.ResetAll();
  EXPECT_FLOAT_EQ(top(view.category(MenuNetware)), 480);
  EXPECT_TRUE(view.timerOn);
  EXPECT_EQ(logic.CurrentMenu(), L"4");
  glide();
  EXPECT_FLOAT_EQ(top(view.category(MenuNetware)), 2700);
  EXPECT_TRUE(view.fault(MenuNetware, 2).shown);
}

TEST_F(Wizard, ResetAllClosesTheOpenCategoryErasesTheLinesAndHidesTheTopic) {
  logic.MsgBoot_Click();
  glide();
  ASSERT_EQ(view.lines.size(), 2u);
  log.clear();
  logic.ResetAll();
  EXPECT_THAT(log, ElementsAre("Refresh", "MsgBoot.Top=120", "boot(0).Visible=False", "boot(1).Visible=False",
                               "Text1.Visible=False", "FramSol.Visible=False"));
  EXPECT_TRUE(view.lines.empty());
  EXPECT_EQ(logic.CurrentMenu(), L"3");
}

TEST_F(Wizard, BeforeAnyCategoryResetAllOnlyHidesAndATickDoesNothing) {
  logic.ResetAll();
  EXPECT_THAT(log, ElementsAre("Refresh", "Text1.Visible=False", "FramSol.Visible=False"));
  log.clear();
  logic.Timer_Move_Timer();
  EXPECT_TRUE(log.empty());
}

TEST_F(Wizard, FaultButtonsOpenTheirTopicsByKey) {
  logic.MsgWin_Click();
  logic.MsgDos_Click();
  logic.boot_Click(1);
  logic.net_Click(2);
  logic.Sys_Click(4);
  EXPECT_THAT(store.requestedTopics, ElementsAre(L"msgwin", L"msgdos", L"boot1", L"net2", L"sys4"));
}

TEST_F(Wizard, ATopicShowsItsTextAndExactlyItsCountOfSolutions) {
  store.records[L"sys2"] = L"死机的原因\r\n";
  store.ini[L"sys2"] = {{L"totalcount", L"4"}, {L"caption1", L"一"}, {L"caption2", L"二"},
                        {L"caption3", L"三"}, {L"caption4", L""}};
  store.records[L"sys3"] = L"声音\r\n";
  store.ini[L"sys3"] = {{L"totalcount", L"2"}, {L"caption1", L"甲"}, {L"caption2", L"乙"}};
  logic.Sys_Click(2);
  EXPECT_EQ(view.shownText, L"死机的原因\r\n");
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(view.labels[static_cast<size_t>(i)]->shown);  // an empty caption still shows
  EXPECT_EQ(view.captions[3], L"三");
  logic.Sys_Click(3);
  EXPECT_TRUE(view.labels[0]->shown && view.labels[1]->shown);
  EXPECT_FALSE(view.labels[2]->shown || view.labels[3]->shown);
  EXPECT_EQ(view.captions[2], L"乙");
  EXPECT_TRUE(view.frame.shown && view.text.shown);
  EXPECT_EQ(log.back(), "Text1.Visible=True");
}

TEST_F(Wizard, ATopicWithoutSolutionsShowsAnEmptyFrame) {
  store.records[L"boot0"] = L"x\r\n";
  store.ini[L"boot0"] = {{L"totalcount", L"0"}};
  logic.boot_Click(0);
  EXPECT_TRUE(view.frame.shown);
  for (auto& label : view.labels) EXPECT_FALSE(label->shown);
  EXPECT_TRUE(messageBoxes.shown.empty());
}

TEST_F(Wizard, DamagedDataIsReportedByFileAndLeavesThePageAsItWas) {
  store.records[L"net0"] = L"好的文字\r\n";
  store.ini[L"net0"] = {{L"totalcount", L"1"}, {L"caption1", L"好"}};
  logic.net_Click(0);
  const std::vector<std::string> before = log;

  logic.net_Click(1);  // no record file
  ASSERT_EQ(messageBoxes.shown.size(), 1u);
  EXPECT_NE(messageBoxes.shown[0].text.find(L"C:\\K\\data\\net1.Rd"), std::wstring::npos);
  EXPECT_EQ(messageBoxes.shown[0].flags, MbOk | MbIconExclamation);

  store.records[L"net2"] = L"坏的\r\n";
  for (const wchar_t* count : {L"", L"abc", L"-1", L"5", L"2.5"}) {
    store.ini[L"net2"] = {{L"totalcount", count}};
    logic.net_Click(2);
  }
  ASSERT_EQ(messageBoxes.shown.size(), 6u);
  EXPECT_NE(messageBoxes.shown[5].text.find(L"C:\\K\\data\\sol.ini"), std::wstring::npos);
  EXPECT_NE(messageBoxes.shown[5].text.find(L"net2"), std::wstring::npos);
  EXPECT_EQ(log, before);
  EXPECT_EQ(view.shownText, L"好的文字\r\n");
}

TEST_F(Wizard, AnOversizedRecordIsRefusedUnreadAndAMissingIniIsNamed) {
  store.records[L"sys0"] = L"好的文字\r\n";
  store.ini[L"sys0"] = {{L"totalcount", L"0"}};
  logic.Sys_Click(0);
  const std::vector<std::string> before = log;
  store.requestedTopics.clear();

  store.records[L"sys1"] = L"x";
  store.sizes[L"C:\\K\\data\\sys1.Rd"] = MaxRecordBytes + 1;
  logic.Sys_Click(1);
  ASSERT_EQ(messageBoxes.shown.size(), 1u);
  EXPECT_NE(messageBoxes.shown[0].text.find(L"C:\\K\\data\\sys1.Rd\n过大"), std::wstring::npos);
  EXPECT_TRUE(store.requestedTopics.empty());  // never read

  store.sizes[L"C:\\K\\data\\sys1.Rd"] = MaxRecordBytes;  // at the limit: a record
  store.ini.clear();  // and no INI file at all
  logic.Sys_Click(1);
  ASSERT_EQ(messageBoxes.shown.size(), 2u);
  EXPECT_NE(messageBoxes.shown[1].text.find(L"无法读取文件\nC:\\K\\data\\sol.ini"), std::wstring::npos);
  EXPECT_EQ(log, before);
  EXPECT_EQ(view.shownText, L"好的文字\r\n");
}

}  // namespace
}  // namespace kelvane
