// The installed catalogue and repair programs, and both tool pages in the running
// program.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/Files.h"
#include "common/ItemReader.h"
#include "common/Handles.h"
#include "common/OwnFileCopies.h"
#include "shell/Frmmain.h"
#include "shell/FrmmainText.h"
#include "tests/win/TestSupport.h"
#include "tools/SysToolCommands.h"
#include "tools/ToolCatalogue.h"

namespace kelvane {
namespace {

using testing::fileExists;
using testing::installedAppDirectory;
using testing::waitUntil;

// Strict GBK decoding: nothing when the bytes are not valid in code page 936.
std::optional<std::wstring> decodeGbk(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                       nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring text(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
  return text;
}

std::vector<ToolRecord> installedEntries() {
  const std::optional<std::string> bytes = readFileBytes(installedAppDirectory() + L"\\tooll\\tool.txt");
  if (!bytes) return {};
  std::vector<std::wstring> records;
  for (const std::string& item : readItems(*bytes)) records.push_back(decodeGbk(item).value_or(L"?"));
  return toolEntries(records);
}

TEST(InstalledCatalogue, IsGbkAndEveryRecordNamesAProgramThatExists) {
  const std::optional<std::string> bytes = readFileBytes(installedAppDirectory() + L"\\tooll\\tool.txt");
  ASSERT_TRUE(bytes);
  ASSERT_TRUE(decodeGbk(*bytes));
  const std::vector<ToolRecord> entries = installedEntries();
  EXPECT_GE(entries.size(), 10u);
  EXPECT_LE(entries.size(), 20u);
  // Every line is a record: none is lost for want of a TAB.
  EXPECT_EQ(readItems(*bytes).size(), entries.size());
  for (const ToolRecord& entry : entries) {
    EXPECT_FALSE(entry.caption.empty());
    EXPECT_TRUE(fileExists(installedAppDirectory() + L"\\tooll\\" + entry.file)) << entry.file;
  }
}

TEST(InstalledCatalogue, EveryRepairProgramIsAGbkBatchFileThatWaitsBeforeItCloses) {
  for (const ToolRecord& entry : installedEntries()) {
    const std::optional<std::string> bytes = readFileBytes(installedAppDirectory() + L"\\tooll\\" + entry.file);
    ASSERT_TRUE(bytes) << entry.file;
    const std::optional<std::wstring> text = decodeGbk(*bytes);
    ASSERT_TRUE(text) << entry.file << " is not GBK";
    // Every line ends in CR LF, as cmd reads it.
    for (size_t i = 0; i < bytes->size(); ++i) {
      if ((*bytes)[i] == '\n') {
        ASSERT_TRUE(i > 0 && (*bytes)[i - 1] == '\r') << entry.file;
      }
    }
    // Only characters whose both bytes lie above ASCII, so none can be taken for
    // a backslash, caret or pipe by a parser that reads bytes.
    for (size_t i = 0; i < bytes->size(); ++i) {
      const auto byte = static_cast<unsigned char>((*bytes)[i]);
      if (byte < 0x80) continue;
      ASSERT_LT(i + 1, bytes->size());
      EXPECT_GE(static_cast<unsigned char>((*bytes)[i + 1]), 0xA1) << entry.file << " at " << i;
      ++i;
    }
    // They run with administrator rights: from the system folder, so that no program
    // planted beside them runs in place of a system one, and never "del /s", which
    // follows a junction planted below the folder it empties.
    EXPECT_NE(text->find(L"cd /d \"%SystemRoot%\\System32\""), std::wstring::npos) << entry.file;
    for (size_t del = text->find(L"del "); del != std::wstring::npos; del = text->find(L"del ", del + 1)) {
      const size_t lineStart = text->rfind(L'\n', del) + 1;  // npos + 1 is 0: the first line
      if (text->compare(text->find_first_not_of(L' ', lineStart), 4, L"rem ") == 0) continue;
      const std::wstring command = text->substr(del, text->find(L'\r', del) - del);
      EXPECT_EQ(command.find(L" /s"), std::wstring::npos) << entry.file << ": " << ::testing::PrintToString(command);
    }
    EXPECT_NE(text->find(L"pause"), std::wstring::npos) << entry.file;
    EXPECT_NE(text->find(L"本程序"), std::wstring::npos) << entry.file << " says what it does";
  }
}

// A link in the temp folder or on its path never leads the cleaner elsewhere. Wine's set /p
// reads all there is: a file of one Y answers the first question, and the second (system) No.
TEST(InstalledCatalogue, TheTempCleanerLeavesWhatALinkInOrOnTheTempFolderLeadsTo) {
  testing::ScratchDirectory temp{L"clean-temp"}, elsewhere{L"clean-elsewhere"};
  const std::wstring answers = elsewhere.path() + L"\\y.txt", withTemp = elsewhere.path() + L"\\with-temp.cmd";
  ASSERT_TRUE(testing::writeFile(answers, "Y\r\n") && testing::writeFile(elsewhere.path() + L"\\keep.txt", "kept"));
  // TEMP for the script alone; TMP too, where Wine's cmd leaves files of its own.
  ASSERT_TRUE(testing::writeFile(withTemp, "@set \"TEMP=%~1\"\r\n@set \"TMP=%~1\"\r\n@call \"%~2\"\r\n"));
  ASSERT_TRUE(testing::writeFile(temp.path() + L"\\junk.tmp", "junk"));
  const testing::UnixLink inside(elsewhere.path(), temp.path() + L"\\linked");
  const testing::UnixLink onThePath(elsewhere.path(), temp.path() + L"\\through");
  ASSERT_TRUE(inside.made && onThePath.made);
  for (const std::wstring& folder : {onThePath.path, temp.path()}) {
    EXPECT_EQ(testing::runToEnd(L"\"" + nativeSystemFolder() + L"\\cmd.exe\" /d /c \"\"" + withTemp + L"\" \"" + folder +
                                L"\" \"" + installedAppDirectory() + L"\\tooll\\CleanTemp.cmd\" < \"" + answers + L"\" >nul\""),
              0u);
    EXPECT_EQ(readFileBytes(elsewhere.path() + L"\\keep.txt"), "kept");
  }
  EXPECT_FALSE(fileExists(temp.path() + L"\\junk.tmp"));  // the answer came, and the real folder was cleaned
}

class ToolPagesInTheProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<testing::RunningApp>();
    main_ = app_->mainWindow();
    ASSERT_NE(main_, nullptr);
  }
  HWND showPage(int index, const wchar_t* title) {
    HWND menuBar = FindWindowExW(main_, nullptr, L"KelvanePanel", L"Menu");
    PostMessageW(FindWindowExW(menuBar, nullptr, L"Button", frmmain_text::PageButtons[index].data()), BM_CLICK, 0, 0);
    HWND page = FindWindowExW(main_, nullptr, L"KelvanePanel", title);
    waitUntil([&] { return IsWindowVisible(page) != FALSE; });
    return page;
  }

