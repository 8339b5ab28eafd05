// The skinned frame of the real program: its outline, its painted skin on the
// screen, and the image buttons and drag bar driven by real mouse input.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <string>

#include "common/Handles.h"
#include "shell/Frmmain.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using testing::waitUntil;

bool similar(COLORREF a, COLORREF b, int tolerance = 6) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class SkinnedProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<testing::RunningApp>();
    main_ = app_->mainWindow();
    ASSERT_NE(main_, nullptr);
    WaitForInputIdle(app_->process(), 5000);
    SetForegroundWindow(main_);
    Sleep(300);
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
  // Synthetic input can be lost under Wine when the machine is busy, so each step
  // makes sure it arrived: a move ends where it was sent, and a click is repeated
  // (a few times at most) until what it should cause has happened.
  static void moveTo(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    for (int attempt = 0; attempt < 5; ++attempt) {
      SetCursorPos(screen.x + 1, screen.y + 1);
      SendInput(1, &input, sizeof input);
      Sleep(30);
      SetCursorPos(screen.x, screen.y);
      SendInput(1, &input, sizeof input);
      Sleep(150);
      POINT now;
      if (GetCursorPos(&now) && now.x == screen.x && now.y == screen.y) return;
    }
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
  static bool clickUntil(POINT screen, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      moveTo(screen);
      press(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
      if (waitUntil(done, std::chrono::milliseconds(4000))) return true;
    }
    return false;
  }

  std::unique_ptr<testing::RunningApp> app_;  // ends the program after each test
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

TEST_F(SkinnedProgram, TheCloseImageLightsUnderThePointerStaysLitOverTheDragBarAndEdgeAndClearsOverTheWindow) {
  const POINT close = centreOf(IdImclose);
  auto closeColour = [&] {
    WindowDc screen(nullptr);
    return GetPixel(screen.get(), close.x - 5, close.y - 3);
  };
  const COLORREF before = closeColour();
  // Lit is red; the skin's own colours there are light, with much green.
  auto lit = [&] { return GetRValue(closeColour()) > 180 && GetGValue(closeColour()) < 120; };
  moveTo(close);
  EXPECT_TRUE(waitUntil(lit)) << std::hex << closeColour();
  moveTo(centreOf(IdIMBar));
  Sleep(200);
  EXPECT_TRUE(lit()) << std::hex << closeColour();  // still lit
  // The right edge piece takes the moves over it as the image it stands for did.
  moveTo(onScreen(595, 300));
  Sleep(200);
  EXPECT_TRUE(lit()) << std::hex << closeColour();
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
  EXPECT_EQ(WaitForSingleObject(app_->process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // A left drag moves the window with the pointer. Input may be lost on a busy
  // machine: a drag that moved nothing at all is tried again.
  bool moved = false;
  for (int attempt = 0; attempt < 3 && !moved; ++attempt) {
    GetWindowRect(main_, &before);
    const POINT start = onScreen(200, 8);
    moveTo(start);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &input, sizeof input);
    Sleep(200);
    for (int step = 1; step <= 4; ++step) {
      SetCursorPos(start.x + 10 * step, start.y + 6 * step);
      input.mi.dwFlags = MOUSEEVENTF_MOVE;
      SendInput(1, &input, sizeof input);
      Sleep(100);
    }
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    moved = waitUntil(
        [&] {
          GetWindowRect(main_, &after);
          return after.left != before.left || after.top != before.top;
        },
        std::chrono::milliseconds(3000));
  }
  ASSERT_TRUE(moved);
  Sleep(200);
  GetWindowRect(main_, &after);
  EXPECT_EQ(after.left - before.left, 40);
  EXPECT_EQ(after.top - before.top, 24);
}

TEST_F(SkinnedProgram, ARealClickOnTheMinimiseImageMinimisesAndRestoringRepaintsTheSkin) {
  ASSERT_TRUE(clickUntil(centreOf(IdImmin), [&] { return IsIconic(main_) != FALSE; }));
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
  ASSERT_TRUE(clickUntil(centreOf(IdImclose), [&] { return WaitForSingleObject(app_->process(), 0) == WAIT_OBJECT_0; }));
  DWORD exitCode = 1;
  GetExitCodeProcess(app_->process(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace kelvane
