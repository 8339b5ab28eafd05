// Bad input for the virus detector of the real program: the program is started
// from its application directory, its "病毒探测" page is driven with posted clicks
// and its dialogs are answered, while the test spoils the files and folders the
// detector works on. Each case checks that the program keeps running, that the
// user is told in Chinese what went wrong (naming the file), that no file is
// changed or left behind that should not be, and that the page is usable again.
//
// Every wait is bounded; a case that waits in vain fails instead of hanging.
// Whatever a case plants in the system directory and the application directory
// (bait files, backups, folders, read-only files) is removed after it, pass or
// fail, and before it, in case an earlier run was killed halfway.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/Handles.h"
#include "common/OwnFileCopies.h"
#include "detector/Detector.h"
#include "detector/DetectorText.h"
#include "shell/FrmmainText.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using testing::fileExists;
using testing::RunningApp;
using testing::waitUntil;

// How long a tick (one a second) takes at most to show its report.
constexpr auto TickWait = 4000ms;
// How long the page is watched for a dialog it must not show.
constexpr auto QuietWait = 2500ms;

std::string utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

// Where the program plants its baits: the 64-bit system folder, from a 32-bit test too.
std::wstring systemDirectoryPath() { return nativeSystemFolder(); }

std::wstring windowsDirectoryPath() {
  wchar_t path[MAX_PATH] = {};
  GetWindowsDirectoryW(path, MAX_PATH);
  return path;
}

// The files a case creates in the Windows directory to change it.
std::wstring burstFile(const std::wstring& windowsDir, int number) {
  return windowsDir + L"\\kelvane-burst-" + std::to_wstring(number) + L".tmp";
}
constexpr int BurstSize = 200;

std::string readAll(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr));
  if (!file) return "<unreadable>";
  std::string bytes(4096, '\0');
  DWORD read = 0;
  ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

bool isDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The files and folders directly in a folder with their size, time and
// attributes: two listings differ when anything was added, removed or written.
using Listing = std::map<std::wstring, std::wstring>;
Listing listing(const std::wstring& folder) {
  Listing entries;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;  // a folder's own time changes with its content
    entries[name] = std::to_wstring(found.nFileSizeLow) + L" " +
                               std::to_wstring(found.ftLastWriteTime.dwLowDateTime) + L" " +
                               std::to_wstring(found.dwFileAttributes);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return entries;
}

// What the second listing has that the first lacks (+), lacks (-) or holds
// differently (~); empty when they are equal.
std::string difference(const Listing& expected, const Listing& actual) {
  std::wstring text;
  for (const auto& [name, details] : actual) {
    auto other = expected.find(name);
    if (other == expected.end()) text += L" +" + name;
    else if (other->second != details) text += L" ~" + name;
  }
  for (const auto& [name, details] : expected) {
    if (!actual.count(name)) text += L" -" + name;
  }
  return utf8(text);
}

class DetectorBadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    removePlantedFiles();
    systemBefore = listing(systemDir);
    appBefore = listing(appDir);
    app = std::make_unique<RunningApp>();
    ASSERT_NE(app->mainWindow(), nullptr) << "the program did not start";
    processId = GetProcessId(app->process());
    openPage();
  }

  void TearDown() override {
    held.clear();
    app.reset();
    removePlantedFiles();
  }

  // Every bait file and backup, whatever a case put in their places, and the
  // files it made in the Windows directory.
  void removePlantedFiles() {
    for (int number = 0; number < 2 * BurstSize; ++number) DeleteFileW(burstFile(windowsDir, number).c_str());
    for (std::wstring_view type : BaitTypes) {
      for (const std::wstring* folder : {&systemDir, &appDir}) {
        const std::wstring path = *folder + L"\\bait" + std::wstring(type);
        if (isDirectory(path)) {
          testing::removeTree(path);
        } else {
          SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(path.c_str());
        }
      }
    }
  }

  void openPage() {
    HWND main = app->mainWindow();
    HWND menu = RunningApp::findDescendant(main, L"KelvanePanel", L"Menu");
    ASSERT_NE(menu, nullptr);
    HWND pageButton = RunningApp::findDescendant(menu, L"Button", std::wstring(frmmain_text::PageButtons[3]));
    ASSERT_NE(pageButton, nullptr);
    PostMessageW(pageButton, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return (page = RunningApp::findDescendant(main, L"KelvanePanel", L"病毒探测")); }));
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(page) != 0; }));
    begin = RunningApp::findDescendant(page, L"Button", L"开始检测");
    stop = RunningApp::findDescendant(page, L"Button", L"停止检测");
    optNormal = RunningApp::findDescendant(page, L"Button", L"普通检测");
    optDeep = RunningApp::findDescendant(page, L"Button", L"深度检测");
    ASSERT_TRUE(begin && stop && optNormal && optDeep);
  }

  std::wstring bait(const wchar_t* type) const { return systemDir + L"\\bait" + type; }
  std::wstring backup(const wchar_t* type) const { return appDir + L"\\bait" + type; }

  bool running() const { return WaitForSingleObject(app->process(), 0) == WAIT_TIMEOUT; }
  bool idle() const { return IsWindowEnabled(begin) && IsWindowEnabled(optNormal) && IsWindowEnabled(optDeep); }
  bool deepRunning() const { return !IsWindowEnabled(begin) && !IsWindowEnabled(optNormal); }
  int openDialogs() const { return static_cast<int>(testing::visibleWindows(processId, L"#32770").size()); }
  std::wstring currentDialogText() const {
    HWND dialog = testing::openDialog(processId);
    return dialog ? testing::dialogText(dialog) : L"<none>";
  }

  // Waits for a dialog whose message holds every one of `parts` and returns its text
  // (empty when none came).
  std::wstring waitForDialog(const std::vector<std::wstring>& parts, std::chrono::milliseconds timeout = TickWait) {
    std::wstring text;
    waitUntil(
        [&] {
          HWND dialog = testing::openDialog(processId);
          if (!dialog) return false;
          text = testing::dialogText(dialog);
          // The program's name of the system folder, as this test names it.
          for (size_t at = 0; !shownSystemDir.empty() && (at = text.find(shownSystemDir, at)) != std::wstring::npos;
               at += systemDir.size()) {
            text.replace(at, shownSystemDir.size(), systemDir);
          }
          for (const std::wstring& part : parts) {
            if (text.find(part) == std::wstring::npos) return false;
          }
          return true;
        },
        timeout);
    for (const std::wstring& part : parts) {
      if (text.find(part) == std::wstring::npos) return L"";
    }
    return text;
  }

  // Presses a button of the dialog that says `part` and waits until it has closed.
  void answer(std::wstring part, int button) {
    const size_t at = shownSystemDir.empty() ? std::wstring::npos : part.find(systemDir);
    if (at != std::wstring::npos) part.replace(at, systemDir.size(), shownSystemDir);
    ASSERT_TRUE(testing::answerDialog(processId, part, button))
        << "expected a dialog saying \"" << utf8(part) << "\", found: " << utf8(currentDialogText());
  }

  // True when no dialog shows up for a while.
  bool staysQuiet() {
    return !waitUntil([&] { return testing::openDialog(processId) != nullptr; }, QuietWait);
  }

  void selectDeep() {
    PostMessageW(optDeep, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return SendMessageW(optDeep, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  }

  void clickBeginAndConfirmDeep() {
    selectDeep();
    PostMessageW(begin, BM_CLICK, 0, 0);
    answer(L"确定要进行深度检测吗？", IDYES);
  }

  void startDeep() {
    clickBeginAndConfirmDeep();
    ASSERT_TRUE(waitUntil([&] { return deepRunning(); })) << utf8(currentDialogText());
    for (std::wstring_view type : BaitTypes) {
      ASSERT_EQ(readAll(systemDir + L"\\bait" + std::wstring(type)), BaitContent);
      ASSERT_EQ(readAll(appDir + L"\\bait" + std::wstring(type)), BaitContent);
    }
  }

  void clickStop() { PostMessageW(stop, BM_CLICK, 0, 0); }

  void stopDeep() {
    clickStop();
    answer(L"停止深度检测", IDOK);
  }

  void expectFoldersAsBefore() {
    EXPECT_EQ(difference(systemBefore, listing(systemDir)), "");
    EXPECT_EQ(difference(appBefore, listing(appDir)), "");
  }

  // Stops a run that has nothing left over: one message, then quiet, idle, and
  // the folders as they were before the case.
  void stopAndExpectNothingLeft() {
    stopDeep();
    EXPECT_TRUE(staysQuiet()) << utf8(currentDialogText());
    EXPECT_TRUE(idle());
    expectFoldersAsBefore();
  }

  // Waits for a tick's report that `path` is missing or unreadable.
  void expectMissingReport(const std::wstring& path) {
    ASSERT_FALSE(waitForDialog({L"警告：文件" + path + L"已丢失或无法读取"}).empty()) << utf8(currentDialogText());
  }

  // Answers the open report Cancel and its question No, and presses stop at once,
  // before the next tick can report again; then acknowledges the stop message.
  void dismissReportAndStop() {
    answer(L"已丢失或无法读取", IDCANCEL);
    HWND question = nullptr;
    ASSERT_TRUE(waitUntil([&] {
      question = testing::openDialog(processId);
      return question && testing::dialogText(question).find(L"是否用备份文件") != std::wstring::npos;
    }));
    PostMessageW(GetDlgItem(question, IDNO), BM_CLICK, 0, 0);
    clickStop();
    answer(L"停止深度检测", IDOK);
  }

  // The page takes a new run of deep detection that plants, and stop removes,
  // every file, back to the folders as they were before the case: nothing of the
  // fault sticks to the page.
  void expectUsableForAFullRun() {
    ASSERT_TRUE(running());
    ASSERT_TRUE(idle());
    ASSERT_EQ(openDialogs(), 0) << utf8(currentDialogText());
    startDeep();
    EXPECT_TRUE(staysQuiet()) << utf8(currentDialogText());
    stopAndExpectNothingLeft();
  }

  // Opens a file as another program holding it without any sharing would.
  void hold(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file) << "cannot hold " << utf8(path) << ": error " << GetLastError();
    held.push_back(std::move(file));
  }

  const std::wstring systemDir = systemDirectoryPath();
  const std::wstring shownSystemDir = systemDir == systemFolder() ? L"" : systemFolder();
  const std::wstring windowsDir = windowsDirectoryPath();
  const std::wstring appDir = testing::installedAppDirectory();
  Listing systemBefore, appBefore;
  std::unique_ptr<RunningApp> app;
  DWORD processId = 0;
  HWND page = nullptr, begin = nullptr, stop = nullptr, optNormal = nullptr, optDeep = nullptr;
  std::vector<UniqueFile> held;
};