  std::unique_ptr<testing::RunningApp> app_;  // ends the program after each test
  HWND main_ = nullptr;
};

TEST_F(ToolPagesInTheProgram, TheRepairToolPageShowsOneButtonPerCatalogueEntry) {
  HWND page = showPage(1, L"维护工具");
  ASSERT_TRUE(IsWindowVisible(page));
  for (const ToolRecord& entry : installedEntries()) {
    HWND button = FindWindowExW(page, nullptr, L"Button", entry.caption.c_str());
    ASSERT_NE(button, nullptr) << entry.file;
    EXPECT_TRUE(IsWindowVisible(button));
  }
  EXPECT_NE(FindWindowExW(page, nullptr, L"Button", L"前一页"), nullptr);
  EXPECT_NE(FindWindowExW(page, nullptr, L"Button", L"后一页"), nullptr);
}

TEST_F(ToolPagesInTheProgram, TheSystemUtilityPageShowsItsTenButtonsAndTheWarning) {
  HWND page = showPage(2, L"系统工具");
  ASSERT_TRUE(IsWindowVisible(page));
  for (const SysUtility& utility : SysUtilities) {
    EXPECT_NE(FindWindowExW(page, nullptr, L"Button", std::wstring(utility.caption).c_str()), nullptr);
  }
  EXPECT_NE(FindWindowExW(page, nullptr, L"Static", std::wstring(systool_text::Warning).c_str()), nullptr);
}

// ---- The keyboard -------------------------------------------------------------
//
// Keys are posted to the window that has the program's focus, so they pass
// through its message loop and dialog manager as typed keys do.

HWND focusOf(HWND main) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
  return info.hwndFocus;
}

