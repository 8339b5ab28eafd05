// The detector page on real windows, real files and real change notifications,
// with the user's answers to its dialogs scripted. Its folders are scratch
// folders: the watched "Windows directory", the "system directory" that takes the
// bait files and the application directory that takes their backups.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/Fonts.h"
#include "controls/WindowClass.h"
#include "detector/DetectorText.h"
#include "detector/VirusDetect.h"
#include "tests/fakes/FakeLauncher.h"
#include "tests/fakes/ScriptedMessageBoxes.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

namespace text = detector_text;
using testing::fileExists;
using testing::ScratchDirectory;
using testing::waitUntil;
using testing::writeFile;

using Host = testing::HostWindow;

// Runs an action after a delay from this thread's message loop, as a user or
// another program acting while the page waits.
std::map<UINT_PTR, std::function<void()>>& pendingActions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}
void CALLBACK runPendingAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto found = pendingActions().find(id);
  if (found == pendingActions().end()) return;
  const std::function<void()> action = std::move(found->second);
  pendingActions().erase(found);
  action();
}
UINT_PTR later(UINT milliseconds, std::function<void()> action) {
  const UINT_PTR id = SetTimer(nullptr, 0, milliseconds, runPendingAction);
  pendingActions()[id] = std::move(action);
  return id;
}
void cancel(UINT_PTR id) {
  KillTimer(nullptr, id);
  pendingActions().erase(id);
}

std::string readAll(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr));
  if (!file) return "<missing>";
  std::string bytes, block(1 << 16, '\0');
  DWORD read = 0;
  while (ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr) && read > 0) {
    bytes.append(block.data(), read);
  }
  return bytes;
}