// ---------------------------------------------------- starting deep detection

// The test runs with every right, so the system directory is made unwritable for
// single bait files: a folder holding a file in one bait's place, a read-only file
// in another's. Both must stay as they were, with nothing the program wrote left.
TEST_F(DetectorBadInput, BaitsThatCannotBeWrittenAreNamedAndNothingWrittenStays) {
  const std::wstring folder = bait(L".HTT"), readOnly = bait(L".exe");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(testing::writeFile(folder + L"\\inside.txt", "the user's"));
  ASSERT_TRUE(testing::writeFile(readOnly, "not a bait"));
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  const Listing systemPlanted = listing(systemDir);

  clickBeginAndConfirmDeep();
  // Each is named with its real reason; administrator rights would help neither.
  const std::wstring message =
      waitForDialog({L"无法写入诱饵文件" + folder + L"：" + std::wstring(detector_text::DirectoryReason),
                     L"无法写入诱饵文件" + readOnly + L"：" + std::wstring(detector_text::ReadOnlyReason),
                     L"深度检测没有开始。"});
  ASSERT_FALSE(message.empty()) << utf8(currentDialogText());
  EXPECT_EQ(message.find(L"管理员"), std::wstring::npos) << utf8(message);
  EXPECT_EQ(openDialogs(), 1);
  answer(L"深度检测没有开始。", IDOK);

  EXPECT_TRUE(waitUntil([&] { return idle(); }));
  EXPECT_TRUE(staysQuiet()) << "a tick after a start that failed: " << utf8(currentDialogText());
  EXPECT_EQ(difference(systemPlanted, listing(systemDir)), "");
  EXPECT_EQ(difference(appBefore, listing(appDir)), "");
  EXPECT_EQ(readAll(folder + L"\\inside.txt"), "the user's");
  EXPECT_EQ(readAll(readOnly), "not a bait");
  EXPECT_TRUE(GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY);

  removePlantedFiles();
  expectUsableForAFullRun();
}