void press(HWND main, UINT key) {
  HWND target = focusOf(main);
  if (!target) target = main;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

// Presses Tab and waits until the focus has moved; the keys posted before it have
// then been handled too, since the program takes posted messages in order.
HWND pressTab(HWND main) {
  const HWND before = focusOf(main);
  press(main, VK_TAB);
  waitUntil([&] { return focusOf(main) != before; }, std::chrono::milliseconds(5000));
  return focusOf(main);
}

BOOL CALLBACK addTabStop(HWND child, LPARAM data) {
  if (IsWindowVisible(child) && IsWindowEnabled(child) && (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP)) {
    reinterpret_cast<std::set<HWND>*>(data)->insert(child);
  }
  return TRUE;
}

// Every control Tab should reach: visible, enabled, a tab stop.
std::set<HWND> tabStops(HWND main) {
  std::set<HWND> stops;
  EnumChildWindows(main, addTabStop, reinterpret_cast<LPARAM>(&stops));
  return stops;
}

// The controls Tab visits, once round, starting with the one after the focus.
std::vector<HWND> tabWalk(HWND main) {
  std::vector<HWND> visited{pressTab(main)};
  for (int i = 0; i < 200; ++i) {
    const HWND now = pressTab(main);
    if (now == visited.front()) break;
    visited.push_back(now);
  }
  return visited;
}

class KeyboardInTheProgram : public ::testing::Test {
 protected:
  // The program with a catalogue of 30 entries, two pages.
  void SetUp() override {
    ASSERT_TRUE(CopyFileW((installedAppDirectory() + L"\\Kelvane.exe").c_str(), (folder_.path() + L"\\Kelvane.exe").c_str(),
                          FALSE));
    CreateDirectoryW((folder_.path() + L"\\tooll").c_str(), nullptr);
    std::string catalogue;
    for (int i = 1; i <= 30; ++i) catalogue += "\xB9\xA4\xBE\xDF" + std::to_string(i) + "\tt.cmd\r\n";  // 工具i
    ASSERT_TRUE(testing::writeFile(folder_.path() + L"\\tooll\\tool.txt", catalogue));
    app_ = std::make_unique<testing::RunningApp>(folder_.path());
    main_ = app_->mainWindow();
    ASSERT_NE(main_, nullptr);
  }
  HWND showPage(int index, const wchar_t* title) const {
    HWND menuBar = FindWindowExW(main_, nullptr, L"KelvanePanel", L"Menu");
    PostMessageW(FindWindowExW(menuBar, nullptr, L"Button", frmmain_text::PageButtons[index].data()), BM_CLICK, 0, 0);
    HWND page = FindWindowExW(main_, nullptr, L"KelvanePanel", title);
    waitUntil([&] { return IsWindowVisible(page) && focusOf(main_) != nullptr; });
    return page;
  }
  bool shows(HWND page, const wchar_t* caption) const {
    return IsWindowVisible(FindWindowExW(page, nullptr, L"Button", caption)) != FALSE;
  }
  // Tabs on until the focus is on that control.
  bool tabTo(HWND control) const {
    for (int i = 0; i < 60 && focusOf(main_) != control; ++i) pressTab(main_);
    return focusOf(main_) == control;
  }

  testing::ScratchDirectory folder_{L"keyboard"};
  std::unique_ptr<testing::RunningApp> app_;
  HWND main_ = nullptr;
};

TEST_F(KeyboardInTheProgram, TabReachesEveryControlOfEachPageOnceRound) {
  const wchar_t* titles[] = {L"排除向导", L"维护工具", L"系统工具", L"病毒探测"};
  for (int index = 0; index < 4; ++index) {
    HWND page = showPage(index, titles[index]);
    ASSERT_TRUE(IsWindowVisible(page)) << index;
    // The page settled: its controls the same for a moment.
    std::set<HWND> expected = tabStops(main_);
    for (int i = 0; i < 20; ++i) {
      Sleep(200);
      const std::set<HWND> now = tabStops(main_);
      if (now == expected) break;
      expected = now;
    }
    const std::vector<HWND> walk = tabWalk(main_);
    const std::set<HWND> stops(walk.begin(), walk.end());
    std::printf("page %d: %zu tab stops\n", index, walk.size());
    EXPECT_EQ(stops.size(), walk.size()) << "a control was visited twice on page " << index;
    EXPECT_EQ(stops, expected) << "page " << index;
    if (index == 1) {
      // Five page buttons, 24 tools and the two page-turn labels.
      EXPECT_EQ(walk.size(), 31u);
      EXPECT_TRUE(stops.contains(FindWindowExW(page, nullptr, L"Button", L"前一页")));
      EXPECT_TRUE(stops.contains(FindWindowExW(page, nullptr, L"Button", L"后一页")));
    }
  }
}

TEST_F(KeyboardInTheProgram, EnterSpaceAndThePageKeysTurnTheRepairPagesAndStopAtTheEnds) {
  HWND page = showPage(1, L"维护工具");
  ASSERT_TRUE(shows(page, L"工具1"));
  HWND next = FindWindowExW(page, nullptr, L"Button", L"后一页");
  HWND previous = FindWindowExW(page, nullptr, L"Button", L"前一页");
  ASSERT_TRUE(tabTo(next));
  press(main_, VK_RETURN);
  EXPECT_TRUE(waitUntil([&] { return shows(page, L"工具25"); }));
  EXPECT_FALSE(shows(page, L"工具1"));
  press(main_, VK_RETURN);  // no third page: nothing changes
  ASSERT_TRUE(tabTo(previous));
  EXPECT_TRUE(shows(page, L"工具25"));
  press(main_, VK_SPACE);
  EXPECT_TRUE(waitUntil([&] { return shows(page, L"工具1"); }));
  EXPECT_FALSE(shows(page, L"工具25"));

  // The page keys work wherever the focus is: here on a page button.
  showPage(1, L"维护工具");
  press(main_, VK_NEXT);
  EXPECT_TRUE(waitUntil([&] { return shows(page, L"工具30"); }));
  press(main_, VK_NEXT);  // no third page
  press(main_, VK_PRIOR);
  EXPECT_TRUE(waitUntil([&] { return shows(page, L"工具1"); }));
  press(main_, VK_PRIOR);  // no page before the first
  pressTab(main_);
  EXPECT_TRUE(shows(page, L"工具1"));
  // With another page on show the repair page stays where it is.
  showPage(2, L"系统工具");
  press(main_, VK_NEXT);
  showPage(1, L"维护工具");
  EXPECT_TRUE(shows(page, L"工具1"));
}

// Screen readers say a control's window text: every control a user can act on,
// the picture-only frame images included, has its name there.
TEST_F(KeyboardInTheProgram, EveryControlAUserCanActOnIsNamed) {
  for (int index = 0; index < 4; ++index) {
    const wchar_t* titles[] = {L"排除向导", L"维护工具", L"系统工具", L"病毒探测"};
    showPage(index, titles[index]);
    for (HWND control : tabStops(main_)) {
      EXPECT_FALSE(testing::windowText(control).empty()) << "an unnamed control on page " << index;
    }
  }
  EXPECT_EQ(testing::windowText(GetDlgItem(main_, IdImmin)), L"最小化");
  EXPECT_EQ(testing::windowText(GetDlgItem(main_, IdImclose)), L"关闭");
  EXPECT_EQ(testing::windowText(GetDlgItem(main_, IdImmax)), L"最大化");
  // The maximise image's tip changes once the pointer has been over the window;
  // its name changes with it.
  PostMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(300, 300));
  EXPECT_TRUE(waitUntil([&] { return testing::windowText(GetDlgItem(main_, IdImmax)) == L"最大化不可用"; }));
}

}  // namespace
}  // namespace kelvane