bool appendBytes(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(CreateFileW(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int filesIn(const std::wstring& folder) {
  int count = 0;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

class DetectorPage : public ::testing::Test {
 protected:
  void SetUp() override { makePage(windowsDir.path(), systemDir.path()); }
  void TearDown() override {
    for (auto& [id, action] : pendingActions()) KillTimer(nullptr, id);
    pendingActions().clear();
  }

  void makePage(const std::wstring& watched, const std::wstring& system) {
    page.reset();
    const PageContext context{host.hwnd(), TwipRect{250, 1385, 8535, 6515}, fonts, 15, launcher, boxes,
                              appDir.path()};
    page = std::make_unique<VirusDetect>(context, DetectorFolders{system, watched, appDir.path()});
  }

  void click(CoolButton& button) { PostMessageW(button.hwnd(), BM_CLICK, 0, 0); }

  // Starts normal detection (answering Yes) and returns when the run has ended.
  // A stop is pressed after `stopAfterMs` in case the test's own answers do not end it.
  void runNormal(UINT stopAfterMs = 6000) {
    boxes.script.push_front({IdYes, nullptr});
    const UINT_PTR safetyStop = later(stopAfterMs, [this] { click(page->stopButton()); });
    page->cmdBegin_Click();
    cancel(safetyStop);
  }

  ControlStates states() {
    return ControlStates{page->beginButton().enabled(), page->optNormal().enabled(), page->optDeep().enabled()};
  }

  std::wstring bait(const wchar_t* type) const { return systemDir.path() + L"\\bait" + type; }
  std::wstring backup(const wchar_t* type) const { return appDir.path() + L"\\bait" + type; }

  void startDeep() {
    page->optDeep().setValue(true);
    boxes.then(IdYes);
    page->cmdBegin_Click();
    ASSERT_EQ(page->mode(), DetectorMode::Deep);
    boxes.shown.clear();
  }

  Host host;
  UiFonts fonts;
  testing::FakeLauncher launcher;
  testing::ScriptedMessageBoxes boxes;
  ScratchDirectory windowsDir{L"det-windows"};
  ScratchDirectory systemDir{L"det-system"};
  ScratchDirectory appDir{L"det-app"};
  std::unique_ptr<VirusDetect> page;
};

constexpr ControlStates Idle{true, true, true};
constexpr ControlStates NormalRunning{false, true, false};
constexpr ControlStates DeepRunning{false, false, true};

// ------------------------------------------------------------------------------ page

TEST_F(DetectorPage, StartsIdleWithItsTextsAndNormalDetectionSelected) {
  EXPECT_EQ(testing::windowText(page->hwnd()), L"病毒探测");
  EXPECT_EQ(page->readMe().caption(), text::ReadMe);
  EXPECT_EQ(page->caution().caption(), L"注意，“dudov”只能发现系统内是否有病毒，而不能判断病毒类型，也不能进行查杀");
  EXPECT_EQ(testing::windowText(page->normalDescription().hwnd()), L"该检测方式能检测出系统文件夹是否有文件更改。");
  EXPECT_EQ(testing::windowText(page->deepDescription().hwnd()), L"被动式检测方法，能发现病毒感染的文件类型。");
  EXPECT_EQ(testing::windowText(page->optNormal().hwnd()), L"普通检测");
  EXPECT_EQ(testing::windowText(page->optDeep().hwnd()), L"深度检测");
  EXPECT_EQ(testing::windowText(page->beginButton().hwnd()), L"开始检测");
  EXPECT_EQ(testing::windowText(page->stopButton().hwnd()), L"停止检测");
  EXPECT_TRUE(page->optNormal().value());
  EXPECT_FALSE(page->optDeep().value());
  EXPECT_EQ(states(), Idle);
  EXPECT_TRUE(page->stopButton().enabled());
  EXPECT_FALSE(page->timerDeep().enabled());
  EXPECT_EQ(page->timerDeep().interval(), 1000u);
}

TEST_F(DetectorPage, APageOf9000By6000TwipsLaysItsControlsOutInWholePixels) {
  SetWindowPos(page->hwnd(), nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(page->readMe().width(), 8000.0f - 5);  // 533 pixels
  EXPECT_EQ(page->readMe().height(), 2505.0f);     // 167 pixels
  EXPECT_EQ(page->readMe().left(), 510.0f);        // (9000 - 7995) / 2 = 502.5 twips, 33.5 pixels
  EXPECT_EQ(page->readMe().top(), 450.0f);
  EXPECT_EQ(page->optNormal().left(), 1515.0f);
  EXPECT_EQ(page->optNormal().top(), 3150.0f);
  EXPECT_EQ(page->optDeep().left(), 1515.0f);
  EXPECT_EQ(page->deepDescription().left(), 2010.0f);
  EXPECT_EQ(page->beginButton().left(), 2280.0f);  // 2272.5 twips, 151.5 pixels
  EXPECT_EQ(page->beginButton().top(), 4995.0f);  // 5000 twips, 333.3 pixels
  EXPECT_EQ(page->stopButton().left(), 5280.0f);
  EXPECT_EQ(page->beginButton().width(), 1455.0f);
  EXPECT_EQ(page->caution().width(), 9000.0f);
  EXPECT_EQ(page->caution().top(), 5700.0f);
}

TEST_F(DetectorPage, StopWhileIdleShowsNothingWhicheverOptionIsSelected) {
  page->cmdStop_Click();
  page->optDeep().setValue(true);
  page->cmdStop_Click();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(states(), Idle);
}

// ----------------------------------------------------------------- normal detection

TEST_F(DetectorPage, NoToTheConfirmationLeavesThePageIdle) {
  boxes.then(IdNo);
  page->cmdBegin_Click();
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(page->mode(), DetectorMode::Idle);
  EXPECT_EQ(states(), Idle);
}

TEST_F(DetectorPage, StopDuringARunShowsItsMessageOnceAndReenablesTheControls) {
  ControlStates during{};
  later(300, [&] {
    during = states();
    click(page->stopButton());
    click(page->stopButton());
  });
  runNormal();
  EXPECT_EQ(during, NormalRunning);
  EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{std::wstring(text::ConfirmNormal), L"停止普通检测"}));
  EXPECT_EQ(states(), Idle);
  EXPECT_EQ(page->mode(), DetectorMode::Idle);
}

TEST_F(DetectorPage, EachKindOfChangeInTheFolderIsAlertedAndNoStopsTheRun) {
  const std::wstring folder = windowsDir.path();
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"create", [&] { writeFile(folder + L"\\new.txt", "x"); }},
      {"delete", [&] { DeleteFileW((folder + L"\\old.txt").c_str()); }},
      {"rename", [&] { MoveFileW((folder + L"\\old.txt").c_str(), (folder + L"\\renamed.txt").c_str()); }},
      {"attributes", [&] { SetFileAttributesW((folder + L"\\old.txt").c_str(), FILE_ATTRIBUTE_READONLY); }},
      {"write", [&] { appendBytes(folder + L"\\old.txt", "more"); }},
  };
  const std::wstring alert = text::changeAlert(folder);
  for (const auto& [name, change] : changes) {
    testing::removeTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(writeFile(folder + L"\\old.txt", "old"));
    Sleep(200);  // let the notifications of the preparation pass
    boxes.shown.clear();
    later(300, change);
    boxes.then(IdNo);  // the alert
    runNormal();
    EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{std::wstring(text::ConfirmNormal), alert, L"停止普通检测"}))
        << name;
    EXPECT_EQ(states(), Idle) << name;
    SetFileAttributesW((folder + L"\\old.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(DetectorPage, AChangeInASubfolderIsNotAlerted) {
  CreateDirectoryW((windowsDir.path() + L"\\sub").c_str(), nullptr);
  Sleep(200);
  later(300, [&] { writeFile(windowsDir.path() + L"\\sub\\inside.txt", "x"); });
  runNormal(2500);
  EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{std::wstring(text::ConfirmNormal), L"停止普通检测"}));
}

