// Bad input on the real program: the laid-out application directory is copied,
// damaged in one way, and the program started on the copy and driven through
// its windows. Every case checks that the program still runs and answers, that
// the user is told in Chinese what is wrong where a click cannot do what it
// says, and that no file of the application directory has changed.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/Files.h"
#include "shell/FrmmainText.h"
#include "tests/win/TestSupport.h"
#include "tools/RepairTool.h"
#include "tools/ToolCatalogue.h"
#include "wizard/RecordText.h"

namespace kelvane {
namespace {

using testing::RunningApp;
using testing::waitUntil;
using testing::windowText;
using std::chrono::milliseconds;

// Every file under a folder, by its path relative to the folder, with its bytes.
using Snapshot = std::map<std::wstring, std::string>;

void copyTree(const std::wstring& from, const std::wstring& to) {
  CreateDirectoryW(to.c_str(), nullptr);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      copyTree(from + L"\\" + name, to + L"\\" + name);
    } else {
      CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void addToSnapshot(const std::wstring& root, const std::wstring& relative, Snapshot& files) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((root + relative + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring child = relative + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      files[child + L"\\"] = "<folder>";
      addToSnapshot(root, child, files);
    } else {
      files[child] = readFileBytes(root + child).value_or("<unreadable>");
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

Snapshot snapshot(const std::wstring& root) {
  Snapshot files;
  addToSnapshot(root, L"", files);
  return files;
}

std::string inCodePage(UINT codePage, std::wstring_view text) {
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}
// What the damaged files hold.
std::string gbk(std::wstring_view text) { return inCodePage(936, text); }
// For failure messages, which the terminal shows as UTF-8.
std::string utf8(std::wstring_view text) { return inCodePage(CP_UTF8, text); }

bool contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// The installed record file of a topic as the wizard shows it.
std::wstring installedTopicText(const std::wstring& topic) {
  std::wstring text;
  for (const std::wstring& item : readItemFile(testing::installedAppDirectory() + L"\\data\\" + topic + L".Rd")
                                      .value_or(std::vector<std::wstring>{})) {
    text += item + L"\r\n";
  }
  return text;
}

// One copy of the application directory, damaged by the test, and the program
// running on it.
class DamagedApp : public ::testing::Test {
 protected:
  // Copies the application directory into a folder of this name.
  void prepare(const std::wstring& folder = L"Kelvane") {
    app_ = scratch_.path() + L"\\" + folder;
    copyTree(testing::installedAppDirectory(), app_);
    ASSERT_TRUE(testing::fileExists(app_ + L"\\Kelvane.exe"));
  }
  std::wstring path(const std::wstring& relative) const { return app_ + L"\\" + relative; }
  void write(const std::wstring& relative, const std::string& bytes) const {
    ASSERT_TRUE(testing::writeFile(path(relative), bytes)) << "cannot write " << utf8(relative);
  }
  std::string read(const std::wstring& relative) const { return readFileBytes(path(relative)).value_or(""); }

  // Starts the program on the damaged copy, whose files it must leave as they are now.
  void start() {
    before_ = snapshot(app_);
    running_ = std::make_unique<RunningApp>(app_);
    main_ = running_->mainWindow();
    ASSERT_NE(main_, nullptr) << "the main window never appeared";
    processId_ = GetProcessId(running_->process());
  }

  // The program still runs and its window answers within five seconds.
  bool responsive() const {
    if (WaitForSingleObject(running_->process(), 0) != WAIT_TIMEOUT) return false;
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0;
  }
  // Responsive, no message left open, and every file as it was, apart from
  // those the test's own programs were started to write.
  void expectSoundAndUnchanged(const std::vector<std::wstring>& written = {}) {
    EXPECT_TRUE(responsive());
    EXPECT_EQ(testing::openDialog(processId_), nullptr) << "a message is still open";
    Snapshot after = snapshot(app_);
    for (const std::wstring& file : written) after.erase(file);
    EXPECT_EQ(after.size(), before_.size());
    for (const auto& [file, bytes] : before_) {
      const auto now = after.find(file);
      EXPECT_TRUE(now != after.end() && now->second == bytes) << "changed: " << utf8(file);
    }
  }

  // The program's message box: its text, once it has appeared; it is answered OK.
  std::wstring takeMessage() {
    HWND dialog = nullptr;
    if (!waitUntil([&] { return (dialog = testing::openDialog(processId_)) != nullptr; })) return {};
    const std::wstring text = windowText(dialog) + L"|" + testing::dialogText(dialog);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
    return text;
  }
  // No message box within this time.
  bool noMessageFor(milliseconds quiet) const {
    return !waitUntil([&] { return testing::openDialog(processId_) != nullptr; }, quiet);
  }

  HWND page(const wchar_t* title) const { return FindWindowExW(main_, nullptr, L"KelvanePanel", title); }
  HWND showPage(int index, const wchar_t* title) const {
    HWND menuBar = FindWindowExW(main_, nullptr, L"KelvanePanel", L"Menu");
    PostMessageW(FindWindowExW(menuBar, nullptr, L"Button", frmmain_text::PageButtons[index].data()), BM_CLICK, 0,
                 0);
    // The pages not on show may be made only now.
    HWND shown = nullptr;
    waitUntil([&] { return (shown = page(title)) != nullptr && IsWindowVisible(shown); });
    return shown;
  }

  // The wizard page, its controls, and its "系统异常" category.
  HWND wizard() const { return page(L"排除向导"); }
  HWND textBox() const { return FindWindowExW(wizard(), nullptr, L"Edit", nullptr); }
  HWND solutionFrame() const { return RunningApp::findDescendant(wizard(), L"KelvanePanel", L"解决方法"); }
  bool openSystemCategory() const {
    HWND fault = RunningApp::findDescendant(wizard(), L"Button", L"死机");
    PostMessageW(RunningApp::findDescendant(wizard(), L"Button", L"系统异常"), BM_CLICK, 0, 0);
    return waitUntil([&] { return IsWindowVisible(fault) != FALSE; });
  }
  void clickFault(const wchar_t* caption) const {
    PostMessageW(RunningApp::findDescendant(wizard(), L"Button", caption), BM_CLICK, 0, 0);
  }
  // The message a click on a fault of "系统异常" brings up.
  std::wstring faultMessage(const wchar_t* fault) {
    if (!openSystemCategory()) return L"(the category did not open)";
    clickFault(fault);
    return takeMessage();
  }
  // Shows 关机不正常 (sys1), which every wizard case leaves intact; its text.
  std::wstring showIntactTopic() const {
    clickFault(L"关机不正常");
    const std::wstring expected = installedTopicText(L"sys1");
    waitUntil([&] { return IsWindowVisible(textBox()) && testing::controlText(textBox()) == expected; });
    return testing::controlText(textBox());
  }
  // The visible solution captions, top to bottom.
  std::vector<std::wstring> solutions() const {
    std::vector<std::wstring> captions;
    for (HWND label = FindWindowExW(solutionFrame(), nullptr, L"Static", nullptr); label;
         label = FindWindowExW(solutionFrame(), label, L"Static", nullptr)) {
      if (IsWindowVisible(label)) captions.push_back(windowText(label));
    }
    return captions;
  }

  // The repair-tool page's tool buttons on show (the page-turn labels are buttons too).
  std::vector<HWND> toolButtons(HWND tools) const {
    std::vector<HWND> buttons;
    for (HWND button = FindWindowExW(tools, nullptr, L"Button", nullptr); button;
         button = FindWindowExW(tools, button, L"Button", nullptr)) {
      const std::wstring caption = windowText(button);
      if (caption == repairtool_text::LblPre || caption == repairtool_text::LblNext) continue;
      if (IsWindowVisible(button)) buttons.push_back(button);
    }
    return buttons;
  }

  static void clickLabel(HWND tools, const wchar_t* caption) {
    PostMessageW(FindWindowExW(tools, nullptr, L"Button", caption), BM_CLICK, 0, 0);
  }

  static std::string installedIni() {
    return readFileBytes(testing::installedAppDirectory() + L"\\data\\sol.ini").value_or("");
  }
  // Gives one key of the [sys2] section of an INI text a new value.
  static void setInSys2(std::string& ini, const std::string& key, const std::string& value) {
    const size_t section = ini.find("[sys2]");
    size_t line = section == std::string::npos ? section : ini.find("\r\n" + key + "=", section);
    if (line == std::string::npos) {
      ADD_FAILURE() << "sol.ini has no " << key << " in [sys2]";
      return;
    }
    line += 2 + key.size() + 1;
    ini.replace(line, ini.find("\r\n", line) - line, value);
  }

  testing::ScratchDirectory scratch_{L"badinput"};
  std::wstring app_;
  Snapshot before_;
  std::unique_ptr<RunningApp> running_;  // ends the program after each case
  HWND main_ = nullptr;
  DWORD processId_ = 0;
};

// ---- The wizard's record files --------------------------------------------

struct RecordCase {
  const char* name;
  std::string bytes;            // the new sys2.Rd; "-" means no file at all
  std::wstring shown;           // the text box's text, when the topic shows
  std::vector<std::wstring> message;  // parts of the message, when one is due
};

// Lines of Chinese text, `count` bytes in all.
std::string recordOfSize(size_t count) {
  std::string bytes;
  const std::string line = gbk(L"一行说明文字，") + "\r\n";
  while (bytes.size() < count) bytes += line;
  bytes.resize(count - 2);
  return bytes + "\r\n";
}

std::vector<RecordCase> recordCases() {
  return {
      {"Missing", "-", L"", {L"无法读取文件", L"\\data\\sys2.Rd"}},
      {"Empty", "", L"", {}},
      {"TwentyMegabytes", recordOfSize(20 * 1024 * 1024), L"", {L"\\data\\sys2.Rd\n过大（超过 256 KB）", L"请重新安装本程序"}},
      {"NulBytes", std::string("ab\0cd\0,\0e", 9), L"ab cd \r\n e\r\n", {}},
      // Lead bytes without their trail, bytes no GBK character uses, a lone lead
      // byte at the very end.
      {"NotGbk", "ok1\r\n\x81\x20\x80\xFF\x7F,ok2\r\n\xD6", L"", {}},
      {"OnlyCommas", ",,,", L"\r\n\r\n\r\n\r\n", {}},
      {"CarriageReturnsOnly", gbk(L"第一行\r第二行,第三行\r\r第五行"), L"第一行\r\n第二行\r\n第三行\r\n\r\n第五行\r\n", {}},
  };
}

// Test names and failures name a case, not its bytes.
void PrintTo(const RecordCase& damage, std::ostream* out) { *out << damage.name; }

class DamagedRecordFile : public DamagedApp, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(DamagedRecordFile, ShowsWhatItCanAndOtherwiseSaysWhichFileIsDamaged) {
  const RecordCase& damage = GetParam();
  prepare();
  if (damage.bytes == "-") {
    DeleteFileW(path(L"data\\sys2.Rd").c_str());
  } else {
    write(L"data\\sys2.Rd", damage.bytes);
  }
  start();
  ASSERT_TRUE(openSystemCategory());
  const std::wstring intact = showIntactTopic();
  ASSERT_FALSE(intact.empty());

  clickFault(L"死机");
  if (!damage.message.empty()) {
    const std::wstring message = takeMessage();
    for (const std::wstring& part : damage.message) EXPECT_TRUE(contains(message, part)) << utf8(message);
    // The page stays as it was: the intact topic still shows. (Compared without
    // printing: a failure here could hold megabytes of text.)
    EXPECT_TRUE(IsWindowVisible(textBox()));
    EXPECT_TRUE(testing::controlText(textBox()) == intact) << "the text box changed";
  } else {
    ASSERT_TRUE(waitUntil([&] { return testing::controlText(textBox()) != intact; }, milliseconds(20000)));
    EXPECT_TRUE(noMessageFor(milliseconds(300)));
    const std::wstring shown = testing::controlText(textBox());
    if (damage.name == std::string("NotGbk")) {
      // Whatever the code page makes of the bad bytes, the good lines around them show.
      EXPECT_EQ(shown.substr(0, 5), L"ok1\r\n");
      EXPECT_TRUE(contains(shown, L"ok2\r\n"));
    } else {
      EXPECT_EQ(shown, damage.shown);
    }
    EXPECT_TRUE(IsWindowVisible(solutionFrame()));
  }
  expectSoundAndUnchanged();
}

INSTANTIATE_TEST_SUITE_P(Sys2, DamagedRecordFile, ::testing::ValuesIn(recordCases()),
                         [](const auto& test) { return std::string(test.param.name); });

// A record file at the size limit is still a record: it shows, and the program
// answers again.
TEST_F(DamagedApp, ARecordFileAtTheSizeLimitStillShows) {
  prepare();
  write(L"data\\sys2.Rd", recordOfSize(MaxRecordBytes));
  start();
  ASSERT_TRUE(openSystemCategory());
  clickFault(L"死机");
  // Answered only once the click's handler has filled the text box; how long
  // that takes is a figure of the wizard's benchmark.
  ASSERT_TRUE(waitUntil([&] { return SendMessageW(textBox(), WM_GETTEXTLENGTH, 0, 0) > 100000; }));
  EXPECT_TRUE(IsWindowVisible(textBox()));
  expectSoundAndUnchanged();
}

// ---- The solution store's folder and INI file -------------------------------

TEST_F(DamagedApp, WithoutTheDataFolderAFaultSaysWhichFileIsMissing) {
  prepare();
  testing::removeTree(path(L"data"));
  start();
  const std::wstring message = faultMessage(L"死机");
  EXPECT_TRUE(contains(message, L"无法读取文件\n" + path(L"data\\sys2.Rd"))) << utf8(message);
  EXPECT_FALSE(IsWindowVisible(textBox()));
  // The category menu goes on working.
  PostMessageW(RunningApp::findDescendant(wizard(), L"Button", L"启动异常"), BM_CLICK, 0, 0);
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(RunningApp::findDescendant(wizard(), L"Button", L"黑屏")); }));
  expectSoundAndUnchanged();
}

TEST_F(DamagedApp, WithoutSolIniAFaultSaysTheIniFileCannotBeRead) {
  prepare();
  DeleteFileW(path(L"data\\sol.ini").c_str());
  start();
  const std::wstring message = faultMessage(L"死机");
  EXPECT_TRUE(contains(message, L"无法读取文件\n" + path(L"data\\sol.ini"))) << utf8(message);
  EXPECT_FALSE(IsWindowVisible(textBox()));
  expectSoundAndUnchanged();
}

struct CountCase {
  const char* name;
  std::string value;
  int shown;  // solutions shown, or -1 for the damaged-data message
};

void PrintTo(const CountCase& damage, std::ostream* out) { *out << damage.name; }

class DamagedSolutionCount : public DamagedApp, public ::testing::WithParamInterface<CountCase> {};

TEST_P(DamagedSolutionCount, AWholeNumberFrom0To4ShowsAndAnythingElseIsReported) {
  const CountCase& damage = GetParam();
  prepare();
  std::string ini = installedIni();
  setInSys2(ini, "totalcount", damage.value);
  write(L"data\\sol.ini", ini);
  start();
  ASSERT_TRUE(openSystemCategory());
  const std::wstring intact = showIntactTopic();
  const std::vector<std::wstring> intactSolutions = solutions();

  clickFault(L"死机");
  if (damage.shown < 0) {
    const std::wstring message = takeMessage();
    EXPECT_TRUE(contains(message, path(L"data\\sol.ini"))) << utf8(message);
    EXPECT_TRUE(contains(message, L"[sys2] 一节的 totalcount 不是 0 到 4 之间的整数")) << utf8(message);
    EXPECT_TRUE(testing::controlText(textBox()) == intact) << "the text box changed";
    EXPECT_EQ(solutions(), intactSolutions);
  } else {
    ASSERT_TRUE(waitUntil([&] { return testing::controlText(textBox()) == installedTopicText(L"sys2"); }));
    EXPECT_TRUE(noMessageFor(milliseconds(300)));
    EXPECT_EQ(static_cast<int>(solutions().size()), damage.shown);
  }
  expectSoundAndUnchanged();
}

INSTANTIATE_TEST_SUITE_P(Sys2, DamagedSolutionCount,
                         ::testing::Values(CountCase{"Letters", "abc", -1}, CountCase{"Negative", "-1", -1},
                                           CountCase{"AboveFour", "5", -1}, CountCase{"Fraction", "2.5", -1},
                                           // The INI reader drops the blanks around a value.
                                           CountCase{"Blanks", " 3 ", 3}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(DamagedApp, ACaptionOf200BytesShowsItsFirst49BytesWithoutHalfACharacter) {
  prepare();
  std::string ini = installedIni();
  setInSys2(ini, "totalcount", "2");
  setInSys2(ini, "caption1", gbk(std::wstring(100, L'修')));       // 200 bytes
  setInSys2(ini, "caption2", "a" + gbk(std::wstring(99, L'复')));  // 199 bytes
  write(L"data\\sol.ini", ini);
  start();
  ASSERT_TRUE(openSystemCategory());
  clickFault(L"死机");
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(textBox()) != FALSE; }));
  // 24 characters are 48 bytes: the 49th byte would be half of the 25th.
  EXPECT_EQ(solutions(), (std::vector<std::wstring>{std::wstring(24, L'修'), L"a" + std::wstring(24, L'复')}));
  expectSoundAndUnchanged();
}

// ---- The tool catalogue ------------------------------------------------------

TEST_F(DamagedApp, WithoutTheToolFolderTheRepairPageSaysSo) {
  prepare();
  testing::removeTree(path(L"tooll"));
  start();
  HWND tools = showPage(1, L"维护工具");
  HWND note = FindWindowExW(tools, nullptr, L"Static", repairtool_text::CatalogueMissing);
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(IsWindowVisible(note));
  EXPECT_TRUE(toolButtons(tools).empty());
  expectSoundAndUnchanged();
}

TEST_F(DamagedApp, AnEmptyCatalogueLeavesAnEmptyPageThatSaysSo) {
  prepare();
  write(L"tooll\\tool.txt", "");
  start();
  HWND tools = showPage(1, L"维护工具");
  HWND note = FindWindowExW(tools, nullptr, L"Static", repairtool_text::CatalogueEmpty);
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(IsWindowVisible(note));
  EXPECT_TRUE(toolButtons(tools).empty());
  clickLabel(tools, repairtool_text::LblNext);
  expectSoundAndUnchanged();
}

TEST_F(DamagedApp, ACatalogueOf40000EntriesLoadsItsFirst32767AndSaysTheRestWasLeftOut) {
  prepare();
  std::string catalogue;
  for (int i = 1; i <= 40000; ++i) catalogue += gbk(L"工具") + std::to_string(i) + "\tSysSummary.cmd\r\n";
  write(L"tooll\\tool.txt", catalogue);
  start();
  HWND tools = showPage(1, L"维护工具");
  EXPECT_EQ(toolButtons(tools).size(), 24u);
  EXPECT_NE(FindWindowExW(tools, nullptr, L"Button", L"工具1"), nullptr);
  HWND note = FindWindowExW(tools, nullptr, L"Static", repairtool_text::CatalogueCut);
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(IsWindowVisible(note));
  clickLabel(tools, repairtool_text::LblNext);
  // The page turn gives a button its caption before it shows it.
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(FindWindowExW(tools, nullptr, L"Button", L"工具25")) != FALSE; }));
  EXPECT_EQ(toolButtons(tools).size(), 24u);
  // Page Down past the end: the last page holds entries 32761 to 32767 and no more.
  for (int i = 0; i < 1400; ++i) PostMessageW(main_, WM_KEYDOWN, VK_NEXT, 0);
  // (A turn renames the buttons before it shows and hides them in one batch.)
  const auto onLastPage = [&] {
    return IsWindowVisible(FindWindowExW(tools, nullptr, L"Button", L"工具32767")) && toolButtons(tools).size() == 7;
  };
  EXPECT_TRUE(waitUntil(onLastPage, milliseconds(120000)));
  // The page keys beyond the last page change nothing.
  EXPECT_FALSE(waitUntil([&] { return !onLastPage(); }, milliseconds(500)));
  EXPECT_TRUE(responsive());
  EXPECT_EQ(FindWindowExW(tools, nullptr, L"Button", L"工具32768"), nullptr);
  EXPECT_TRUE(IsWindowVisible(note));
  expectSoundAndUnchanged();
}

