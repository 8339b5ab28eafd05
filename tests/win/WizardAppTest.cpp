// The wizard in the running program: a category glides and fans out, a fault
// shows its topic's text and solutions.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/Files.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using testing::RunningApp;
using testing::waitUntil;

TEST(WizardInTheProgram, AFaultOfAGlidingCategoryShowsItsTopic) {
  RunningApp app;
  ASSERT_NE(app.mainWindow(), nullptr);
  HWND page = FindWindowExW(app.mainWindow(), nullptr, L"KelvanePanel", L"排除向导");
  ASSERT_NE(page, nullptr);
  HWND system = RunningApp::findDescendant(page, L"Button", L"系统异常");
  HWND freeze = RunningApp::findDescendant(page, L"Button", L"死机");
  ASSERT_TRUE(system && freeze);
  EXPECT_FALSE(IsWindowVisible(freeze));

  PostMessageW(system, BM_CLICK, 0, 0);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(freeze) != 0; }));
  RECT place;
  GetWindowRect(system, &place);
  MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.top, 180);  // at rest at 2700 twips

  PostMessageW(freeze, BM_CLICK, 0, 0);
  HWND edit = FindWindowExW(page, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(edit) != 0; }));
  const auto items = readItemFile(testing::installedAppDirectory() + L"\\data\\sys2.Rd");
  ASSERT_TRUE(items);
  std::wstring expected;
  for (const std::wstring& item : *items) expected += item + L"\r\n";
  EXPECT_EQ(testing::controlText(edit), expected);
  HWND frame = RunningApp::findDescendant(page, L"KelvanePanel", L"解决方法");
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(IsWindowVisible(frame));
}

}  // namespace
}  // namespace kelvane