// A backup held open by another program (a scanner, say) when the run starts:
// not a matter of rights, so no administrator hint.
TEST_F(DetectorBadInput, ABackupHeldOpenAtTheStartIsNamedWithoutTheAdministratorHint) {
  const std::wstring blocked = backup(L".JSP");
  ASSERT_TRUE(testing::writeFile(blocked, "held"));
  hold(blocked);
  const Listing appPlanted = listing(appDir);

  clickBeginAndConfirmDeep();
  const std::wstring message = waitForDialog({L"无法写入诱饵文件" + blocked + L"：", L"深度检测没有开始。"});
  ASSERT_FALSE(message.empty()) << utf8(currentDialogText());
  EXPECT_EQ(message.find(L"管理员"), std::wstring::npos) << utf8(message);
  answer(L"深度检测没有开始。", IDOK);

  EXPECT_TRUE(waitUntil([&] { return idle(); }));
  EXPECT_EQ(difference(systemBefore, listing(systemDir)), "");
  EXPECT_EQ(difference(appPlanted, listing(appDir)), "");
  held.clear();
  EXPECT_EQ(readAll(blocked), "held");
  removePlantedFiles();
  expectUsableForAFullRun();
}

// Started through a symbolic link to its folder, every backup would land where
// it leads, on a file of the user's at one backup's name: each is refused, named.
TEST_F(DetectorBadInput, ALinkOnTheBackupsPathLeavesTheFileItLeadsToByteForByte) {
  app.reset();
  testing::ScratchDirectory scratch{L"det-linked"};
  const std::wstring linked = scratch.path() + L"\\app", letter = backup(L".com");
  const testing::UnixLink link(appDir, linked);
  ASSERT_TRUE(link.made);
  ASSERT_TRUE(testing::writeFile(letter, "Dear friend, this letter must survive."));
  const Listing appPlanted = listing(appDir);
  app = std::make_unique<RunningApp>(linked);
  ASSERT_NE(app->mainWindow(), nullptr) << "the program did not start through the link";
  processId = GetProcessId(app->process());
  openPage();

  clickBeginAndConfirmDeep();
  const std::wstring refused = linked + L"\\bait.com：" + std::wstring(detector_text::ElsewhereReason);
  ASSERT_FALSE(waitForDialog({L"无法写入诱饵文件" + refused, L"深度检测没有开始。"}).empty()) << utf8(currentDialogText());
  answer(L"深度检测没有开始。", IDOK);
  EXPECT_TRUE(waitUntil([&] { return idle(); }));
  EXPECT_EQ(readAll(letter), "Dear friend, this letter must survive.");
  EXPECT_EQ(difference(appPlanted, listing(appDir)), "");
  EXPECT_EQ(difference(systemBefore, listing(systemDir)), "");
}

// The program ended while deep detection ran (a crash, a power cut) leaves its
// files behind, some changed since; a new run takes them over as fresh baits.
TEST_F(DetectorBadInput, BaitsLeftByAnEarlierRunAreTakenOverAndRemovedAtStop) {
  for (std::wstring_view type : BaitTypes) {
    ASSERT_TRUE(testing::writeFile(systemDir + L"\\bait" + std::wstring(type), "left over"));
  }
  ASSERT_TRUE(testing::writeFile(backup(L".com"), "an older backup"));

  startDeep();
  EXPECT_TRUE(staysQuiet()) << utf8(currentDialogText());
  stopAndExpectNothingLeft();
}

