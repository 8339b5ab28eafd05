// The repair-tool page on real windows: its buttons, page turns, labels and a
// launch that really starts a program.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/Files.h"
#include "common/SystemServices.h"
#include "common/TextEncoding.h"
#include "controls/WindowClass.h"
#include "tests/fakes/FakeLauncher.h"
#include "tests/win/TestSupport.h"
#include "tools/RepairTool.h"

namespace kelvane {
namespace {

using testing::fileExists;
using testing::ScratchDirectory;
using testing::waitUntil;
using testing::windowText;

using Host = testing::HostWindow;

struct Child {
  std::wstring text;
  RECT place;  // in the page's client area
};

class RepairToolPage : public ::testing::Test {
 protected:
  // A catalogue of `count` entries "工具1" ... in GBK, under the scratch folder.
  void writeCatalogue(int count, const std::string& extra = "") {
    CreateDirectoryW((root.path() + L"\\tooll").c_str(), nullptr);
    std::string bytes;
    for (int i = 1; i <= count; ++i) bytes += "\xB9\xA4\xBE\xDF" + std::to_string(i) + "\tt.cmd\r\n";  // 工具i
    ASSERT_TRUE(testing::writeFile(root.path() + L"\\tooll\\tool.txt", bytes + extra));
  }
  RepairTool& open(Launcher& launcher) {
    const PageContext context{host.hwnd(), {250, 1385, 8535, 6515}, fonts, 15, launcher, boxes, root.path()};
    page = std::make_unique<RepairTool>(context);
    page->setVisible(true);
    return *page;
  }
  static bool isPageTurn(HWND child) {
    const std::wstring text = windowText(child);
    return text == repairtool_text::LblPre || text == repairtool_text::LblNext;
  }
  // The visible children of that class; the page-turn labels, buttons too, only
  // when asked for.
  std::vector<Child> visibleChildren(const wchar_t* className, bool pageTurns = false) const {
    std::vector<Child> found;
    for (HWND child = FindWindowExW(page->hwnd(), nullptr, className, nullptr); child;
         child = FindWindowExW(page->hwnd(), child, className, nullptr)) {
      if (!IsWindowVisible(child) || isPageTurn(child) != pageTurns) continue;
      RECT rect;
      GetWindowRect(child, &rect);
      MapWindowPoints(HWND_DESKTOP, page->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
      found.push_back({windowText(child), rect});
    }
    return found;
  }
  // The tool buttons' windows, shown or not.
  int buttonWindows() const {
    int count = 0;
    for (HWND child = FindWindowExW(page->hwnd(), nullptr, L"Button", nullptr); child;
         child = FindWindowExW(page->hwnd(), child, L"Button", nullptr)) {
      if (!isPageTurn(child)) ++count;
    }
    return count;
  }
  // The page as the screen shows it.
  std::vector<DWORD> pagePixels() const {
    RECT client;
    GetClientRect(page->hwnd(), &client);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB};
    void* bits = nullptr;
    UniqueBitmap copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.get(), copy.get());
    BitBlt(dc.get(), 0, 0, client.right, client.bottom, WindowDc(page->hwnd()).get(), 0, 0, SRCCOPY);
    GdiFlush();
    return std::vector<DWORD>(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + client.right * client.bottom);
  }
  // A turn repaints only what it changed: the page must look as a full repaint draws it.
  bool paintedWhole() const {
    UpdateWindow(page->hwnd());
    const std::vector<DWORD> turned = pagePixels();
    RedrawWindow(page->hwnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return pagePixels() == turned;
  }
  HWND label(const wchar_t* caption) const { return FindWindowExW(page->hwnd(), nullptr, L"Static", caption); }
  void clickLabel(const wchar_t* caption) const {
    SendMessageW(FindWindowExW(page->hwnd(), nullptr, L"Button", caption), BM_CLICK, 0, 0);
  }

  ScratchDirectory root{L"repairtool"};
  Host host;
  UiFonts fonts;
  testing::FakeLauncher fakeLauncher;
  SystemMessageBoxes boxes;
  std::unique_ptr<RepairTool> page;
};

TEST_F(RepairToolPage, TwentyFiveEntriesShowAPageOf24ThenEntry25AloneAndBack) {
  writeCatalogue(25);
  open(fakeLauncher);
  EXPECT_EQ(page->ToolCount(), 25);
  const std::vector<Child> firstPage = visibleChildren(L"Button");
  ASSERT_EQ(firstPage.size(), 24u);
  EXPECT_EQ(firstPage[0].text, L"工具1");
  EXPECT_EQ(firstPage[0].place.left, 40);  // 600 twips
  EXPECT_EQ(firstPage[0].place.top, 13);   // 200 twips, held in whole pixels
  EXPECT_EQ(firstPage[1].place.left, firstPage[0].place.right + 67);  // 1000 twips after its neighbour

  clickLabel(L"后一页");
  EXPECT_TRUE(paintedWhole());
  const std::vector<Child> secondPage = visibleChildren(L"Button");
  ASSERT_EQ(secondPage.size(), 1u);
  EXPECT_EQ(secondPage[0].text, L"工具25");
  EXPECT_EQ(secondPage[0].place.left, 40);
  EXPECT_EQ(secondPage[0].place.top, 13);
  clickLabel(L"后一页");
  EXPECT_EQ(visibleChildren(L"Button").size(), 1u);

  clickLabel(L"前一页");
  EXPECT_TRUE(paintedWhole());
  const std::vector<Child> again = visibleChildren(L"Button");
  ASSERT_EQ(again.size(), 24u);
  for (size_t i = 0; i < 24; ++i) {
    EXPECT_EQ(again[i].text, firstPage[i].text);
    EXPECT_TRUE(EqualRect(&again[i].place, &firstPage[i].place)) << i;
  }
  // The template and one page of buttons: no window per entry.
  EXPECT_LE(buttonWindows(), 25);
}

TEST_F(RepairToolPage, AFullCatalogueLoadsWithOnePageOfWindows) {
  writeCatalogue(32800);
  open(fakeLauncher);
  EXPECT_EQ(page->ToolCount(), 32767);
  EXPECT_EQ(buttonWindows(), 25);
  clickLabel(L"后一页");
  clickLabel(L"后一页");
  const std::vector<Child> thirdPage = visibleChildren(L"Button");
  ASSERT_EQ(thirdPage.size(), 24u);
  EXPECT_EQ(thirdPage[0].text, L"工具49");
  EXPECT_EQ(thirdPage[23].text, L"工具72");
  EXPECT_EQ(buttonWindows(), 25);
}

TEST_F(RepairToolPage, TheLabelsSitBesideTheMiddleOfThePage) {
  writeCatalogue(3);
  open(fakeLauncher);
  const std::vector<Child> labels = visibleChildren(L"Button", true);
  ASSERT_EQ(labels.size(), 2u);
  for (const Child& child : labels) {
    const bool previous = child.text == L"前一页";
    EXPECT_TRUE(previous || child.text == L"后一页");
    EXPECT_EQ(child.place.left, previous ? 109 : 418);  // 1637.5 and 6267.5 twips
    // 6115 twips on a page of 6515, which is held as 434 pixels (6510 twips).
    EXPECT_EQ(child.place.top, 407);
    EXPECT_EQ(child.place.right - child.place.left, 42);
  }
}

TEST_F(RepairToolPage, AMissingCatalogueLeavesAnEmptyPageThatSaysSo) {
  open(fakeLauncher);
  EXPECT_EQ(page->ToolCount(), 0);
  EXPECT_TRUE(visibleChildren(L"Button").empty());
  EXPECT_NE(label(repairtool_text::CatalogueMissing), nullptr);
  clickLabel(L"后一页");
  clickLabel(L"前一页");
  EXPECT_EQ(page->PageEnd(), 24);
}

TEST_F(RepairToolPage, RecordsWithoutATabAreSkipped) {
  writeCatalogue(2, "\r\n\r\nno tab\r\n\xB9\xA4\xBE\xDF" "3\t9 x.cmd\r\n");
  open(fakeLauncher);
  EXPECT_EQ(page->ToolCount(), 3);
  HWND third = FindWindowExW(page->hwnd(), nullptr, L"Button", L"工具3");
  ASSERT_NE(third, nullptr);
  SendMessageW(third, BM_CLICK, 0, 0);
  EXPECT_EQ(fakeLauncher.ownFileRequests,
            (std::vector<OwnFileRequest>{{page->hwnd(), root.path(), L"\\tooll\\x.cmd", ShowNormal}}));
}

// Notepad's UTF-8 without a mark, at any code page (this also runs at 1252 and 65001).
TEST_F(RepairToolPage, ACatalogueSavedAsUtf8WithoutAMarkShowsItsChineseEntries) {
  CreateDirectoryW((root.path() + L"\\tooll").c_str(), nullptr);
  ASSERT_TRUE(testing::writeFile(root.path() + L"\\tooll\\tool.txt", wideToUtf8(L"工具1\tfix.cmd\r\n工具2\tb.cmd\r\n")));
  open(fakeLauncher);
  EXPECT_EQ(page->ToolCount(), 2);
  EXPECT_NE(FindWindowExW(page->hwnd(), nullptr, L"Button", L"工具2"), nullptr);
}

// A click runs a copy of what the folder held, by the real cmd from the system folder:
// not a per-user .cmd association, not the file as changed afterwards.
TEST_F(RepairToolPage, AClickStartsACopyOfWhatItCheckedByTheRealCmd) {
  const ScratchDirectory out(L"repairout");
  const std::wstring standIn = out.path() + L"\\standin.exe";
  ASSERT_TRUE(CopyFileW((testing::binaryDirectory() + L"\\marker.exe").c_str(), standIn.c_str(), FALSE));
  const testing::UserClassOverride userClasses({{L".cmd", L"cmdfile"},
                                                {L"cmdfile\\shell\\open\\command", L"\"" + standIn + L"\" \"%1\""}});
  const testing::MarkerLog markers(out.path());
  SetEnvironmentVariableW(L"KELVANE_OUT", out.path().c_str());
  CreateDirectoryW((root.path() + L"\\tooll").c_str(), nullptr);
  // It waits for "go" between its two steps; "finished" and "swappedx" are as
  // long as each other, so a cmd reading the changed file in place would run it.
  const std::string script =
      "@echo off\r\ncd > \"%KELVANE_OUT%\\cwd.txt\"\r\necho x> \"%KELVANE_OUT%\\started.txt\"\r\n:wait\r\n"
      "if not exist \"%KELVANE_OUT%\\go\" goto wait\r\necho x> \"%KELVANE_OUT%\\finished.txt\"\r\n";
  ASSERT_TRUE(testing::writeFile(root.path() + L"\\tooll\\t.cmd", script));
  ASSERT_TRUE(testing::writeFile(root.path() + L"\\tooll\\tool.txt", "Script\t2. t.cmd\r\n"));
  SystemLauncher launcher;
  open(launcher);
  PostMessageW(FindWindowExW(page->hwnd(), nullptr, L"Button", L"Script"), BM_CLICK, 0, 0);
  ASSERT_TRUE(waitUntil([&] { return fileExists(out.path() + L"\\started.txt"); }));
  std::string swapped = script;
  swapped.replace(swapped.find("finished"), 8, "swappedx");
  ASSERT_TRUE(testing::writeFile(root.path() + L"\\tooll\\t.cmd", swapped));
  ASSERT_TRUE(testing::writeFile(out.path() + L"\\go", ""));
  EXPECT_TRUE(waitUntil([&] { return fileExists(out.path() + L"\\finished.txt"); }));
  EXPECT_FALSE(fileExists(out.path() + L"\\swappedx.txt"));
  const std::string folder = readFileBytes(out.path() + L"\\cwd.txt").value_or("");
  EXPECT_NE(folder.find("system32"), std::string::npos) << folder;
  EXPECT_TRUE(markers.runs().empty()) << "the per-user association ran";
  SetEnvironmentVariableW(L"KELVANE_OUT", nullptr);
}

}  // namespace
}  // namespace kelvane