TEST_F(DetectorPage, ChangesMadeWhileTheAlertIsOpenAreAlertedAgainRightAfterYes) {
  later(300, [&] { writeFile(windowsDir.path() + L"\\first.txt", "x"); });
  DWORD secondAlertAt = 0, yesAt = 0;
  boxes.then(IdYes, [&] {
    Sleep(300);  // the first change's notifications have all arrived
    writeFile(windowsDir.path() + L"\\second.txt", "y");
    yesAt = GetTickCount();
  });
  boxes.then(IdNo, [&] { secondAlertAt = GetTickCount(); });
  runNormal();
  const std::wstring alert = text::changeAlert(windowsDir.path());
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::wstring>{std::wstring(text::ConfirmNormal), alert, alert, L"停止普通检测"}));
  EXPECT_LT(secondAlertAt - yesAt, 400u);
}

TEST_F(DetectorPage, AFolderThatCannotBeWatchedIsReportedAndThePageStaysIdle) {
  makePage(windowsDir.path() + L"\\does-not-exist", systemDir.path());
  boxes.then(IdYes);
  page->cmdBegin_Click();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text.rfind(L"无法监视文件夹" + windowsDir.path() + L"\\does-not-exist：", 0), 0u);
  EXPECT_EQ(boxes.shown[1].flags, MbOk | MbIconError);
  EXPECT_EQ(states(), Idle);
}

// A watched folder moved away sends no further changes: without a check the run
// would go on watching it elsewhere while the page says it watches the folder.
TEST_F(DetectorPage, AWatchedFolderMovedAwayEndsTheRunAsInterrupted) {
  const std::wstring folder = windowsDir.path(), moved = folder + L"-moved";
  Sleep(200);
  later(300, [&] { MoveFileW(folder.c_str(), moved.c_str()); });
  runNormal();  // without the check, the safety stop ends the run with "停止普通检测"
  testing::removeTree(moved);
  EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{std::wstring(text::ConfirmNormal), L"检测被中断"}));
  EXPECT_EQ(states(), Idle);

  // The page takes a new run on the folder once it is back.
  CreateDirectoryW(folder.c_str(), nullptr);
  boxes.shown.clear();
  runNormal(1500);
  EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{std::wstring(text::ConfirmNormal), L"停止普通检测"}));
}

