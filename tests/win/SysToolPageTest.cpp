// The system-utility page on real windows: its ten buttons, their launches and the
// warning label.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "common/Files.h"
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

// A system without any program, so every button asks for its original.
class NothingInstalled : public ProgramLookup {
 public:
  std::optional<std::wstring> find(std::wstring_view) const override { return std::nullopt; }
};

class SysToolPage : public ::testing::Test {
 protected:
  SysToolPage() { open(launcher, &nothingInstalled); }
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
  NothingInstalled nothingInstalled;
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
      {L"察看组件服务", 16, L"dcomcnfg.exe ", L""}, {L" 检 查 系 统 文 件", 88, L"sfc", L"/scannow"},
      {L" 察 看 系 统 日 志", 160, L"eventvwr.msc", L"/s"}, {L" 磁 盘 检 查", 232, L"chkdsk", L""},
      {L" 磁 盘 清 理", 304, L"cleanmgr.exe", L""}, {L"磁盘碎片整理", 16, L"dfrg.msc", L""},
      {L"备份和故障修复工具", 88, L"ntbackup.exe", L""}, {L"华生医生", 160, L"drwtsn32.exe", L""},
      {L"Direct-X诊断工具", 232, L"dxdiag", L""}, {L"系统配置实用程序", 304, L"msconfig", L""},
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
    ASSERT_EQ(launcher.shellRequests.size(), i + 1);
    EXPECT_EQ(launcher.shellRequests.back(),
              (ShellRequest{page->hwnd(), L"", expected[i].file, expected[i].parameters, L"c:\\", ShowNormal}));
  }
  EXPECT_TRUE(boxes.texts.empty());
}

// Stand-in successors on PATH (this Wine has none of the six programs): the
// real lookup finds them and the real shell starts them; a utility with no
// successor on the system still says that it did not start.
TEST_F(SysToolPage, OnASystemWithoutTheOldUtilitiesTheirSuccessorsStart) {
  const testing::ScratchDirectory bin(L"successors");
  for (const wchar_t* name : {L"dfrgui.exe", L"perfmon.exe"}) {
    ASSERT_TRUE(CopyFileW((testing::binaryDirectory() + L"\\marker.exe").c_str(), (bin.path() + L"\\" + name).c_str(),
                          FALSE));
  }
  std::wstring path(32767, L'\0');
  path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
  SetEnvironmentVariableW(L"PATH", (path + L";" + bin.path()).c_str());
  SystemLauncher shell;
  open(shell, nullptr);
  SendMessageW(FindWindowExW(page->hwnd(), nullptr, L"Button", L"磁盘碎片整理"), BM_CLICK, 0, 0);
  SendMessageW(FindWindowExW(page->hwnd(), nullptr, L"Button", L"华生医生"), BM_CLICK, 0, 0);
  SendMessageW(FindWindowExW(page->hwnd(), nullptr, L"Button", L"备份和故障修复工具"), BM_CLICK, 0, 0);
  SetEnvironmentVariableW(L"PATH", path.c_str());
  EXPECT_TRUE(testing::waitUntil([&] { return testing::fileExists(bin.path() + L"\\dfrgui.ran"); }));
  ASSERT_TRUE(testing::waitUntil([&] { return testing::fileExists(bin.path() + L"\\perfmon.ran"); }));
  const std::string commandLine = readFileBytes(bin.path() + L"\\perfmon.ran").value_or("");
  const std::wstring wide(reinterpret_cast<const wchar_t*>(commandLine.data()), commandLine.size() / 2);
  EXPECT_NE(wide.find(L"/rel"), std::wstring::npos);
  EXPECT_EQ(boxes.texts, std::vector<std::wstring>{L"程序未成功启动，请重试。"});
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
