// The system-utility page on real windows: its ten buttons, their launches and the
// warning label.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "common/Files.h"
#include "common/OwnFileCopies.h"
#include "common/SystemServices.h"
#include "controls/WindowClass.h"
#include "tests/fakes/FakeLauncher.h"
#include "tests/win/TestSupport.h"
#include "tools/SysTool.h"

namespace kelvane {
namespace {

using testing::windowText;

using Host = testing::HostWindow;

class Refusals : public MessageBoxes {
 public:
  std::vector<std::wstring> texts;
  int show(WindowHandle, std::wstring_view text, std::wstring_view, unsigned) override {
    texts.emplace_back(text);
    return IdOk;
  }
};

// A system with every program, so every button starts its original.
class EverythingInstalled : public ProgramLookup {
 public:
  std::optional<std::wstring> find(std::wstring_view file) const override { return L"C:\\S\\" + std::wstring(file); }
};

class SysToolPage : public ::testing::Test {
 protected:
  SysToolPage() { open(launcher, &everythingInstalled); }
  void open(Launcher& with, const ProgramLookup* lookup) {
    const PageContext context{host.hwnd(), {250, 1385, 8535, 6515}, fonts, 15, with, boxes, L"C:\\x"};
    page = std::make_unique<SysTool>(context, lookup);
    page->setVisible(true);
  }
  RECT placeOf(HWND child) const {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, page->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  Host host;
  UiFonts fonts;
  EverythingInstalled everythingInstalled;
  testing::FakeLauncher launcher;
  Refusals boxes;
  std::unique_ptr<SysTool> page;
};

TEST_F(SysToolPage, TenButtonsWithTheirCaptionsInTwoColumnsStartTheirUtilities) {
  struct Expected {
    const wchar_t* caption;
    int top;  // pixels
    const wchar_t* file;
    const wchar_t* parameters;
  };
  const Expected expected[] = {
      {L"察看组件服务", 16, L"dcomcnfg.exe", L""}, {L" 检 查 系 统 文 件", 88, L"sfc.exe", L" /scannow"},
      {L" 察 看 系 统 日 志", 160, L"eventvwr.msc", L" /s"}, {L" 磁 盘 检 查", 232, L"chkdsk.exe", L""},
      {L" 磁 盘 清 理", 304, L"cleanmgr.exe", L""}, {L"磁盘碎片整理", 16, L"dfrg.msc", L""},
      {L"备份和故障修复工具", 88, L"ntbackup.exe", L""}, {L"华生医生", 160, L"drwtsn32.exe", L""},
      {L"Direct-X诊断工具", 232, L"dxdiag.exe", L""}, {L"系统配置实用程序", 304, L"msconfig.exe", L""},
  };
  for (size_t i = 0; i < std::size(expected); ++i) {
    HWND button = FindWindowExW(page->hwnd(), nullptr, L"Button", expected[i].caption);
    ASSERT_NE(button, nullptr) << i;
    EXPECT_TRUE(IsWindowVisible(button));
    const RECT place = placeOf(button);
    EXPECT_EQ(place.left, i < 5 ? 24 : 312);
    EXPECT_EQ(place.top, expected[i].top);
    EXPECT_EQ(place.right - place.left, 209);
    EXPECT_EQ(place.bottom - place.top, 49);
    SendMessageW(button, BM_CLICK, 0, 0);
    ASSERT_EQ(launcher.processRequests.size(), i + 1);
    const ProcessRequest& started = launcher.processRequests.back();
    EXPECT_TRUE(started.commandLine.ends_with(L"C:\\S\\" + std::wstring(expected[i].file) + L"\"" + expected[i].parameters))
        << started.commandLine;
  }
  EXPECT_TRUE(boxes.texts.empty());
}

// Stand-ins on PATH, in the current folder and behind a per-user .msc association never
// start; marker copies stand in for mmc and perfmon, which Wine lacks, in the system folder.
TEST_F(SysToolPage, OnlyTheSystemFolderIsSearchedAndConsolesStartInItsMmc) {
  const testing::ScratchDirectory bin(L"successors");
  const std::wstring marker = testing::binaryDirectory() + L"\\marker.exe";
  for (const wchar_t* name : {L"ntbackup.exe", L"dfrgui.exe", L"perfmon.exe", L"mmc.exe", L"standin.exe"}) {
    ASSERT_TRUE(CopyFileW(marker.c_str(), (bin.path() + L"\\" + name).c_str(), FALSE));
  }
  const std::wstring system = nativeSystemFolder();  // where the page looks, 32-bit or not
  const std::vector<std::wstring> planted = {system + L"\\perfmon.exe", system + L"\\mmc.exe",
                                             system + L"\\eventvwr.msc"};
  for (const std::wstring& path : planted) ASSERT_TRUE(CopyFileW(marker.c_str(), path.c_str(), TRUE)) << path;
  const testing::UserClassOverride userClasses(
      {{L".msc", L"mscfile"}, {L"mscfile\\shell\\open\\command", L"\"" + bin.path() + L"\\standin.exe\" \"%1\""}});
  const testing::MarkerLog markers(bin.path());
  std::wstring path(32767, L'\0');
  path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
  SetEnvironmentVariableW(L"PATH", (bin.path() + L";" + path).c_str());
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  SetCurrentDirectoryW(bin.path().c_str());
  SystemLauncher shell;
  open(shell, nullptr);
  for (const wchar_t* caption : {L"磁盘碎片整理", L"华生医生", L"备份和故障修复工具", L" 察 看 系 统 日 志"}) {
    SendMessageW(FindWindowExW(page->hwnd(), nullptr, L"Button", caption), BM_CLICK, 0, 0);
  }
  SetCurrentDirectoryW(current);
  SetEnvironmentVariableW(L"PATH", path.c_str());
  EXPECT_TRUE(testing::waitUntil([&] { return markers.runs().size() >= 2; }));
  Sleep(300);
  std::vector<std::wstring> ran;
  for (const testing::MarkerLog::Run& run : markers.runs()) ran.push_back(run.program + L" | " + run.commandLine);
  for (const std::wstring& file : planted) DeleteFileW(file.c_str());
  std::sort(ran.begin(), ran.end());  // the two start side by side
  const std::wstring shown = systemFolder();  // how a started program names its own folder
  EXPECT_EQ(ran, (std::vector<std::wstring>{
                     shown + L"\\mmc.exe | \"" + system + L"\\mmc.exe\" \"" + system + L"\\eventvwr.msc\" /s",
                     shown + L"\\perfmon.exe | \"" + system + L"\\perfmon.exe\" /rel"}));
  // No defragmenter's window and no backup on this system: each says so.
  EXPECT_EQ(boxes.texts, std::vector<std::wstring>(2, L"程序未成功启动，请重试。"));
}

TEST_F(SysToolPage, AFailedStartSaysSoOnce) {
  launcher.accept = false;
  SendMessageW(FindWindowExW(page->hwnd(), nullptr, L"Button", L"华生医生"), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], L"程序未成功启动，请重试。");
}

TEST_F(SysToolPage, TheWarningSpansThePageAt6160AndFollowsEveryResize) {
  HWND warning = FindWindowExW(page->hwnd(), nullptr, L"Static", nullptr);
  ASSERT_NE(warning, nullptr);
  EXPECT_EQ(windowText(warning), L"注意：部分程序只能在windows NT/2000/XP下使用");
  RECT place = placeOf(warning);
  EXPECT_EQ(place.left, 24);
  // 6160 twips on a page of 6515; the page itself is held in whole pixels (434 px,
  // read back as 6510 twips), so the label lands at 6155 twips.
  EXPECT_EQ(place.top, 410);
  EXPECT_EQ(place.right - place.left, 569);
  SetWindowTextW(warning, L"x");
  page->setHeight(6000);
  place = placeOf(warning);
  EXPECT_EQ(place.top, 376);  // 6000 - 255 - 100 = 5645 twips
  EXPECT_EQ(windowText(warning), L"注意：部分程序只能在windows NT/2000/XP下使用");
}

}  // namespace
}  // namespace kelvane
