// The skinned frame of the real program: its outline, its painted skin on the
// screen, and the image buttons and drag bar driven by real mouse input.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/Handles.h"
#include "shell/Frmmain.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using testing::waitUntil;

struct FindMain {
  DWORD processId;
  HWND found = nullptr;
};

BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<FindMain*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, 64);
  if (owner == search->processId && std::wstring(className) == FrmmainClass && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

bool similar(COLORREF a, COLORREF b, int tolerance = 6) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class SkinnedProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring exe = testing::installedAppDirectory() + L"\\Kelvane.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
    process_.reset(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    FindMain search{info.dwProcessId};
    ASSERT_TRUE(waitUntil([&] {
      EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&search));
      return search.found != nullptr;
    }));
    main_ = search.found;
    WaitForInputIdle(process_.get(), 5000);
    SetForegroundWindow(main_);
    Sleep(300);
  }
  void TearDown() override {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 1);
  }

  POINT onScreen(int x, int y) const {
    RECT window;
    GetWindowRect(main_, &window);
    return {window.left + x, window.top + y};
  }
  // The colour the screen shows at a point of the window.
  COLORREF pixel(int x, int y) const {
    const POINT point = onScreen(x, y);
    WindowDc screen(nullptr);
    return GetPixel(screen.get(), point.x, point.y);
  }
  POINT centreOf(SkinControlId id) const {
    RECT rect;
    GetWindowRect(GetDlgItem(main_, id), &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  static void moveTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    Sleep(150);
  }
  static void press(DWORD down, DWORD up) {
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down;
    inputs[1].mi.dwFlags = up;
    SendInput(1, &inputs[0], sizeof(INPUT));
    Sleep(150);
    SendInput(1, &inputs[1], sizeof(INPUT));
    Sleep(150);
  }

  UniqueKernelHandle process_;
  HWND main_ = nullptr;
};

TEST_F(SkinnedProgram, HasNoSystemFrameAndItsRegionIsTheRoundedOutline) {
  EXPECT_EQ(GetWindowLongW(main_, GWL_STYLE) & 0x00CF0000, 0);
  RECT window, client;
  GetWindowRect(main_, &window);
  GetClientRect(main_, &client);
  EXPECT_EQ(window.right - window.left, 600);
  EXPECT_EQ(client.right, 600);  // without a frame the drawing area is the whole window
  EXPECT_EQ(client.bottom, 608);
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(main_, region.get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.get(), 3, 3));   // just outside the rounded top-left corner
  EXPECT_TRUE(PtInRegion(region.get(), 12, 12));  // just inside it
  EXPECT_FALSE(PtInRegion(region.get(), 597, 3));
  EXPECT_FALSE(PtInRegion(region.get(), 3, 604));
  EXPECT_TRUE(PtInRegion(region.get(), 596, 604));  // the bottom-right corner is nearly square
  EXPECT_FALSE(PtInRegion(region.get(), 599, 607));
  EXPECT_TRUE(PtInRegion(region.get(), 300, 300));
}

TEST_F(SkinnedProgram, TheScreenShowsTheCaptionInItsColourAndTheSkinAroundThePages) {
  int caption = 0;
  for (int y = 8; y < 26; ++y) {
    for (int x = 36; x < 200; ++x) caption += pixel(x, y) == RGB(31, 96, 169) ? 1 : 0;
  }
  EXPECT_GT(caption, 20) << "dark caption pixels";
  EXPECT_TRUE(similar(pixel(0, 300), RGB(31, 96, 169))) << std::hex << pixel(0, 300);    // rim, left
  EXPECT_TRUE(similar(pixel(599, 300), RGB(31, 96, 169))) << std::hex << pixel(599, 300);  // rim, right
  EXPECT_TRUE(similar(pixel(8, 300), RGB(206, 255, 253))) << std::hex << pixel(8, 300);    // window colour
  // The caption band above the page buttons is lighter at the top than at its foot.
  const COLORREF top = pixel(300, 3), foot = pixel(300, 24);
  EXPECT_GT(GetBValue(top) + GetGValue(top), GetBValue(foot) + GetGValue(foot));
}

TEST_F(SkinnedProgram, TheCloseImageLightsUnderThePointerStaysLitOverTheDragBarAndClearsOverTheWindow) {
  const POINT close = centreOf(IdImclose);
  auto closeColour = [&] {
    WindowDc screen(nullptr);
    return GetPixel(screen.get(), close.x - 5, close.y - 3);
  };
  const COLORREF before = closeColour();
  moveTo(close);
  EXPECT_TRUE(waitUntil([&] { return GetRValue(closeColour()) > 180 && GetGValue(closeColour()) < 120; }))
      << std::hex << closeColour();
  moveTo(centreOf(IdIMBar));
  Sleep(200);
  EXPECT_GT(GetRValue(closeColour()), 180);  // still lit
  moveTo(onScreen(8, 300));                  // the window's own surface
  EXPECT_TRUE(waitUntil([&] { return closeColour() == before; })) << std::hex << closeColour();
}

TEST_F(SkinnedProgram, ARightPressOnTheDragBarMovesNothingAndALeftDragMovesTheWindow) {
  RECT before;
  GetWindowRect(main_, &before);
  const POINT bar = onScreen(200, 8);
  moveTo(bar);
  press(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  RECT after;
  GetWindowRect(main_, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(WaitForSingleObject(process_.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &input, sizeof input);
  Sleep(200);
  for (int step = 1; step <= 4; ++step) {
    SetCursorPos(bar.x + 10 * step, bar.y + 6 * step);
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    Sleep(100);
  }
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
  EXPECT_TRUE(waitUntil([&] {
    GetWindowRect(main_, &after);
    return after.left == before.left + 40 && after.top == before.top + 24;
  })) << after.left - before.left << "," << after.top - before.top;
}

TEST_F(SkinnedProgram, ARealClickOnTheMinimiseImageMinimisesAndRestoringRepaintsTheSkin) {
  moveTo(centreOf(IdImmin));
  press(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(waitUntil([&] { return IsIconic(main_) != FALSE; }));
  ShowWindowAsync(main_, SW_RESTORE);
  ASSERT_TRUE(waitUntil([&] { return !IsIconic(main_); }));
  Sleep(300);
  RECT window;
  GetWindowRect(main_, &window);
  EXPECT_EQ(window.right - window.left, 600);
  EXPECT_EQ(window.bottom - window.top, 608);
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(main_, region.get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.get(), 3, 3));
  EXPECT_TRUE(PtInRegion(region.get(), 598, 300));
}

TEST_F(SkinnedProgram, ARealClickOnTheCloseImageEndsTheProcess) {
  moveTo(centreOf(IdImclose));
  press(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  ASSERT_EQ(WaitForSingleObject(process_.get(), 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process_.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace kelvane
