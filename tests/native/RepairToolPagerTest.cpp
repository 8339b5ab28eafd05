// The repair-tool page's loading and page turns against fake button windows.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/fakes/FakePlacement.h"
#include "tests/fakes/FakeButtonWindows.h"
#include "tools/ToolPager.h"

namespace kelvane {
namespace {

using testing::FakeButtonWindows;

const ButtonTemplate Model{L"model", 600, -300, 3135, 375};

std::wstring captionOf(int entry) { return L"工具" + std::to_wstring(entry); }

std::vector<ToolRecord> catalogue(int count) {
  std::vector<ToolRecord> entries;
  for (int i = 1; i <= count; ++i) entries.push_back({captionOf(i), L"t" + std::to_wstring(i) + L".cmd"});
  return entries;
}

// A page at one twip per pixel, so the figures read as the design's twips; a
// button fits its caption at 150 twips a character plus 210.
class Pager : public ::testing::Test {
 protected:
  explicit Pager(float twipsPerPixel = 1)
      : tpp(twipsPerPixel),
        buttons(windows, twipsPerPixel, Model,
                [twipsPerPixel](std::wstring_view caption) {
                  return static_cast<int>((150.0f * static_cast<float>(caption.size()) + 210) / twipsPerPixel);
                }),
        pager(buttons) {}

  void load(int count) { pager.UserControl_Initialize(catalogue(count)); }
  void load(const std::vector<ToolRecord>& entries) { pager.UserControl_Initialize(entries); }

  // Entries on show, by their number, with their places in twips.
  std::map<int, std::pair<float, float>> shownEntries() {
    std::map<int, std::pair<float, float>> shown;
    for (int i = 1; i < buttons.count(); ++i) {
      Placement* button = buttons.element(i);
      if (button->visible().value()) shown[i] = {button->left().value(), button->top().value()};
    }
    return shown;
  }
  // Every element on show is in a window with its caption at its place, and no
  // other window shows.
  void expectWindowsMatchElements() {
    std::map<std::wstring, PixelRect> expected;
    for (const auto& [entry, place] : shownEntries()) {
      Placement* button = buttons.element(entry);
      expected[captionOf(entry)] = PixelRect{static_cast<int>(place.first / twips()),
                                             static_cast<int>(place.second / twips()),
                                             static_cast<int>(button->width().value() / twips()),
                                             static_cast<int>(button->height().value() / twips())};
    }
    EXPECT_EQ(windows.onShow(), expected);
  }
  float twips() const { return tpp; }

