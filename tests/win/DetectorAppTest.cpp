// The detector page in the real program: a normal detection started with the
// program's own dialogs, kept running across page switches, and stopped.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/FrmmainText.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using testing::RunningApp;
using testing::waitUntil;

TEST(DetectorApp, ANormalRunGoesOnAcrossPageSwitchesUntilStopped) {
  RunningApp app;
  HWND main = app.mainWindow();
  ASSERT_NE(main, nullptr);
  const DWORD processId = GetProcessId(app.process());
  HWND menu = RunningApp::findDescendant(main, L"KelvanePanel", L"Menu");
  ASSERT_NE(menu, nullptr);
  auto pageButton = [&](int index) {
    return RunningApp::findDescendant(menu, L"Button", std::wstring(frmmain_text::PageButtons[index]));
  };
  PostMessageW(pageButton(3), BM_CLICK, 0, 0);
  HWND page = RunningApp::findDescendant(main, L"KelvanePanel", L"病毒探测");
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(page) != 0; }));
  HWND begin = RunningApp::findDescendant(page, L"Button", L"开始检测");
  HWND stop = RunningApp::findDescendant(page, L"Button", L"停止检测");
  HWND deep = RunningApp::findDescendant(page, L"Button", L"深度检测");
  ASSERT_TRUE(begin && stop && deep);

  PostMessageW(begin, BM_CLICK, 0, 0);
  ASSERT_TRUE(testing::answerDialog(processId, L"确定要开始普通检测吗？\r开始后请不要安装新的程序和进行系统安装等工作,\r否则将导致错误报警。", IDYES));
  ASSERT_TRUE(waitUntil([&] { return !IsWindowEnabled(begin) && !IsWindowEnabled(deep); }));

  // The page buttons work while the run waits, and the run survives them.
  PostMessageW(pageButton(0), BM_CLICK, 0, 0);
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(page); }));
  PostMessageW(pageButton(3), BM_CLICK, 0, 0);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(page) != 0; }));
  EXPECT_FALSE(IsWindowEnabled(begin));

  PostMessageW(stop, BM_CLICK, 0, 0);
  ASSERT_TRUE(testing::answerDialog(processId, L"停止普通检测", IDOK));
  EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(begin) && IsWindowEnabled(deep); }));
}

}  // namespace
}  // namespace kelvane