// Deleting the folder deletes its files first, which is a change; Windows then
// fails the watch of the deleted folder, while Wine keeps the folder, still
// watched, until the watch lets go. Either way the user hears of it at once and
// the page ends idle.
TEST_F(DetectorPage, AWatchedFolderDeletedIsAlertedOrInterruptsTheRun) {
  const std::wstring folder = windowsDir.path();
  ASSERT_TRUE(writeFile(folder + L"\\old.txt", "old"));
  Sleep(200);
  later(300, [&] { testing::removeTree(folder); });
  boxes.fallback = IdNo;  // an alert is answered No: the user stops the run
  runNormal();
  const std::vector<std::wstring> texts = boxes.texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_TRUE(texts[1] == text::changeAlert(folder) || texts[1] == L"检测被中断");
  EXPECT_EQ(states(), Idle);
  testing::removeTree(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
}

TEST_F(DetectorPage, HidingAndShowingThePageDoesNotStopARun) {
  ControlStates afterSwitch{};
  later(200, [&] {
    page->setVisible(false);
    page->setVisible(true);
  });
  later(500, [&] {
    afterSwitch = states();
    click(page->stopButton());
  });
  runNormal();
  EXPECT_EQ(afterSwitch, NormalRunning);
  EXPECT_EQ(boxes.texts().back(), L"停止普通检测");
}

// ------------------------------------------------------------------- deep detection

TEST_F(DetectorPage, DeepDetectionPlantsElevenBaitsAndElevenBackupsOfFortySevenBytes) {
  startDeep();
  EXPECT_EQ(states(), DeepRunning);
  EXPECT_TRUE(page->timerDeep().enabled());
  EXPECT_EQ(filesIn(systemDir.path()), 11);
  EXPECT_EQ(filesIn(appDir.path()), 11);
  for (std::wstring_view type : BaitTypes) {
    const std::wstring name = L"\\bait" + std::wstring(type);
    EXPECT_EQ(readAll(systemDir.path() + name), "This file is the com bait for virus detector.\r\n");
    EXPECT_EQ(readAll(appDir.path() + name), "This file is the com bait for virus detector.\r\n");
  }
  page->TimerDeep_Timer();
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DetectorPage, EveryKindOfChangeToABaitIsReportedAndRestoreMakesItEqualAgain) {
  startDeep();
  const std::wstring path = bait(L".HTM");
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"one byte", [&] { writeFile(path, "This file is the cOm bait for virus detector.\r\n"); }},
      {"truncated", [&] { writeFile(path, ""); }},
      {"non-zero bytes appended", [&] { appendBytes(path, "MZ"); }},
      {"zero bytes appended", [&] { appendBytes(path, std::string(3, '\0')); }},
      {"deleted", [&] { DeleteFileW(path.c_str()); }},
      // Not made the reference by its backup going: measured against the start's line.
      {"changed, backup deleted", [&] { writeFile(path, "infected"); DeleteFileW(backup(L".HTM").c_str()); }},
      {"changed, backup rewritten alike", [&] { writeFile(path, "infected"); writeFile(backup(L".HTM"), "infected"); }},
  };
  for (const auto& [name, change] : changes) {
    change();
    boxes.shown.clear();
    boxes.then(IdCancel).then(IdYes);
    page->TimerDeep_Timer();
    ASSERT_EQ(boxes.shown.size(), 2u) << name;
    EXPECT_NE(boxes.shown[0].text.find(path), std::wstring::npos) << name;
    EXPECT_EQ(boxes.shown[0].title, L"dudov报告");
    EXPECT_EQ(boxes.shown[1].text, text::restoreQuestion(backup(L".HTM"), path)) << name;
    EXPECT_EQ(readAll(path), BaitContent) << name;
    EXPECT_EQ(readAll(backup(L".HTM")), BaitContent) << name;
    boxes.shown.clear();
    page->TimerDeep_Timer();
    EXPECT_TRUE(boxes.shown.empty()) << name;
  }
}