  const float tpp;
  FakeButtonWindows windows;
  ToolButtonArray buttons;
  ToolPager pager;
};

TEST_F(Pager, AnEmptyCatalogueShowsNothingAndNeitherTurnDoesAnything) {
  load(0);
  EXPECT_EQ(pager.ToolCount(), 0);
  EXPECT_EQ(pager.PageEnd(), 24);
  pager.NextPage();
  pager.PrePage();
  EXPECT_EQ(pager.PageEnd(), 24);
  EXPECT_TRUE(windows.windows.empty());
  EXPECT_EQ(buttons.element(0)->visible(), false);
}

TEST_F(Pager, TheFirstPageFillsTwoColumnsOfTwelveRowsFrom200To5700) {
  load(24);
  const auto shown = shownEntries();
  ASSERT_EQ(shown.size(), 24u);
  for (int row = 0; row < 12; ++row) {
    const float top = 200.0f + 500.0f * static_cast<float>(row);
    EXPECT_EQ(shown.at(2 * row + 1), std::make_pair(600.0f, top)) << "row " << row;
    // The right column starts 1000 twips after its left neighbour's fitted width.
    const float leftWidth = buttons.element(2 * row + 1)->width().value();
    EXPECT_EQ(shown.at(2 * row + 2), std::make_pair(600.0f + leftWidth + 1000.0f, top)) << "row " << row;
  }
  expectWindowsMatchElements();
  // Exactly one page: the next turn does nothing.
  pager.NextPage();
  EXPECT_EQ(pager.PageEnd(), 24);
  EXPECT_EQ(shownEntries(), shown);
}

TEST_F(Pager, AWideLeftButtonPushesItsRightNeighbour) {
  std::vector<ToolRecord> entries = catalogue(4);
  entries[2].caption = L"一个名字很长很长的修复工具";  // entry 3, left column of row 2
  load(entries);
  const float narrowRight = buttons.element(2)->left().value();
  const float wideRight = buttons.element(4)->left().value();
  EXPECT_EQ(narrowRight, 600 + (150 * 3 + 210) + 1000);
  EXPECT_EQ(wideRight, 600 + (150 * 13 + 210) + 1000);
}

TEST_F(Pager, TwentyFiveEntriesMakeASecondPageWithEntry25AloneAtTheFirstPlace) {
  load(25);
  const auto firstPage = shownEntries();
  EXPECT_EQ(firstPage.size(), 24u);
  EXPECT_EQ(firstPage.count(25), 0u);

  pager.NextPage();
  EXPECT_EQ(pager.PageEnd(), 48);
  EXPECT_EQ(shownEntries(), (std::map<int, std::pair<float, float>>{{25, {600.0f, 200.0f}}}));
  expectWindowsMatchElements();
  pager.NextPage();  // no third page
  EXPECT_EQ(pager.PageEnd(), 48);

  pager.PrePage();
  EXPECT_EQ(pager.PageEnd(), 24);
  EXPECT_EQ(shownEntries(), firstPage);
  expectWindowsMatchElements();
  pager.PrePage();  // no page before the first
  EXPECT_EQ(shownEntries(), firstPage);
}

TEST_F(Pager, FortyNineEntriesMakeThreePagesAndTwoTurnsBackReturnToTheFirst) {
  load(49);
  const auto firstPage = shownEntries();
  pager.NextPage();
  const auto secondPage = shownEntries();
  ASSERT_EQ(secondPage.size(), 24u);
  EXPECT_EQ(secondPage.begin()->first, 25);
  EXPECT_EQ(secondPage.rbegin()->first, 48);
  // The second page lies exactly where the first did.
  EXPECT_EQ(secondPage.at(25), firstPage.at(1));
  EXPECT_EQ(secondPage.at(48).second, firstPage.at(24).second);

  pager.NextPage();
  EXPECT_EQ(shownEntries(), (std::map<int, std::pair<float, float>>{{49, {600.0f, 200.0f}}}));
  pager.PrePage();
  EXPECT_EQ(shownEntries(), secondPage);
  pager.PrePage();
  EXPECT_EQ(shownEntries(), firstPage);
  expectWindowsMatchElements();
  // Never more windows than one page shows at once.
  EXPECT_EQ(windows.windows.size(), 24u);
}

TEST_F(Pager, AFullCatalogueLoadsAndPagesWithOnlyOnePageOfWindows) {
  load(catalogue(33000));  // more than the index allows: the rest is ignored
  EXPECT_EQ(pager.ToolCount(), 32767);
  EXPECT_EQ(buttons.count(), 32768);
  EXPECT_EQ(windows.windows.size(), 24u);
  int turns = 0;
  while (pager.PageEnd() < pager.ToolCount()) {
    pager.NextPage();
    ++turns;
  }
  // 32767 = 1365 pages of 24 and one of 7; the last page ends past the 16-bit range.
  EXPECT_EQ(turns, 1365);
  EXPECT_EQ(pager.PageEnd(), 32784);
  const auto lastPage = shownEntries();
  ASSERT_EQ(lastPage.size(), 7u);
  EXPECT_EQ(lastPage.begin()->first, 32761);
  EXPECT_EQ(lastPage.begin()->second, std::make_pair(600.0f, 200.0f));
  expectWindowsMatchElements();
  pager.PrePage();
  EXPECT_EQ(shownEntries().size(), 24u);
  EXPECT_EQ(windows.windows.size(), 24u);
}

TEST_F(Pager, ALaunchStartsTheEntrysFileUnderTooll) {
  load(3);
  const std::optional<ShellRequest> request = pager.launchRequest(2, reinterpret_cast<WindowHandle>(7), L"C:\\Kv");
  ASSERT_TRUE(request);
  EXPECT_EQ(*request, (ShellRequest{reinterpret_cast<WindowHandle>(7), L"", L"C:\\Kv\\tooll\\t2.cmd", L"", L"", 1}));
  // The drive root keeps its doubled backslash, which the file system accepts.
  EXPECT_EQ(pager.launchRequest(1, nullptr, L"D:\\")->file, L"D:\\\\tooll\\t1.cmd");
  EXPECT_FALSE(pager.launchRequest(0, nullptr, L"C:\\Kv"));
  EXPECT_FALSE(pager.launchRequest(4, nullptr, L"C:\\Kv"));
}

TEST_F(Pager, WithoutWindowsToBeHadThePageKeepsItsStateAndTurnsOn) {
  windows.refuseNew = true;
  load(30);
  pager.NextPage();
  EXPECT_EQ(shownEntries().size(), 6u);
  EXPECT_TRUE(windows.windows.empty());
}

class PagerInPixels : public Pager {
 protected:
  PagerInPixels() : Pager(15) {}
};

TEST_F(PagerInPixels, PlacesAreHeldInWholePixelsAndEachRowBuildsOnTheOneAbove) {
  load(24);
  // 200 twips is 13 1/3 pixels: the first row sits at 13 px, and each row is read
  // back in whole pixels before the next adds its 500 twips.
  for (int row = 0; row < 12; ++row) {
    EXPECT_EQ(buttons.element(2 * row + 1)->top(), 15.0f * static_cast<float>(13 + 33 * row)) << row;
  }
  expectWindowsMatchElements();
}

TEST(PageLabels, SitBesideTheMiddle400TwipsAboveTheBottom) {
  testing::CallLog log;
  testing::FakePlacement LblPre("LblPre", log), LblNext("LblNext", log);
  LblPre.values["Width"] = 630;
  placePageLabels(8535, 6515, LblPre, LblNext);
  EXPECT_EQ(LblPre.left(), 1637.5f);
  EXPECT_EQ(LblPre.top(), 6115.0f);
  EXPECT_EQ(LblNext.left(), 6267.5f);
  EXPECT_EQ(LblNext.top(), 6115.0f);
  // A failed read skips its step only.
  LblPre.refused = {"Width"};
  placePageLabels(4000, 3000, LblPre, LblNext);
  EXPECT_EQ(LblPre.values["Left"], 1637.5f);
  EXPECT_EQ(LblPre.top(), 2600.0f);
  EXPECT_EQ(LblNext.left(), 4000.0f);
}

}  // namespace
}  // namespace kelvane
