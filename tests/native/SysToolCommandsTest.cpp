// The system-utility page's launches, failure message and warning label.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/fakes/FakeLauncher.h"
#include "tests/fakes/FakePlacement.h"
#include "tools/SysToolCommands.h"

namespace kelvane {
namespace {

struct Shown {
  std::wstring text;
  std::wstring title;
  unsigned flags;
};

class RecordingMessageBoxes : public MessageBoxes {
 public:
  std::vector<Shown> shown;
  int show(WindowHandle, std::wstring_view text, std::wstring_view title, unsigned flags) override {
    shown.push_back({std::wstring(text), std::wstring(title), flags});
    return IdOk;
  }
};

// A system whose system directory holds exactly the programs named.
class FakeLookup : public ProgramLookup {
 public:
  std::set<std::wstring, std::less<>> present;
  std::optional<std::wstring> find(std::wstring_view file) const override {
    if (!present.contains(file)) return std::nullopt;
    return L"C:\\Windows\\system32\\" + std::wstring(file);
  }
};

class SysToolLaunch : public ::testing::Test {
 protected:
  SysToolLaunch() {
    commands.setOwner(Owner);
    lookup.present = {L"dfrg.msc", L"ntbackup.exe", L"drwtsn32.exe"};  // an older system
  }
  ShellRequest request(const std::wstring& file, const std::wstring& parameters = L"") const {
    return ShellRequest{Owner, L"", file, parameters, L"c:\\", ShowNormal};
  }
  const WindowHandle Owner = reinterpret_cast<WindowHandle>(0x1234);
  testing::FakeLauncher launcher;
  RecordingMessageBoxes boxes;
  FakeLookup lookup;
  SysToolCommands commands{launcher, boxes, lookup};
};

TEST_F(SysToolLaunch, EveryButtonStartsItsUtilityInCWithParametersOnlyWhereItHasThem) {
  const std::vector<std::pair<std::wstring, std::wstring>> expected = {
      {L"dcomcnfg.exe ", L""}, {L"sfc", L"/scannow"},  {L"eventvwr.msc", L"/s"}, {L"chkdsk", L""},
      {L"cleanmgr.exe", L""},  {L"dfrg.msc", L""},     {L"ntbackup.exe", L""},  {L"drwtsn32.exe", L""},
      {L"dxdiag", L""},        {L"msconfig", L""}};
  for (int16_t index = 0; index < 10; ++index) commands.Btn_TopMenu_Click(index);
  ASSERT_EQ(launcher.shellRequests.size(), 10u);
  for (size_t i = 0; i < 10; ++i) {
    // An empty parameter text reaches the shell as no parameters (null).
    EXPECT_EQ(launcher.shellRequests[i],
              (ShellRequest{Owner, L"", expected[i].first, expected[i].second, L"c:\\", ShowNormal}))
        << "button " << i;
  }
  EXPECT_TRUE(boxes.shown.empty());
}

// Buttons 5, 6 and 7 start utilities that Windows Vista and 7 dropped.
TEST_F(SysToolLaunch, AMissingUtilityStartsItsSuccessorWhereTheSystemHasIt) {
  struct Case {
    std::set<std::wstring, std::less<>> present;
    std::vector<ShellRequest> started;
  };
  const std::vector<Case> cases = {
      // The original is there: it starts exactly as it always has, by its bare name.
      {{L"dfrg.msc", L"dfrgui.exe", L"ntbackup.exe", L"sdclt.exe", L"drwtsn32.exe", L"perfmon.exe"},
       {request(L"dfrg.msc"), request(L"ntbackup.exe"), request(L"drwtsn32.exe")}},
      // Only the successor: by the path it was found at, the reliability monitor with /rel.
      {{L"dfrgui.exe", L"sdclt.exe", L"perfmon.exe"},
       {request(L"C:\\Windows\\system32\\dfrgui.exe"), request(L"C:\\Windows\\system32\\sdclt.exe"),
        request(L"C:\\Windows\\system32\\perfmon.exe", L"/rel")}},
      // Neither: the original is tried, as before, and its failure reported.
      {{}, {request(L"dfrg.msc"), request(L"ntbackup.exe"), request(L"drwtsn32.exe")}},
  };
  for (const Case& each : cases) {
    lookup.present = each.present;
    launcher.shellRequests.clear();
    launcher.accept = !each.present.empty();
    boxes.shown.clear();
    for (int16_t index = 5; index <= 7; ++index) commands.Btn_TopMenu_Click(index);
    EXPECT_EQ(launcher.shellRequests, each.started);
    EXPECT_EQ(boxes.shown.size(), each.present.empty() ? 3u : 0u);
  }
  // A successor that will not start is reported like any utility.
  lookup.present = {L"sdclt.exe"};
  launcher.accept = false;
  boxes.shown.clear();
  commands.Btn_TopMenu_Click(6);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, L"程序未成功启动，请重试。");
}

TEST_F(SysToolLaunch, AnIndexOutsideTheTableDoesNothing) {
  commands.Btn_TopMenu_Click(-1);
  commands.Btn_TopMenu_Click(10);
  EXPECT_TRUE(launcher.shellRequests.empty());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SysToolLaunch, MyShellUsesBothLaunchFormsAlwaysInC) {
  commands.MyShell(L"notepad.exe", L"");
  commands.MyShell(L"notepad.exe", L"a b.txt");
  ASSERT_EQ(launcher.shellRequests.size(), 2u);
  EXPECT_EQ(launcher.shellRequests[0].parameters, L"");
  EXPECT_EQ(launcher.shellRequests[1].parameters, L"a b.txt");
  for (const ShellRequest& request : launcher.shellRequests) {
    EXPECT_EQ(request.verb, L"");
    EXPECT_EQ(request.directory, L"c:\\");
    EXPECT_EQ(request.show, ShowNormal);
  }
}

TEST_F(SysToolLaunch, AFailedStartIsReportedOnceWithTheStopIcon) {
  launcher.accept = false;
  commands.Btn_TopMenu_Click(6);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, L"程序未成功启动，请重试。");
  EXPECT_EQ(boxes.shown[0].title, L"维护工具");
  EXPECT_EQ(boxes.shown[0].flags, MbOk | MbIconError);
  // The user can simply try again.
  launcher.accept = true;
  commands.Btn_TopMenu_Click(6);
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(launcher.shellRequests.size(), 2u);
}