TEST_F(DamagedApp, ARecordOf1MegabyteGetsAShortCaptionAndTheRestLoads) {
  prepare();
  const std::wstring huge(512 * 1024, L'长');  // 1 MiB in GBK, in the left column
  const std::wstring long100(100, L'宽');      // beside it in the right column
  write(L"tooll\\tool.txt", gbk(huge + L"\tSysSummary.cmd\r\n" + long100 + L"\tDiskSpace.cmd\r\n") +
                                read(L"tooll\\tool.txt"));
  start();
  HWND tools = showPage(1, L"维护工具");
  HWND left = FindWindowExW(tools, nullptr, L"Button", (std::wstring(MaxToolCaptionChars - 1, L'长') + L"…").c_str());
  HWND right = FindWindowExW(tools, nullptr, L"Button", (std::wstring(MaxToolCaptionChars - 1, L'宽') + L"…").c_str());
  ASSERT_TRUE(left && right);
  RECT leftPlace, rightPlace, area;
  GetWindowRect(left, &leftPlace);
  GetWindowRect(right, &rightPlace);
  MapWindowPoints(HWND_DESKTOP, tools, reinterpret_cast<POINT*>(&rightPlace), 2);
  GetClientRect(tools, &area);
  std::printf("cut captions: buttons of %ld and %ld pixels, right edge at %ld of %ld\n",
              leftPlace.right - leftPlace.left, rightPlace.right - rightPlace.left, rightPlace.right, area.right);
  EXPECT_LE(rightPlace.right, area.right) << "two cut captions no longer fit side by side";
  EXPECT_NE(FindWindowExW(tools, nullptr, L"Button", L"刷新DNS缓存"), nullptr);
  expectSoundAndUnchanged();
}