// ------------------------------------------------------- during deep detection

TEST_F(DetectorBadInput, DeletedBaitsAndBackupsAreNamedAndWrittenBack) {
  startDeep();
  // A bait file deleted: OK writes it back from its backup.
  ASSERT_TRUE(DeleteFileW(bait(L".VBS").c_str()));
  expectMissingReport(bait(L".VBS"));
  answer(L"已丢失或无法读取", IDOK);
  EXPECT_TRUE(waitUntil([&] { return readAll(bait(L".VBS")) == BaitContent; }, 2000ms));
  EXPECT_TRUE(staysQuiet()) << utf8(currentDialogText());

  // A backup deleted: Cancel, then Yes restores the pair from the bait file.
  ASSERT_TRUE(DeleteFileW(backup(L".ASP").c_str()));
  expectMissingReport(backup(L".ASP"));
  answer(L"已丢失或无法读取", IDCANCEL);
  answer(L"是否用备份文件" + backup(L".ASP") + L"更新感染文件" + bait(L".ASP") + L"?", IDYES);
  EXPECT_TRUE(waitUntil([&] { return readAll(backup(L".ASP")) == BaitContent; }, 2000ms));
  EXPECT_TRUE(staysQuiet()) << utf8(currentDialogText());

  stopAndExpectNothingLeft();
}

TEST_F(DetectorBadInput, ABaitReplacedByAFolderIsReportedItsRepairFailsWithAMessageAndStopNamesIt) {
  startDeep();
  const std::wstring folder = bait(L".HTML");
  ASSERT_TRUE(DeleteFileW(folder.c_str()));
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));

  expectMissingReport(folder);
  // The report stays the only dialog while it is open, tick after tick.
  Sleep(2500);
  EXPECT_EQ(openDialogs(), 1);
  answer(L"已丢失或无法读取", IDOK);
  ASSERT_FALSE(waitForDialog({L"无法重新写入文件" + folder + L"：" + std::wstring(detector_text::DirectoryReason)}).empty())
      << utf8(currentDialogText());
  EXPECT_EQ(openDialogs(), 1);
  answer(L"无法重新写入文件", IDOK);

  // Still a folder: the next tick reports it again, and restoring it from the
  // backup (Cancel, then Yes) fails the same way.
  expectMissingReport(folder);
  answer(L"已丢失或无法读取", IDCANCEL);
  answer(L"是否用备份文件", IDYES);
  ASSERT_FALSE(waitForDialog({L"无法重新写入文件" + folder + L"：" + std::wstring(detector_text::DirectoryReason)}).empty())
      << utf8(currentDialogText());
  answer(L"无法重新写入文件", IDOK);

  // Stop as soon as the next report is dismissed, before another tick.
  ASSERT_FALSE(waitForDialog({L"已丢失或无法读取"}).empty()) << utf8(currentDialogText());
  dismissReportAndStop();
  ASSERT_FALSE(waitForDialog({L"以下文件无法删除，请手动删除：", folder}).empty()) << utf8(currentDialogText());
  answer(L"以下文件无法删除", IDOK);

  EXPECT_TRUE(waitUntil([&] { return idle(); }));
  EXPECT_TRUE(staysQuiet()) << utf8(currentDialogText());
  EXPECT_TRUE(isDirectory(folder));
  Listing expected = systemBefore;
  expected[L"bait.HTML"] = listing(systemDir)[L"bait.HTML"];
  EXPECT_EQ(difference(expected, listing(systemDir)), "");
  EXPECT_EQ(difference(appBefore, listing(appDir)), "");
  removePlantedFiles();
  expectUsableForAFullRun();
}