TEST(SysToolLayout, TheWarningSpansThePageJustAboveItsBottomAndIsWrittenAgainEachTime) {
  testing::CallLog log;
  testing::FakePlacement LbWar("LbWar", log);
  LbWar.values = {{"Left", 360}, {"Top", 5400}, {"Width", 7575}, {"Height", 255}};
  std::vector<std::wstring> captions;
  const auto setCaption = [&](std::wstring_view text) { captions.emplace_back(text); };
  layOutWarning(8535, 6515, LbWar, setCaption);
  EXPECT_EQ(LbWar.top(), 6160.0f);
  EXPECT_EQ(LbWar.width(), 8535.0f);
  EXPECT_EQ(LbWar.left(), 360.0f);
  layOutWarning(6000, 4000, LbWar, setCaption);
  EXPECT_EQ(LbWar.top(), 3645.0f);
  EXPECT_EQ(captions, (std::vector<std::wstring>(2, L"注意：部分程序只能在windows NT/2000/XP下使用")));
  // A failed access skips its step; the width is still set.
  LbWar.refused = {"Height"};
  layOutWarning(5000, 3000, LbWar, setCaption);
  EXPECT_EQ(LbWar.values["Top"], 3645.0f);
  EXPECT_EQ(LbWar.width(), 5000.0f);
}

}  // namespace
}  // namespace kelvane
