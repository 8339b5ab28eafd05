// The skin's Win32 parts on real windows: the image control's mouse events,
// capture and click rule, its tool tips, and the layout pass painting a real
// bitmap into the backing image.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/WindowClass.h"
#include "shell/SkinImage.h"
#include "tests/win/TestSupport.h"
#include "shell/SkinLayout.h"
#include "shell/SkinPainter.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using ::testing::ElementsAre;


LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

class SkinImageEventsTest : public ::testing::Test {
 protected:
  SkinImageEventsTest()
      : image(host.hwnd(), 7, L"关闭", {1500, 300, 255, 240}, 15,
              SkinImageEvents{[this](int16_t b) { log.push_back("down " + std::to_string(b)); },
                              [this](int16_t b) { log.push_back("move " + std::to_string(b)); },
                              [this](int16_t b) { log.push_back("up " + std::to_string(b)); },
                              [this] { log.push_back("click"); }}) {}

  testing::HostWindow host{WS_POPUP | WS_VISIBLE, 300, 200};
  std::vector<std::string> log;
  SkinImage image;
};

TEST_F(SkinImageEventsTest, ALeftPressAndReleaseOverTheImageIsAClickAfterTheRelease) {
  EXPECT_EQ(image.width(), 255.0f);
  EXPECT_EQ(GetDlgCtrlID(image.hwnd()), 7);
  EXPECT_EQ(testing::windowText(image.hwnd()), L"关闭");
  SendMessageW(image.hwnd(), WM_MOUSEMOVE, 0, at(3, 3));
  SendMessageW(image.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(3, 3));
  EXPECT_EQ(GetCapture(), image.hwnd());  // the release comes here even off the image
  SendMessageW(image.hwnd(), WM_LBUTTONUP, 0, at(4, 4));
  EXPECT_NE(GetCapture(), image.hwnd());
  EXPECT_THAT(log, ElementsAre("move 0", "down 1", "up 1", "click"));
}

TEST_F(SkinImageEventsTest, ARightPressIsNoClickAndALeftReleaseOffTheImageIsNoClick) {
  SendMessageW(image.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, at(3, 3));
  SendMessageW(image.hwnd(), WM_RBUTTONUP, 0, at(3, 3));
  SendMessageW(image.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(3, 3));
  SendMessageW(image.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(40, 3));
  SendMessageW(image.hwnd(), WM_LBUTTONUP, 0, at(40, 3));
  EXPECT_THAT(log, ElementsAre("down 2", "up 2", "down 1", "move 1", "up 1"));
}