TEST_F(DetectorPage, OkMakesTheBackupEqualAndLaterTicksAreSilent) {
  startDeep();
  writeFile(bait(L".exe"), "MZ changed by a virus");
  boxes.then(IdOk);
  page->TimerDeep_Timer();
  EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{text::changedReport(bait(L".exe"))});
  EXPECT_EQ(readAll(backup(L".exe")), "MZ changed by a virus");
  boxes.shown.clear();
  page->TimerDeep_Timer();
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DetectorPage, CancelThenNoLeavesBothFilesAndReportsAgainNextTick) {
  startDeep();
  writeFile(bait(L".com"), "changed");
  boxes.then(IdCancel).then(IdNo).then(IdCancel).then(IdNo);
  page->TimerDeep_Timer();
  page->TimerDeep_Timer();
  EXPECT_EQ(boxes.shown.size(), 4u);
  EXPECT_EQ(readAll(bait(L".com")), "changed");
  EXPECT_EQ(readAll(backup(L".com")), BaitContent);
}

TEST_F(DetectorPage, TicksOfTheRealTimerWhileAReportIsOpenStackNoDialogs) {
  startDeep();
  writeFile(bait(L".eml"), "changed");
  boxes.then(IdCancel, [] { testing::waitUntil([] { return false; }, std::chrono::milliseconds(2500)); })
      .then(IdNo);
  ASSERT_TRUE(waitUntil([&] { return boxes.shown.size() >= 2; }));
  EXPECT_EQ(boxes.shown.size(), 2u);
  page->StopDeepDetect();
}

TEST_F(DetectorPage, StopDeletesAllTwentyTwoFilesAndReenablesTheControls) {
  startDeep();
  page->cmdStop_Click();
  EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{L"停止深度检测"});
  EXPECT_EQ(filesIn(systemDir.path()), 0);
  EXPECT_EQ(filesIn(appDir.path()), 0);
  EXPECT_EQ(states(), Idle);
  EXPECT_FALSE(page->timerDeep().enabled());
}

TEST_F(DetectorPage, ABaitThatCannotBeWrittenLeavesNothingBehindAndThePageIdle) {
  // A folder where a bait file should go: no file can be written there.
  const std::wstring blocked = bait(L".HTT");
  ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
  page->optDeep().setValue(true);
  boxes.then(IdYes);
  page->cmdBegin_Click();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text.rfind(L"无法写入诱饵文件" + blocked + L"：", 0), 0u);
  EXPECT_EQ(filesIn(systemDir.path()), 0);
  EXPECT_EQ(filesIn(appDir.path()), 0);
  EXPECT_EQ(states(), Idle);
  EXPECT_FALSE(page->timerDeep().enabled());
}

// Not a matter of rights: the reason is named and no administrator hint given.
TEST_F(DetectorPage, AReadOnlyFileInABaitsPlaceIsNamedAndKeptAsItWas) {
  const std::wstring readOnly = bait(L".exe");
  ASSERT_TRUE(writeFile(readOnly, "not a bait"));
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  page->optDeep().setValue(true);
  boxes.then(IdYes);
  page->cmdBegin_Click();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text.rfind(L"无法写入诱饵文件" + readOnly + L"：" + std::wstring(text::ReadOnlyReason), 0), 0u);
  EXPECT_EQ(boxes.shown[1].text.find(text::AdministratorHint), std::wstring::npos);
  EXPECT_EQ(readAll(readOnly), "not a bait");
  EXPECT_EQ(filesIn(systemDir.path()), 1);
  EXPECT_EQ(filesIn(appDir.path()), 0);
  EXPECT_EQ(states(), Idle);
}