TEST_F(DamagedApp, ACatalogueWithCarriageReturnsOnlyLoadsEveryLine) {
  prepare();
  write(L"tooll\\tool.txt", gbk(L"甲工具\tSysSummary.cmd\r乙工具\tDiskSpace.cmd\r\r丙工具\tFlushDns.cmd"));
  start();
  HWND tools = showPage(1, L"维护工具");
  EXPECT_EQ(toolButtons(tools).size(), 3u);
  for (const wchar_t* caption : {L"甲工具", L"乙工具", L"丙工具"}) {
    EXPECT_NE(FindWindowExW(tools, nullptr, L"Button", caption), nullptr) << utf8(caption);
  }
  expectSoundAndUnchanged();
}

TEST_F(DamagedApp, AnEntryWhoseProgramIsMissingSaysSoInChinese) {
  prepare();
  write(L"tooll\\tool.txt", gbk(L"丢失的工具\tMissing.cmd\r\n") + read(L"tooll\\tool.txt"));
  start();
  HWND tools = showPage(1, L"维护工具");
  HWND button = FindWindowExW(tools, nullptr, L"Button", L"丢失的工具");
  ASSERT_NE(button, nullptr);
  PostMessageW(button, BM_CLICK, 0, 0);
  const std::wstring message = takeMessage();
  EXPECT_TRUE(contains(message, L"维护工具|找不到维护工具程序")) << utf8(message);
  EXPECT_TRUE(contains(message, path(L"tooll\\Missing.cmd"))) << utf8(message);
  EXPECT_TRUE(noMessageFor(milliseconds(500))) << "a second message";
  expectSoundAndUnchanged();
}

