// The control adapters on real windows: placement in whole pixels, button arrays,
// clicks from the mouse message, the keyboard and the dialog manager.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/Banner.h"
#include "controls/ButtonArray.h"
#include "controls/Label.h"
#include "controls/OptionButton.h"
#include "controls/Panel.h"
#include "controls/TextBox.h"
#include "controls/Timer.h"
#include "controls/WindowClass.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using testing::pumpMessages;
using testing::windowText;

using Host = testing::HostWindow;

class Controls : public ::testing::Test {
 protected:
  ButtonDesign design(std::wstring caption, TwipRect place = {120, 120, 1335, 615}) {
    return ButtonDesign{std::move(caption), place, true, nullptr, nullptr, {0, 0}, false};
  }

  Host host;
  std::vector<int16_t> clicks;
  ButtonArray buttons{[this](int16_t index) { clicks.push_back(index); }};
};

TEST_F(Controls, APlacementIsHeldInWholePixelsAndReadBackAsThatPixel) {
  CoolButton& button = buttons.add(host.hwnd(), design(L"排除向导"), 15);
  EXPECT_EQ(button.left(), 120.0f);
  EXPECT_EQ(button.width(), 1335.0f);
  EXPECT_TRUE(button.setLeft(250));
  EXPECT_EQ(button.left(), 255.0f);
  EXPECT_TRUE(button.setTop(7.4f));
  EXPECT_EQ(button.top(), 0.0f);
  RECT rect;
  GetWindowRect(button.hwnd(), &rect);
  MapWindowPoints(HWND_DESKTOP, host.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 17);
  EXPECT_EQ(rect.right - rect.left, 89);
}

TEST_F(Controls, ANegativeSizeIsRefusedAndLeavesTheControlAsItWas) {
  CoolButton& button = buttons.add(host.hwnd(), design(L"x"), 15);
  EXPECT_FALSE(button.setWidth(-15));
  EXPECT_FALSE(button.setHeight(-1));
  EXPECT_EQ(button.width(), 1335.0f);
  EXPECT_EQ(button.height(), 615.0f);
}

TEST_F(Controls, VisibleIsTheControlsOwnFlagWhateverItsParentShows) {
  Panel panel(host.hwnd(), PanelDesign{{0, 0, 3000, 3000}, false, RGB(255, 255, 255), L"page", false, nullptr}, 15);
  ButtonArray inPanel{[](int16_t) {}};
  CoolButton& button = inPanel.add(panel.hwnd(), design(L"x"), 15);
  EXPECT_EQ(panel.visible(), false);
  EXPECT_EQ(button.visible(), true);
  button.setVisible(false);
  EXPECT_EQ(button.visible(), false);
}

TEST_F(Controls, AClickReportsTheIndexOfTheElement) {
  for (int i = 0; i < 3; ++i) buttons.add(host.hwnd(), design(L"b" + std::to_wstring(i), {120, 120.0f + 600 * i, 1335, 615}), 15);
  SendMessageW(buttons.element(2)->hwnd(), BM_CLICK, 0, 0);
  SendMessageW(buttons.element(0)->hwnd(), BM_CLICK, 0, 0);
  EXPECT_THAT(clicks, ::testing::ElementsAre(2, 0));
}

TEST_F(Controls, ADisabledButtonIgnoresClicks) {
  CoolButton& button = buttons.add(host.hwnd(), design(L"开始"), 15);
  button.setEnable(false);
  EXPECT_FALSE(button.enabled());
  SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(clicks.empty());
  button.setEnable(true);
  SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(Controls, NewElementsAreHiddenCopiesOfElementZeroWithTheirOwnIndex) {
  CoolButton& first = buttons.add(host.hwnd(), design(L"model"), 15);
  first.setTop(900);
  EXPECT_EQ(buttons.element(1), nullptr);
  CoolButton* copy = buttons.addCopyOfFirst();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->visible(), false);
  EXPECT_EQ(copy->caption(), L"model");
  EXPECT_EQ(windowText(copy->hwnd()), L"model");
  EXPECT_EQ(copy->left(), first.left());
  EXPECT_EQ(copy->top(), first.top());
  EXPECT_EQ(copy->width(), first.width());
  EXPECT_EQ(copy->height(), first.height());
  EXPECT_EQ(GetParent(copy->hwnd()), host.hwnd());
  EXPECT_EQ(buttons.count(), 2);
  copy->setVisible(true);
  SendMessageW(copy->hwnd(), BM_CLICK, 0, 0);
  EXPECT_THAT(clicks, ::testing::ElementsAre(1));
}

TEST_F(Controls, AnEmptyArrayHasNoElementToCopyOrAddress) {
  EXPECT_EQ(buttons.addCopyOfFirst(), nullptr);
  EXPECT_EQ(buttons.element(0), nullptr);
  EXPECT_EQ(buttons.element(-1), nullptr);
}

