// The system-utility page on real windows: its ten buttons, their launches and the
// warning label.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

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

class SysToolPage : public ::testing::Test {
 protected:
  SysToolPage() {
    const PageContext context{host.hwnd(), {250, 1385, 8535, 6515}, fonts, 15, launcher, boxes, L"C:\\x"};
    page = std::make_unique<SysTool>(context);
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
  testing::FakeLauncher launcher;
  Refusals boxes;
  std::unique_ptr<SysTool> page;
};

TEST_F(SysToolPage, TenButtonsWithTheirCaptionsInTwoColumnsStartTheirUtilities) {
  for (size_t i = 0; i < SysUtilities.size(); ++i) {
    const SysUtility& utility = SysUtilities[i];
    HWND button = FindWindowExW(page->hwnd(), nullptr, L"Button", std::wstring(utility.caption).c_str());
    ASSERT_NE(button, nullptr) << i;
    EXPECT_TRUE(IsWindowVisible(button));
    const RECT place = placeOf(button);
    EXPECT_EQ(place.left, i < 5 ? 24 : 312);
    EXPECT_EQ(place.top, std::lround(utility.top / 15));
    EXPECT_EQ(place.right - place.left, 209);
    EXPECT_EQ(place.bottom - place.top, 49);
    SendMessageW(button, BM_CLICK, 0, 0);
    ASSERT_EQ(launcher.shellRequests.size(), i + 1);
    EXPECT_EQ(launcher.shellRequests.back(),
              (ShellRequest{page->hwnd(), L"", std::wstring(utility.file), std::wstring(utility.parameters),
                            L"c:\\", ShowNormal}));
  }
  EXPECT_TRUE(boxes.texts.empty());
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
