// The control adapters on real windows: placement in whole pixels, button arrays,
// clicks from the mouse message, the keyboard and the dialog manager; the
// pictures made for a display scale.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/Banner.h"
#include "controls/ButtonArray.h"
#include "controls/Fonts.h"
#include "controls/Label.h"
#include "controls/OptionButton.h"
#include "controls/Panel.h"
#include "controls/Picture.h"
#include "controls/TextBox.h"
#include "controls/Timer.h"
#include "controls/Twips.h"
#include "controls/WindowClass.h"
#include "res/resource.h"
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
  // A caption longer than a one-line label wraps inside it and keeps its size,
  // as at 100 % it always did; at a larger scale too, since it does not fit at 100 %.
  for (const int dpi : {96, 144}) {
    const UniqueFont font = createPointFont(L"宋体", 9, false, GB2312_CHARSET, dpi);
    Label line(host.hwnd(), LabelDesign{L"", {240, 240, 1500, 255}, true, font.get()}, twipsPerPixelAt(dpi));
    RECT before;
    GetWindowRect(line.hwnd(), &before);
    line.setCaption(L"很长的解决方法说明文字，一行放不下，在标签里折行");
    RECT after;
    GetWindowRect(line.hwnd(), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left) << dpi;
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << dpi;
  }
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

// The size of a DIB section and its pixel at (x, y) as 0xAARRGGBB, valid while the bitmap lives.
struct PictureFacts {
  SIZE size{0, 0};
  const uint32_t* bits = nullptr;
  uint32_t at(int x, int y) const { return bits[y * size.cx + x]; }
};

PictureFacts pictureFacts(HBITMAP bitmap) {
  DIBSECTION section{};
  if (!bitmap || GetObjectW(bitmap, sizeof(section), &section) != sizeof(section)) return {};
  return {{section.dsBm.bmWidth, section.dsBm.bmHeight}, static_cast<const uint32_t*>(section.dsBm.bmBits)};
}

SIZE iconSize(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
  const UniqueBitmap colour(info.hbmColor);
  const UniqueBitmap mask(info.hbmMask);
  BITMAP bitmap{};
  GetObjectW(colour.get(), sizeof(bitmap), &bitmap);
  return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST(Pictures, At96DpiTheSkinIsItsDesignPixelsAsDrawn) {
  const UniqueBitmap skin = loadPicture(IDB_SKIN, 96);
  const PictureFacts facts = pictureFacts(skin.get());
  ASSERT_NE(facts.bits, nullptr);
  ASSERT_EQ(facts.size.cx, 150);
  ASSERT_EQ(facts.size.cy, 155);
  EXPECT_EQ(facts.at(0, 0), 0xFF1F60A9u);     // the dark rim
  EXPECT_EQ(facts.at(75, 5), 0xFFEBF4FDu);    // the caption band, near its light top
  EXPECT_EQ(facts.at(75, 80), 0xFFCEFFFDu);   // the window colour
  EXPECT_EQ(facts.at(81, 19), 0xFF556C8Du);   // the minimise glyph
  EXPECT_EQ(facts.at(75, 150), 0xFFBDD4EEu);  // the bottom band
  EXPECT_EQ(pictureFacts(loadPicture(IDB_CLOSE_PRESSED, 96).get()).size.cx, 17);
}

TEST(Pictures, AtEveryScaleAPictureIsItsDesignSizeTimesTheScale) {
  struct Case {
    int id;
    int dpi;
    SIZE size;
  };
  // 120 and 168 DPI of the wizard's background are reduced from the next larger copy.
  for (const Case& c : {Case{IDB_SKIN, 120, {188, 194}}, Case{IDB_SKIN, 144, {225, 233}},
                        Case{IDB_SKIN, 192, {300, 310}}, Case{IDB_MIN_HOVER, 144, {26, 24}},
                        Case{IDB_WIZARD_BACKGROUND, 120, {1000, 750}}, Case{IDB_WIZARD_BACKGROUND, 168, {1400, 1050}},
                        Case{IDB_DETECTOR_BACKGROUND, 110, {573, 573}}, Case{IDB_SKIN, 240, {375, 388}}}) {
    const UniqueBitmap picture = loadPicture(c.id, c.dpi);
    const PictureFacts facts = pictureFacts(picture.get());
    ASSERT_NE(facts.bits, nullptr) << c.id << " at " << c.dpi;
    EXPECT_EQ(facts.size.cx, c.size.cx) << c.id << " at " << c.dpi;
    EXPECT_EQ(facts.size.cy, c.size.cy) << c.id << " at " << c.dpi;
    // The window colour fills the middle of the skin at every scale.
    if (c.id == IDB_SKIN) {
      EXPECT_EQ(facts.at(facts.size.cx / 2, facts.size.cy / 2), 0xFFCEFFFDu) << c.dpi;
    }
  }
  EXPECT_EQ(pictureDesignSize(IDB_WIZARD_BACKGROUND).cx, 800);
  EXPECT_FALSE(loadPicture(IDI_PAGE0, 96));  // an icon is no picture
}

TEST(Pictures, AnIconIsMadeAtTheScaledSizeInItsOwnProportions) {
  struct Case {
    int id;
    int designPixels;
    int dpi;
    SIZE size;
  };
  // 108 DPI falls between the stored images: the next larger one is reduced.
  for (const Case& c : {Case{IDI_PAGE1, 35, 96, {35, 33}}, Case{IDI_PAGE1, 35, 120, {44, 41}},
                        Case{IDI_PAGE0, 36, 192, {72, 72}}, Case{IDI_SYSTOOL2, 48, 144, {72, 72}},
                        Case{IDI_KELVANE, 16, 108, {18, 18}}, Case{IDI_KELVANE, 32, 168, {56, 56}}}) {
    const UniqueIcon icon = loadIconPicture(c.id, c.designPixels, c.dpi);
    const SIZE size = iconSize(icon.get());
    EXPECT_EQ(size.cx, c.size.cx) << c.id << " at " << c.dpi;
    EXPECT_EQ(size.cy, c.size.cy) << c.id << " at " << c.dpi;
  }
  EXPECT_EQ(iconSize(loadIconPicture(IDI_PAGE1, SIZE{35, 33}, 144).get()).cy, 50);
}

}  // namespace
}  // namespace kelvane