// A bait made read-only and hidden during a run: accepting copies its content but
// not its attributes, restoring it names the real reason, and stop and the next
// start still work.
TEST_F(DetectorPage, AReadOnlyBaitKeepsItsAttributesToItselfAndStopAndStartStillWork) {
  startDeep();
  const std::wstring path = bait(L".VBS");
  ASSERT_TRUE(writeFile(path, "changed"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  boxes.then(IdOk);
  page->TimerDeep_Timer();
  ASSERT_EQ(boxes.texts(), std::vector<std::wstring>{text::changedReport(path)});
  EXPECT_EQ(readAll(backup(L".VBS")), "changed");
  EXPECT_EQ(GetFileAttributesW(backup(L".VBS").c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);

  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  ASSERT_TRUE(writeFile(path, "changed again"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  boxes.shown.clear();
  boxes.then(IdCancel).then(IdYes).then(IdOk);
  page->TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[2].text, text::rewriteFailure(path, text::ReadOnlyReason));
  EXPECT_EQ(readAll(path), "changed again");

  boxes.shown.clear();
  page->cmdStop_Click();
  EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{L"停止深度检测"});
  EXPECT_EQ(filesIn(systemDir.path()), 0);
  EXPECT_EQ(filesIn(appDir.path()), 0);
  startDeep();
  page->cmdStop_Click();
}

// A hard link planted at a backup's name, pointing at a file of the user's: the
// program running as administrator must not write or delete through it.
TEST_F(DetectorPage, AHardLinkAtABackupsNameLeavesTheUsersFileAsItWasAndTheUserIsTold) {
  ScratchDirectory documents{L"det-documents"};
  const std::wstring usersFile = documents.path() + L"\\letter.txt";
  const std::string letter = "Dear friend, this letter must survive.";
  ASSERT_TRUE(writeFile(usersFile, letter));
  const std::wstring link = backup(L".com");
  ASSERT_TRUE(CreateHardLinkW(link.c_str(), usersFile.c_str(), nullptr));

  // Starting: the link is named and nothing is written.
  page->optDeep().setValue(true);
  boxes.then(IdYes);
  page->cmdBegin_Click();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_NE(boxes.shown[1].text.find(L"无法写入诱饵文件" + link + L"：" + std::wstring(text::HardLinksReason)),
            std::wstring::npos);
  EXPECT_EQ(readAll(usersFile), letter);
  EXPECT_EQ(states(), Idle);

  // Planted during a run: the changed bait cannot be accepted nor the pair
  // restored through the link, and stop leaves it.
  ASSERT_TRUE(DeleteFileW(link.c_str()));
  startDeep();
  ASSERT_TRUE(DeleteFileW(link.c_str()));
  ASSERT_TRUE(CreateHardLinkW(link.c_str(), usersFile.c_str(), nullptr));
  ASSERT_TRUE(writeFile(bait(L".com"), "changed"));
  boxes.then(IdOk).then(IdOk);
  page->TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, text::changedReport(bait(L".com")));
  EXPECT_EQ(boxes.shown[1].text, text::copyFailure(bait(L".com"), link, text::HardLinksReason));
  EXPECT_EQ(readAll(usersFile), letter);

  boxes.shown.clear();
  boxes.then(IdCancel).then(IdYes).then(IdOk);
  page->TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[2].text, text::rewriteFailure(link, text::HardLinksReason));
  EXPECT_EQ(readAll(bait(L".com")), BaitContent);  // the bait itself is restored
  EXPECT_EQ(readAll(usersFile), letter);

  boxes.shown.clear();
  page->cmdStop_Click();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_NE(boxes.shown[1].text.find(link + L"：" + std::wstring(text::HardLinksReason)), std::wstring::npos);
  EXPECT_EQ(readAll(usersFile), letter);
  EXPECT_EQ(filesIn(systemDir.path()), 0);
  EXPECT_EQ(filesIn(appDir.path()), 1);  // the link, left to the user
  DeleteFileW(link.c_str());
}

TEST_F(DetectorPage, DeepDetectionWithTheProgramInTheSystemDirectoryIsRefusedAndWritesNothing) {
  makePage(windowsDir.path(), appDir.path() + L"\\");
  page->optDeep().setValue(true);
  page->cmdBegin_Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, text::sameFolderRefusal(appDir.path()));
  EXPECT_EQ(filesIn(appDir.path()), 0);
  EXPECT_EQ(states(), Idle);
  EXPECT_FALSE(page->timerDeep().enabled());
}