TEST_F(Controls, SpaceAndEnterActivateTheFocusedButtonThroughTheDialogManager) {
  CoolButton& button = buttons.add(host.hwnd(), design(L"确定"), 15);
  SetForegroundWindow(host.hwnd());
  SetFocus(button.hwnd());
  auto pressThroughDialogManager = [&](WPARAM key) {
    PostMessageW(button.hwnd(), WM_KEYDOWN, key, 0);
    PostMessageW(button.hwnd(), WM_KEYUP, key, 0xC0000000);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (IsDialogMessageW(host.hwnd(), &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  };
  pressThroughDialogManager(VK_SPACE);
  EXPECT_EQ(clicks.size(), 1u);
  pressThroughDialogManager(VK_RETURN);
  EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(Controls, AnAutoadjustButtonSizesItselfToItsCaption) {
  ButtonDesign autoDesign = design(L"model");
  autoDesign.autoadjust = true;
  CoolButton& button = buttons.add(host.hwnd(), autoDesign, 15);
  const float shortWidth = button.width().value();
  button.setCaption(L"清除DNS缓存并重置Winsock网络设置");
  const float longWidth = button.width().value();
  EXPECT_GT(longWidth, shortWidth + 15 * 50);
  EXPECT_EQ(windowText(button.hwnd()), L"清除DNS缓存并重置Winsock网络设置");
  EXPECT_EQ(static_cast<int>(longWidth) % 15, 0);
  button.setCaption(L"model");
  EXPECT_EQ(button.width(), shortWidth);
  EXPECT_EQ(button.height(), 615.0f);
}

TEST_F(Controls, ALabelShowsItsCaptionAsItsWindowText) {
  Label label(host.hwnd(), LabelDesign{L"此广告位每月300元", {240, 8040, 735, 615}, true, nullptr,
                                        RGB(0, 0, 0), RGB(255, 255, 255), SS_LEFT}, 15);
  EXPECT_EQ(windowText(label.hwnd()), L"此广告位每月300元");
  label.setCaption(L"新的文字");
  EXPECT_EQ(label.caption(), L"新的文字");
  EXPECT_EQ(windowText(label.hwnd()), L"新的文字");
  pumpMessages();
}

TEST_F(Controls, TheBannerStartsAndStops) {
  Banner banner(host.hwnd(), {960, 7920, 7065, 945}, nullptr, nullptr, 15);
  EXPECT_FALSE(banner.running());
  banner.start();
  EXPECT_TRUE(banner.running());
  pumpMessages();
  banner.stop();
  EXPECT_FALSE(banner.running());
  banner.stop();  // stopping twice is harmless
  EXPECT_FALSE(windowText(banner.hwnd()).empty());
}

TEST_F(Controls, ATextBoxHoldsLongTextWhole) {
  TextBox box(host.hwnd(), TextBoxDesign{.place = {4920, 120, 2895, 4815}, .multiLine = true, .verticalScrollBar = true, .readOnly = true}, 15);
  std::wstring longText;
  for (int i = 0; i < 5000; ++i) longText += L"第" + std::to_wstring(i) + L"行，内容\r\n";
  box.setText(longText);
  EXPECT_EQ(box.text(), longText);
  EXPECT_GT(longText.size(), 32768u);
}

TEST_F(Controls, OptionButtonsOfOneGroupExcludeEachOther) {
  int normalClicks = 0;
  OptionButton normal(host.hwnd(), OptionDesign{.caption = L"普通探测", .place = {0, 0, 1500, 300}, .groupStart = true, .value = true}, 15);
  OptionButton deep(host.hwnd(), OptionDesign{.caption = L"深度探测", .place = {0, 400, 1500, 300}}, 15);
  normal.setOnClick([&] { ++normalClicks; });
  EXPECT_TRUE(normal.value());
  EXPECT_FALSE(deep.value());
  deep.setValue(true);
  EXPECT_TRUE(deep.value());
  EXPECT_FALSE(normal.value());
  SendMessageW(normal.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(normal.value());
  EXPECT_FALSE(deep.value());
  EXPECT_EQ(normalClicks, 1);
  normal.setEnable(false);
  EXPECT_FALSE(normal.enabled());
}

TEST_F(Controls, ATimerTicksOnlyWhileEnabled) {
  int ticks = 0;
  Timer timer(10, [&] { ++ticks; });
  EXPECT_FALSE(timer.enabled());
  timer.setEnabled(true);
  EXPECT_TRUE(testing::waitUntil([&] { return ticks >= 3; }));
  timer.setEnabled(false);
  const int stoppedAt = ticks;
  Sleep(60);
  pumpMessages();
  EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(Controls, OnePassOfEventProcessingHandlesWhatWaitsAndKeepsAQuitRequest) {
  CoolButton& button = buttons.add(host.hwnd(), design(L"停止"), 15);
  PostMessageW(button.hwnd(), BM_CLICK, 0, 0);
  PostQuitMessage(3);
  processPendingEvents(host.hwnd());
  EXPECT_EQ(clicks.size(), 1u);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
}  // namespace kelvane
