// The real program, started as a user starts it, driven from outside with posted
// messages and read back through its windows.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <memory>

#include <array>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "controls/Twips.h"
#include "shell/Frmmain.h"
#include "shell/FrmmainText.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using testing::waitUntil;
namespace text = frmmain_text;

constexpr std::array<const wchar_t*, 4> PageTitles = {L"排除向导", L"维护工具", L"系统工具", L"病毒探测"};

class RunningProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<testing::RunningApp>();
    main_ = app_->mainWindow();
    ASSERT_NE(main_, nullptr);
    menuBar_ = FindWindowExW(main_, nullptr, L"KelvanePanel", L"Menu");
    ASSERT_NE(menuBar_, nullptr);
  }


  HWND page(int index) const { return FindWindowExW(main_, nullptr, L"KelvanePanel", PageTitles[index]); }
  HWND pageButton(int index) const {
    return FindWindowExW(menuBar_, nullptr, L"Button", text::PageButtons[index].data());
  }
  int visiblePage() const {
    int shown = -1;
    for (int i = 0; i < 4; ++i) {
      if (IsWindowVisible(page(i))) {
        if (shown != -1) return -2;  // two pages at once
        shown = i;
      }
    }
    return shown;
  }
  RECT clientRectOf(HWND child) const {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, main_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  static HWND openPopupMenu() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
  }

  std::unique_ptr<testing::RunningApp> app_;  // ends the program after each test
  HWND main_ = nullptr;
  HWND menuBar_ = nullptr;
};

// Whether process `id` has loaded the DLL `name`.
bool hasLoaded(DWORD id, const wchar_t* name) {
  const UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id));
  MODULEENTRY32W module{sizeof module};
  BOOL more = snapshot && Module32FirstW(snapshot.get(), &module);
  while (more && _wcsicmp(module.szModule, name) != 0) more = Module32NextW(snapshot.get(), &module);
  return more;
}

TEST_F(RunningProgram, OpensAt9000By9115TwipsWithOnlyTheWizardVisible) {
  RECT window;
  GetWindowRect(main_, &window);
  EXPECT_EQ(window.right - window.left, twipsToPixels(9000, 15));
  EXPECT_EQ(window.bottom - window.top, twipsToPixels(9115, 15));
  EXPECT_EQ(testing::windowText(main_), text::Caption);
  for (int i = 0; i < 4; ++i) ASSERT_NE(page(i), nullptr) << i;
  EXPECT_EQ(visiblePage(), 0);
  const RECT wizard = clientRectOf(page(0));
  EXPECT_EQ(wizard.left, twipsToPixels(250, 15));
  EXPECT_EQ(wizard.top, twipsToPixels(1385, 15));
  EXPECT_EQ(wizard.right - wizard.left, twipsToPixels(8535, 15));
  EXPECT_EQ(wizard.bottom - wizard.top, twipsToPixels(6515, 15));
  // Painted, pictures and all, without the imaging component (Wine's input methods load ole32 anyway).
  RedrawWindow(main_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const DWORD id = GetProcessId(app_->process());
  EXPECT_TRUE(hasLoaded(id, L"user32.dll"));
  EXPECT_FALSE(hasLoaded(id, L"windowscodecs.dll"));
}

TEST_F(RunningProgram, EachPageButtonShowsExactlyItsPageAtThePageArea) {
  for (int index : {1, 2, 3, 0, 2}) {
    ASSERT_NE(pageButton(index), nullptr);
    PostMessageW(pageButton(index), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return visiblePage() == index; })) << "button " << index;
    const RECT place = clientRectOf(page(index));
    EXPECT_EQ(place.left, 17);
    EXPECT_EQ(place.top, 92);
    EXPECT_EQ(place.right - place.left, 569);
    EXPECT_EQ(place.bottom - place.top, 434);
  }
}

TEST_F(RunningProgram, TheHelpButtonOpensItsMenuBelowItAndLeavesThePageShowing) {
  PostMessageW(pageButton(3), BM_CLICK, 0, 0);
  ASSERT_TRUE(waitUntil([&] { return visiblePage() == 3; }));
  PostMessageW(pageButton(4), BM_CLICK, 0, 0);
  HWND menu = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (menu = openPopupMenu()) != nullptr; }));
  EXPECT_EQ(visiblePage(), 3);
  RECT menuRect;
  GetWindowRect(menu, &menuRect);
  POINT expected{twipsToPixels(6940, 15), twipsToPixels(1235, 15)};
  ClientToScreen(main_, &expected);
  EXPECT_NEAR(menuRect.left, expected.x, 2);
  EXPECT_NEAR(menuRect.top, expected.y, 2);

  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(waitUntil([&] { return openPopupMenu() == nullptr; }));
  EXPECT_EQ(visiblePage(), 3);
}

TEST_F(RunningProgram, ClosingTheWindowEndsTheProcess) {
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(app_->process(), 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(app_->process(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

BOOL CALLBACK addMainWindow(HWND window, LPARAM data) {
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (std::wstring(className) == FrmmainClass) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

// Every main window of the program in this session, of any process.
std::vector<HWND> mainWindows() {
  std::vector<HWND> found;
  EnumWindows(addMainWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(RunningProgram, ASecondStartFromAnyFolderBringsTheRunningWindowForwardAndEnds) {
  testing::ScratchDirectory elsewhere(L"second-copy");
  ASSERT_TRUE(CopyFileW((testing::installedAppDirectory() + L"\\Kelvane.exe").c_str(),
                        (elsewhere.path() + L"\\Kelvane.exe").c_str(), FALSE));
  for (const std::wstring& folder : {testing::installedAppDirectory(), elsewhere.path()}) {
    ShowWindow(main_, SW_MINIMIZE);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(main_) != FALSE; }));
    EXPECT_EQ(testing::runToEnd(L"\"" + folder + L"\\Kelvane.exe\""), 0u);
    EXPECT_EQ(mainWindows(), std::vector<HWND>{main_});
    EXPECT_TRUE(waitUntil([&] { return !IsIconic(main_) && GetForegroundWindow() == main_; }));
    EXPECT_EQ(WaitForSingleObject(app_->process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  }
}

}  // namespace
}  // namespace kelvane