TEST_F(DetectorPage, ATickWhileAnotherPagesMessageBoxIsOpenWaitsForTheNextTick) {
  startDeep();
  ASSERT_TRUE(writeFile(bait(L".dot"), "changed"));
  bool reportedWhileOpen = true;
  later(300, [&] {
    page->TimerDeep_Timer();
    reportedWhileOpen = !boxes.shown.empty();
    HWND other = FindWindowW(L"#32770", L"另一页");
    PostMessageW(other, WM_COMMAND, IDOK, 0);
  });
  MessageBoxW(host.hwnd(), L"另一页的消息", L"另一页", MB_OK);
  EXPECT_FALSE(reportedWhileOpen);
  boxes.then(IdCancel).then(IdNo);
  page->TimerDeep_Timer();
  EXPECT_EQ(boxes.texts().front(), text::changedReport(bait(L".dot")));
}

// A bait and backup of 200 MB, accepted, are compared a piece at a time over many ticks
// (the time of one tick is a benchmark); the stop button answers meanwhile, and
// the files the comparison holds open go with the rest.
TEST_F(DetectorPage, TheStopButtonAnswersWhileA200MegabyteBaitIsComparedAndEverythingGoes) {
  startDeep();
  const std::string large(200u << 20, 'B');
  ASSERT_TRUE(writeFile(bait(L".HTT"), large));
  boxes.then(IdOk);  // accepted: the pair holds 200 MB from now on, kept by its digest
  page->TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 1u);
  boxes.shown.clear();
  waitUntil([] { return false; }, std::chrono::milliseconds(2500));  // the real timer ticks
  EXPECT_TRUE(boxes.shown.empty());
  click(page->stopButton());
  ASSERT_TRUE(waitUntil([&] { return !boxes.shown.empty(); }));
  EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{L"停止深度检测"});
  EXPECT_EQ(filesIn(systemDir.path()), 0);
  EXPECT_EQ(filesIn(appDir.path()), 0);
  startDeep();
  EXPECT_TRUE(boxes.shown.empty());
  page->cmdStop_Click();
}

// The system's answer about a handle, edited to tell what Wine cannot make.
class EditedFacts final : public HandleInspector {
 public:
  explicit EditedFacts(std::function<void(HandleFacts&)> edit) : edit_(std::move(edit)) {}

  bool inspect(HANDLE file, HandleFacts& facts) override {
    if (!system_.inspect(file, facts)) return false;
    edit_(facts);
    return true;
  }

 private:
  std::function<void(HandleFacts&)> edit_;
  SystemHandleInspector system_;
};