TEST_F(DetectorBadInput, ABaitHeldOpenAtATickIsReportedAndItsRepairFailsWithAMessage) {
  startDeep();
  hold(bait(L".eml"));
  expectMissingReport(bait(L".eml"));
  answer(L"已丢失或无法读取", IDOK);
  ASSERT_FALSE(waitForDialog({L"无法重新写入文件" + bait(L".eml") + L"："}).empty())
      << utf8(currentDialogText());
  answer(L"无法重新写入文件", IDOK);
  // Let go before the next tick's report closes: then the pair compares equal again.
  ASSERT_FALSE(waitForDialog({L"已丢失或无法读取"}).empty()) << utf8(currentDialogText());
  held.clear();
  answer(L"已丢失或无法读取", IDCANCEL);
  answer(L"是否用备份文件", IDNO);
  EXPECT_TRUE(staysQuiet()) << utf8(currentDialogText());
  EXPECT_EQ(readAll(bait(L".eml")), BaitContent);
  EXPECT_EQ(readAll(backup(L".eml")), BaitContent);

  stopAndExpectNothingLeft();
}

TEST_F(DetectorBadInput, ABaitHeldOpenAtStopIsNamedAndEverythingElseIsRemoved) {
  startDeep();
  hold(bait(L".PHP"));
  // The tick reports it; the stop comes right after the report is dismissed.
  expectMissingReport(bait(L".PHP"));
  dismissReportAndStop();
  const std::wstring message = waitForDialog({L"以下文件无法删除，请手动删除：", bait(L".PHP") + L"："});
  ASSERT_FALSE(message.empty()) << utf8(currentDialogText());
  answer(L"以下文件无法删除", IDOK);
  EXPECT_TRUE(waitUntil([&] { return idle(); }));
  EXPECT_TRUE(staysQuiet()) << utf8(currentDialogText());

  held.clear();
  EXPECT_EQ(readAll(bait(L".PHP")), BaitContent);
  Listing expected = systemBefore;
  expected[L"bait.PHP"] = listing(systemDir)[L"bait.PHP"];
  EXPECT_EQ(difference(expected, listing(systemDir)), "");
  EXPECT_EQ(difference(appBefore, listing(appDir)), "");
  // A later run takes the leftover over and removes it at its stop.
  expectUsableForAFullRun();
  EXPECT_FALSE(fileExists(bait(L".PHP")));
}

// ------------------------------------------------------------ normal detection
//
// The watched folder is the Windows directory, which Wine holds open and will not
// let be moved (the page test moves and deletes a scratch folder it watches
// instead). Here it gets a burst of changes that goes on while the alert is open.
TEST_F(DetectorBadInput, ABurstOfChangesShowsOneAlertAtATimeAndNoEndsTheRun) {
  PostMessageW(begin, BM_CLICK, 0, 0);
  answer(L"确定要开始普通检测吗？", IDYES);
  ASSERT_TRUE(waitUntil([&] { return !IsWindowEnabled(begin) && !IsWindowEnabled(optDeep); }));
  const std::wstring alert = L"文件夹" + windowsDir + L"中有文件变动";
  for (int number = 0; number < BurstSize; ++number) testing::writeFile(burstFile(windowsDir, number), "x");
  ASSERT_FALSE(waitForDialog({alert}).empty()) << utf8(currentDialogText());
  for (int number = BurstSize; number < 2 * BurstSize; ++number) {
    testing::writeFile(burstFile(windowsDir, number), "x");
  }
  Sleep(1500);
  EXPECT_EQ(openDialogs(), 1);
  answer(alert, IDYES);
  // What changed while the alert was open is alerted again at once, once.
  ASSERT_FALSE(waitForDialog({alert}, 2000ms).empty()) << utf8(currentDialogText());
  EXPECT_EQ(openDialogs(), 1);
  answer(alert, IDNO);
  answer(L"停止普通检测", IDOK);
  EXPECT_TRUE(waitUntil([&] { return idle(); }));
  EXPECT_TRUE(staysQuiet()) << utf8(currentDialogText());
  removePlantedFiles();
  expectUsableForAFullRun();
}

}  // namespace
}  // namespace kelvane
