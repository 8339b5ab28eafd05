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

const std::wstring System = L"C:\\Windows\\system32\\";

ProcessRequest program(const std::wstring& name, const std::wstring& parameters = L"") {
  return {System + name, L"\"" + System + name + L"\"" + (parameters.empty() ? L"" : L" " + parameters), L"c:\\"};
}
ProcessRequest console(const std::wstring& name, const std::wstring& parameters = L"") {
  return program(L"mmc.exe", L"\"" + System + name + L"\"" + (parameters.empty() ? L"" : L" " + parameters));
}

class SysToolLaunch : public ::testing::Test {
 protected:
  SysToolLaunch() {
    commands.setOwner(Owner);
    lookup.present = {L"dfrg.msc", L"ntbackup.exe", L"drwtsn32.exe", L"mmc.exe"};  // an older system
  }
  const WindowHandle Owner = reinterpret_cast<WindowHandle>(0x1234);
  testing::FakeLauncher launcher;
  RecordingMessageBoxes boxes;
  FakeLookup lookup;
  SysToolCommands commands{launcher, boxes, lookup};
};

TEST_F(SysToolLaunch, EveryButtonStartsItsUtilityByFullPathInCAndConsolesInMmc) {
  lookup.present = {L"dcomcnfg.exe", L"sfc.exe", L"eventvwr.msc", L"chkdsk.exe", L"cleanmgr.exe", L"dfrg.msc",
                    L"ntbackup.exe", L"drwtsn32.exe", L"dxdiag.exe", L"msconfig.exe", L"mmc.exe"};
  for (int16_t index = 0; index < 10; ++index) commands.Btn_TopMenu_Click(index);
  // The stored name's blank is dropped and a bare name is the .exe of that name.
  EXPECT_EQ(launcher.processRequests,
            (std::vector<ProcessRequest>{program(L"dcomcnfg.exe"), program(L"sfc.exe", L"/scannow"),
                                         console(L"eventvwr.msc", L"/s"), program(L"chkdsk.exe"),
                                         program(L"cleanmgr.exe"), console(L"dfrg.msc"), program(L"ntbackup.exe"),
                                         program(L"drwtsn32.exe"), program(L"dxdiag.exe"), program(L"msconfig.exe")}));
  EXPECT_TRUE(launcher.shellRequests.empty());
  EXPECT_TRUE(boxes.shown.empty());
  // Without mmc a console cannot start: it is reported, never handed to the shell.
  lookup.present.erase(L"mmc.exe");
  commands.Btn_TopMenu_Click(2);
  EXPECT_EQ(launcher.processRequests.size(), 10u);
  EXPECT_EQ(boxes.shown.size(), 1u);
}

// Buttons 5, 6 and 7 start utilities that Windows Vista and 7 dropped.
TEST_F(SysToolLaunch, AMissingUtilityStartsItsSuccessorWhereTheSystemHasIt) {
  struct Case {
    std::set<std::wstring, std::less<>> present;
    std::vector<ProcessRequest> started;
  };
  const std::vector<Case> cases = {
      // The original is there: it starts as it always has.
      {{L"dfrg.msc", L"dfrgui.exe", L"ntbackup.exe", L"sdclt.exe", L"drwtsn32.exe", L"perfmon.exe", L"mmc.exe"},
       {console(L"dfrg.msc"), program(L"ntbackup.exe"), program(L"drwtsn32.exe")}},
      // Only the successor: the reliability monitor with /rel.
      {{L"dfrgui.exe", L"sdclt.exe", L"perfmon.exe"},
       {program(L"dfrgui.exe"), program(L"sdclt.exe"), program(L"perfmon.exe", L"/rel")}},
      // Neither: nothing starts and each failure is reported.
      {{}, {}},
  };
  for (const Case& each : cases) {
    lookup.present = each.present;
    launcher.processRequests.clear();
    boxes.shown.clear();
    for (int16_t index = 5; index <= 7; ++index) commands.Btn_TopMenu_Click(index);
    EXPECT_EQ(launcher.processRequests, each.started);
    EXPECT_EQ(boxes.shown.size(), each.present.empty() ? 3u : 0u);
  }
  EXPECT_TRUE(launcher.shellRequests.empty());
}

TEST_F(SysToolLaunch, AnIndexOutsideTheTableDoesNothing) {
  commands.Btn_TopMenu_Click(-1);
  commands.Btn_TopMenu_Click(10);
  EXPECT_TRUE(launcher.processRequests.empty());
  EXPECT_TRUE(boxes.shown.empty());
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
  EXPECT_EQ(launcher.processRequests.size(), 2u);
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