TEST(DiskBaitFiles, ALinkAtOrOnTheWayToAFileOrAFolderIsRefusedWithItsReasonAndLeftAsItWas) {
  ScratchDirectory folder{L"det-plain"};
  const std::wstring file = folder.path() + L"\\bait.com", other = folder.path() + L"\\bait.exe";
  const std::wstring fresh = folder.path() + L"\\bait.new";
  const std::string large(KeptBytesLimit + 1, 'L'), planted = "P" + large.substr(1);
  // What Wine cannot make comes from a fake, at every path or at `only`: a
  // reparse point, or a handle that ended up elsewhere (a link on the way).
  const std::pair<std::function<void(HandleFacts&)>, std::wstring_view> links[] = {
      {[](HandleFacts& facts) { facts.attributes |= FILE_ATTRIBUTE_REPARSE_POINT; }, text::ReparsePointReason},
      {[](HandleFacts& facts) { facts.finalPath.insert(facts.finalPath.rfind(L'\\'), L"\\linked"); },
       text::ElsewhereReason}};
  for (const auto& [link, reason] : links) {
    DeleteFileW(fresh.c_str());
    ASSERT_TRUE(writeFile(file, "somebody's file") && writeFile(other, large));
    std::optional<std::wstring> only;
    EditedFacts inspector([&](HandleFacts& facts) {
      if (!only || lstrcmpiW(facts.finalPath.c_str(), only->c_str()) == 0) link(facts);
    });
    DiskBaitFiles files(inspector);
    // Start and a small restore write, stop removes; a file the refused write made goes again.
    for (const FileOutcome& outcome : {files.write(file, BaitContent), files.write(fresh, "x"), files.remove(file)}) {
      ASSERT_TRUE(outcome.has_value());
      EXPECT_EQ(outcome->reason, reason);
      EXPECT_FALSE(outcome->accessDenied);
    }
    EXPECT_FALSE(fileExists(fresh));
    only = file;
    KeptContent copied, ignored;
    ASSERT_FALSE(files.copy(other, fresh, copied).has_value());
    ASSERT_TRUE(writeFile(other, planted));
    std::unique_ptr<StagedContent> staged;
    ASSERT_FALSE(files.stage(other, copied, staged).has_value());
    EXPECT_FALSE(staged);  // a source that no longer matches the digest is written nowhere
    ASSERT_TRUE(!files.stage(fresh, copied, staged) && staged);
    // Accepting and a large restore are refused for their target alone: the source is a plain file.
    for (const FileOutcome& outcome : {files.copy(other, file, ignored), staged->writeTo(file)}) {
      ASSERT_TRUE(outcome.has_value());
      EXPECT_EQ(outcome->reason, reason);
    }
    EXPECT_EQ(readAll(file), "somebody's file");
  }

  const std::wstring directory = folder.path() + L"\\bait.dot";
  ASSERT_TRUE(CreateDirectoryW(directory.c_str(), nullptr));
  SystemHandleInspector system;
  DiskBaitFiles real(system);
  for (const FileOutcome& outcome : {real.write(directory, BaitContent), real.remove(directory)}) {
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->reason, text::DirectoryReason);
    EXPECT_FALSE(outcome->accessDenied);
  }
  EXPECT_TRUE(GetFileAttributesW(directory.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

// A source that grows while it is copied: the inspector tells the size it had
// when opened, and the file holds more. The copy ends there instead of following it.
TEST(DiskBaitFiles, ACopyEndsAtTheSizeTheSourceHadWhenOpened) {
  ScratchDirectory folder{L"det-grown"};
  const std::wstring source = folder.path() + L"\\bait.com", target = folder.path() + L"\\backup.com";
  const std::string seen(KeptBytesLimit + 100, 'S');
  constexpr DWORD Grown = 8;
  ASSERT_TRUE(writeFile(source, seen + std::string(Grown, 'G')));
  ASSERT_TRUE(writeFile(target, "old"));
  EditedFacts inspector([=](HandleFacts& facts) {
    facts.size -= std::min<uint64_t>(facts.size, Grown);
  });
  DiskBaitFiles files(inspector);
  KeptContent copied;
  ASSERT_FALSE(files.copy(source, target, copied).has_value());
  const std::string copy = readAll(target);
  EXPECT_EQ(copy.size(), seen.size());
  EXPECT_TRUE(copy == seen);  // not printed: 64 KB
  EXPECT_EQ(copied.size, seen.size());
  EXPECT_EQ(copied.digest.size(), 32u);  // large: kept by its SHA-256
}

}  // namespace
}  // namespace kelvane