TEST(SkinTooltipsTest, TheToolTipOfAnImageCanBeReplaced) {
  testing::HostWindow host{WS_POPUP | WS_VISIBLE, 300, 200};
  SkinImage image(host.hwnd(), 3, L"最大化", {0, 0, 255, 240}, 15);
  SkinTooltips tips(host.hwnd());
  ASSERT_NE(tips.hwnd(), nullptr);
  tips.add(image, L"最大化");
  auto text = [&] {
    wchar_t buffer[80] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = host.hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(image.hwnd());
    info.lpszText = buffer;
    SendMessageW(tips.hwnd(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    return std::wstring(buffer);
  };
  EXPECT_EQ(text(), L"最大化");
  tips.setText(image.hwnd(), L"最大化不可用");
  EXPECT_EQ(text(), L"最大化不可用");
  // The image hands its mouse messages on: the tip shows while the pointer rests on it.
  POINT inside{5, 5};
  ClientToScreen(image.hwnd(), &inside);
  SetCursorPos(inside.x, inside.y);
  PostMessageW(image.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(testing::waitUntil([&] { return IsWindowVisible(tips.hwnd()) != FALSE; }));
}

// A 150 x 155 skin picture whose pieces have colours of their own.
class PieceColouredPicture {
 public:
  PieceColouredPicture() {
    WindowDc screen(nullptr);
    bitmap_.reset(CreateCompatibleBitmap(screen.get(), 150, 155));
    dc_.reset(CreateCompatibleDC(screen.get()));
    SelectObject(dc_.get(), bitmap_.get());
    paint({0, 0, 150, 155}, RGB(9, 9, 9));
    paint({28, 0, 36, 40}, RGB(10, 0, 0));      // top-edge slice
    paint({28, 115, 36, 155}, RGB(20, 0, 0));   // bottom-edge slice
    paint({0, 58, 13, 62}, RGB(30, 0, 0));      // left-edge slice
    paint({137, 58, 150, 62}, RGB(40, 0, 0));   // right-edge slice
    paint({0, 0, 28, 40}, RGB(50, 0, 0));       // top-left corner
    paint({0, 115, 28, 155}, RGB(60, 0, 0));    // bottom-left corner
    paint({39, 0, 150, 29}, RGB(70, 0, 0));     // top-right corner
    paint({39, 120, 150, 155}, RGB(80, 0, 0));  // bottom-right corner
  }
  HDC dc() const { return dc_.get(); }

 private:
  void paint(RECT area, COLORREF colour) {
    SetBkColor(dc_.get(), colour);
    ExtTextOutW(dc_.get(), 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  }
  UniqueBitmap bitmap_;
  UniqueMemoryDc dc_;
};

class NoPlacement : public Placement {
 public:
  bool setLeft(float) override { return false; }
  bool setTop(float) override { return false; }
  bool setWidth(float) override { return false; }
  bool setHeight(float) override { return false; }
  bool setVisible(bool) override { return false; }
  std::optional<float> left() const override { return std::nullopt; }
  std::optional<float> top() const override { return std::nullopt; }
  std::optional<float> width() const override { return std::nullopt; }
  std::optional<float> height() const override { return std::nullopt; }
  std::optional<bool> visible() const override { return std::nullopt; }
};

TEST(SkinPainting, ThePassPaintsEachPieceAtItsPixelsAndTheCaptionOverTheTopEdge) {
  PieceColouredPicture picture;
  BackingImage backing;
  ASSERT_TRUE(backing.resize(600, 608));
  NoPlacement none;
  SkinControls controls{none, none, none, none, none, none, none};
  UniqueFont font(CreateFontW(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"SimSun"));
  GdiSkinSurface surface(backing.dc(), picture.dc(), nullptr, font.get(), 15);
  bool cut = false;
  runLayoutPass({9000, 9120, L"Kelvane V1.3完全免费版"}, controls, surface, [&] { cut = true; });
  EXPECT_TRUE(cut);
  auto red = [&](int x, int y) { return static_cast<int>(GetRValue(GetPixel(backing.dc(), x, y))); };
  EXPECT_EQ(red(300, 35), 10);   // the top edge, below the caption
  EXPECT_EQ(red(300, 600), 20);  // the bottom edge
  EXPECT_EQ(red(5, 300), 30);    // the left edge, stretched over the height
  EXPECT_EQ(red(595, 300), 40);  // the right edge
  EXPECT_EQ(red(2, 2), 50);
  EXPECT_EQ(red(2, 605), 60);
  EXPECT_EQ(red(595, 2), 70);    // the top-right corner, 29 pixels high ...
  EXPECT_EQ(red(560, 33), 10);   // ... with the top edge below it
  EXPECT_EQ(red(595, 33), 40);   // ... and the right edge at the side
  EXPECT_EQ(red(595, 605), 80);
  EXPECT_EQ(red(300, 300), 206);  // the background colour between the pieces
  // The caption's dark print lies over the top edge from (36, 8).
  int dark = 0;
  for (int y = 8; y < 26; ++y) {
    for (int x = 36; x < 200; ++x) dark += GetPixel(backing.dc(), x, y) == RGB(31, 96, 169) ? 1 : 0;
  }
  EXPECT_GT(dark, 20);
}

TEST(SkinPainting, NegativeSizesAreRefusedAndAnEmptyBackingIsNotMade) {
  BackingImage backing;
  EXPECT_FALSE(backing.resize(0, 10));
  EXPECT_TRUE(backing.empty());
  ASSERT_TRUE(backing.resize(20, 20));
  GdiSkinSurface surface(backing.dc(), nullptr, nullptr, nullptr, 15);
  EXPECT_FALSE(surface.fill({0, 0, -15, 30}, 0));
  EXPECT_FALSE(surface.paintPicture({0, 0, 30, 30}, {0, 0, 30, 30}));  // no picture
  EXPECT_TRUE(surface.fill({0, 0, 300, 300}, RGB(1, 2, 3)));
  EXPECT_EQ(GetPixel(backing.dc(), 19, 19), RGB(1, 2, 3));
}

}  // namespace
}  // namespace kelvane