// ---- Unusual names of the application directory -----------------------------

class UnusualAppFolder : public DamagedApp, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(UnusualAppFolder, FindsItsDataShowsTheWizardAndStartsCatalogueTools) {
  prepare(GetParam());
  // A program and a batch file of the catalogue that leave a mark when they run.
  ASSERT_TRUE(CopyFileW((testing::binaryDirectory() + L"\\marker.exe").c_str(), path(L"tooll\\Marker.exe").c_str(),
                        FALSE));
  // They run from copies elsewhere, so they leave their marks in a log of their own.
  const testing::ScratchDirectory marks(L"unusual-marks");
  const testing::MarkerLog markers(marks.path());
  write(L"tooll\\Probe.cmd", "@echo off\r\necho ran> \"%KELVANE_MARKER_LOG%.probe\"\r\n");
  write(L"tooll\\tool.txt", read(L"tooll\\tool.txt") + gbk(L"标记程序\tMarker.exe\r\n批处理\tProbe.cmd\r\n"));
  start();

  ASSERT_TRUE(openSystemCategory());
  clickFault(L"死机");
  EXPECT_TRUE(waitUntil([&] { return testing::controlText(textBox()) == installedTopicText(L"sys2"); }));
  EXPECT_EQ(solutions().size(), 4u);

  HWND tools = showPage(1, L"维护工具");
  for (const wchar_t* caption : {L"标记程序", L"批处理"}) {
    HWND button = FindWindowExW(tools, nullptr, L"Button", caption);
    ASSERT_NE(button, nullptr) << utf8(caption);
    PostMessageW(button, BM_CLICK, 0, 0);
  }
  EXPECT_TRUE(waitUntil([&] { return markers.runs().size() == 1; }));
  EXPECT_TRUE(waitUntil([&] { return testing::fileExists(marks.path() + L"\\markers.log.probe"); }, milliseconds(20000)));
  EXPECT_TRUE(noMessageFor(milliseconds(300)));
  expectSoundAndUnchanged();
}

INSTANTIATE_TEST_SUITE_P(Named, UnusualAppFolder,
                         ::testing::Values(L"Kelvane 工具 箱", L"Kelvane 한국어 \U0001F600"),
                         [](const auto& test) {
                           return std::string(test.index == 0 ? "WithBlanks" : "OutsideGbk");
                         });

}  // namespace
}  // namespace kelvane
