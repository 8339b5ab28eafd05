// The detector's logic against fake watches, files and message boxes: what each
// answer leads to, what the user is told, and that nothing goes wrong when the
// stop button or a timer tick runs nested inside a wait slice or a dialog.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "detector/Detector.h"
#include "detector/DetectorText.h"
#include "tests/fakes/ScriptedMessageBoxes.h"

namespace kelvane {
namespace {

namespace text = detector_text;
using testing::ScriptedMessageBoxes;

class FakeWatch : public FolderWatch {
 public:
  // Results of the waits in order; once used up, every wait times out.
  std::vector<WaitResult> results;
  std::optional<FileFailure> openFailure;
  std::vector<std::string> log;

  FileOutcome open(const std::wstring&) override {
    log.push_back("open");
    return openFailure;
  }
  bool rearm() override {
    log.push_back("rearm");
    return true;
  }
  WaitResult wait(unsigned milliseconds) override {
    EXPECT_EQ(milliseconds, 100u);
    ++waits;
    if (next < results.size()) return results[next++];
    return WaitResult::TimedOut;
  }
  void close() override { log.push_back("close"); }

  int waits = 0;
  size_t next = 0;
};

// A comparison that knows its verdict at once: the fake's files are small.
class KnownComparison : public PairComparison {
 public:
  explicit KnownComparison(Comparison verdict) : verdict_(verdict) {}
  std::optional<Comparison> advance(uint64_t) override { return verdict_; }

 private:
  Comparison verdict_;
};

// A comparison that needs `steps` advances, as a large file does.
class LongComparison : public PairComparison {
 public:
  LongComparison(int steps, Comparison verdict) : steps_(steps), verdict_(verdict) {}
  std::optional<Comparison> advance(uint64_t) override {
    if (--steps_ > 0) return std::nullopt;
    return verdict_;
  }

 private:
  int steps_;
  Comparison verdict_;
};

class FakeFiles : public BaitFiles {
 public:
  std::map<std::wstring, int> longBaits;  // bait path: advances its comparison needs
  std::map<std::wstring, std::string> files;
  std::map<std::wstring, FileFailure> refused;  // writes, copies to and removals of these fail
  std::vector<std::wstring> log;
  std::function<void()> onCompare;
  bool sameFolders = false;
  bool locked = false, lockedElsewhere = false;  // elsewhere: a run in another session holds the lock

  // What a large content is kept by.
  static std::string digestOf(const std::string& bytes) { return std::to_string(std::hash<std::string>{}(bytes)); }

  FileOutcome write(const std::wstring& path, std::string_view bytes) override {
    log.push_back(L"write " + path);
    if (refused.count(path)) return refused.at(path);
    files[path] = std::string(bytes);
    return std::nullopt;
  }
  std::unique_ptr<PairComparison> compare(const BaitPair& pair, const KeptContent& kept) override {
    if (onCompare) onCompare();
    const bool hasBait = files.count(pair.bait) != 0, hasBackup = files.count(pair.backup) != 0;
    if (!hasBait) return verdict(hasBackup ? Comparison::BaitUnreadable : Comparison::BothUnreadable);
    const std::string& bait = files[pair.bait];
    const bool asKept = kept.whole() ? bait == kept.bytes : digestOf(bait) == kept.digest;
    if (!hasBackup) return verdict(asKept ? Comparison::BackupUnreadable : Comparison::ChangedBackupUnreadable);
    const Comparison found = asKept && bait == files[pair.backup] ? Comparison::Same : Comparison::Changed;
    if (longBaits.count(pair.bait)) return std::make_unique<LongComparison>(longBaits[pair.bait], found);
    return verdict(found);
  }
  FileOutcome copy(const std::wstring& from, const std::wstring& to, KeptContent& copied) override {
    log.push_back(L"copy " + from + L" " + to);
    if (refused.count(to)) return refused.at(to);
    const std::string& bytes = files.at(from);
    files[to] = bytes;
    copied = bytes.size() <= KeptBytesLimit ? KeptContent::of(bytes) : KeptContent{bytes.size(), {}, digestOf(bytes)};
    return std::nullopt;
  }
  FileOutcome stage(const std::wstring& from, const KeptContent& kept,
                    std::unique_ptr<StagedContent>& staged) override {
    log.push_back(L"stage " + from);
    const std::string bytes = files.at(from);
    if (bytes.size() == kept.size && digestOf(bytes) == kept.digest) staged = std::make_unique<Staged>(*this, bytes);
    return std::nullopt;
  }
  FileOutcome remove(const std::wstring& path) override {
    log.push_back(L"remove " + path);
    if (refused.count(path)) return refused.at(path);
    files.erase(path);
    return std::nullopt;
  }
  bool sameFolder(const std::wstring&, const std::wstring&) override { return sameFolders; }
  bool lockDeepDetection() override { return locked = !lockedElsewhere; }
  void unlockDeepDetection() override { locked = false; }

 private:
  struct Staged : StagedContent {
    Staged(FakeFiles& owner, std::string content) : files(owner), bytes(std::move(content)) {}
    FileOutcome writeTo(const std::wstring& path) override { return files.write(path, bytes); }
    FakeFiles& files;
    std::string bytes;
  };

  static std::unique_ptr<PairComparison> verdict(Comparison comparison) {
    return std::make_unique<KnownComparison>(comparison);
  }
};

class FakeHost : public DetectorHost {
 public:
  std::vector<ControlStates> states;
  bool timer = false;
  bool timerStarts = true;
  bool boxOpen = false;  // another page's message box
  double clock = 0;
  int pumps = 0;
  std::function<void(int)> onPump;  // given the pass number, from 1

  void showControlStates(const ControlStates& s) override { states.push_back(s); }
  bool setTimerDeep(bool enabled) override {
    timer = enabled && timerStarts;
    return timer == enabled;
  }
  bool messageBoxOpen() override { return boxOpen; }
  double nowMs() override { return clock += 1; }
  void processPendingEvents() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }
};

constexpr ControlStates Idle{true, true, true};
constexpr ControlStates NormalRunning{false, true, false};
constexpr ControlStates DeepRunning{false, false, true};

class DetectorTest : public ::testing::Test {
 protected:
  FakeWatch watch;
  FakeFiles files;
  FakeHost host;
  ScriptedMessageBoxes boxes;
  Detector detector{DetectorFolders{L"C:\\WINDOWS\\system32", L"C:\\WINDOWS", L"D:\\Tools"}, watch, files, host,
                    boxes, nullptr};

  void startDeep() {
    boxes.then(IdYes);
    detector.DeepDetect();
    ASSERT_EQ(detector.mode(), DetectorMode::Deep);
    boxes.shown.clear();
    files.log.clear();
  }
};

TEST(DetectorStates, EachModeEnablesItsRowOfControls) {
  EXPECT_EQ(controlStatesFor(DetectorMode::Idle), Idle);
  EXPECT_EQ(controlStatesFor(DetectorMode::Normal), NormalRunning);
  EXPECT_EQ(controlStatesFor(DetectorMode::Deep), DeepRunning);
}

// ------------------------------------------------------------------ normal detection

TEST_F(DetectorTest, NoToTheNormalConfirmationOpensNoWatchAndChangesNothing) {
  boxes.then(IdNo);
  detector.NormalDetect(L"C:\\WINDOWS");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, L"确定要开始普通检测吗？\r开始后请不要安装新的程序和进行系统安装等工作,\r否则将导致错误报警。");
  EXPECT_EQ(boxes.shown[0].title, L"dudov");
  EXPECT_EQ(boxes.shown[0].flags, MbYesNo);
  EXPECT_TRUE(watch.log.empty());
  EXPECT_TRUE(host.states.empty());
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);
}

TEST_F(DetectorTest, StopPressedDuringAWaitSliceEndsTheRunAfterThatSliceWithOneMessage) {
  boxes.then(IdYes);
  host.onPump = [&](int pass) {
    EXPECT_EQ(host.states.back(), NormalRunning);
    if (pass == 3) {
      detector.StopNormalDetect();
      detector.StopNormalDetect();  // a second press finds nothing running
    }
  };
  detector.NormalDetect(L"C:\\WINDOWS");
  EXPECT_EQ(watch.waits, 3);  // no wait after the stop
  EXPECT_EQ(watch.log, (std::vector<std::string>{"open", "close"}));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, L"停止普通检测");
  EXPECT_EQ(boxes.shown[1].title, L"");  // the application's title
  EXPECT_EQ(boxes.shown[1].flags, MbOk | MbIconInformation);
  EXPECT_EQ(host.states, (std::vector<ControlStates>{NormalRunning, Idle}));
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);
}

TEST_F(DetectorTest, EveryChangeIsAlertedYesRearmsAndNoStops) {
  watch.results = {WaitResult::TimedOut, WaitResult::Signalled, WaitResult::Signalled};
  boxes.then(IdYes).then(IdYes).then(IdNo);
  detector.NormalDetect(L"C:\\WINDOWS");
  const std::wstring alert =
      L"文件夹C:\\WINDOWS中有文件变动，如果您确定该变动是您的操作造成的，\r\n"
      L"请单击 是 ，继续检测，否则请单击 否 后，使用杀毒软件进行深入的查杀";
  EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{std::wstring(text::ConfirmNormal), alert, alert, L"停止普通检测"}));
  EXPECT_EQ(boxes.shown[1].title, L"dudov");
  EXPECT_EQ(boxes.shown[1].flags, MbYesNo | MbIconError);
  EXPECT_EQ(watch.log, (std::vector<std::string>{"open", "rearm", "close"}));
  EXPECT_EQ(host.states.back(), Idle);
}

TEST_F(DetectorTest, AFolderThatCannotBeWatchedIsReportedAndThePageStaysIdle) {
  watch.openFailure = FileFailure{L"系统找不到指定的路径。"};
  boxes.then(IdYes);
  detector.NormalDetect(L"Q:\\gone");
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, L"无法监视文件夹Q:\\gone：系统找不到指定的路径。\r\n普通检测没有开始。");
  EXPECT_EQ(boxes.shown[1].flags, MbOk | MbIconError);
  EXPECT_EQ(watch.waits, 0);
  EXPECT_TRUE(host.states.empty());
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);
}

TEST_F(DetectorTest, AFailingWaitEndsTheRunAsInterruptedInsteadOfSpinning) {
  watch.results = {WaitResult::TimedOut, WaitResult::Failed};
  boxes.then(IdYes);
  detector.NormalDetect(L"C:\\WINDOWS");
  EXPECT_EQ(watch.waits, 2);
  EXPECT_EQ(boxes.texts().back(), L"检测被中断");
  EXPECT_EQ(boxes.shown.back().flags, MbOk | MbIconInformation);
  EXPECT_EQ(watch.log.back(), "close");
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);
}

TEST_F(DetectorTest, StopWhileIdleShowsNothingInEitherMode) {
  detector.StopNormalDetect();
  detector.StopDeepDetect();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(host.states.empty());
  EXPECT_TRUE(files.log.empty());
}

TEST_F(DetectorTest, AStopAndANewRunNestedInTheAlertLeaveTheOuterRunQuietly) {
  watch.results = {WaitResult::Signalled};
  boxes.then(IdYes).then(IdYes, [&] {
    // While the alert is open, the run is stopped and a new one started and stopped.
    detector.StopNormalDetect();
    boxes.then(IdYes);
    host.onPump = [&](int) { detector.StopNormalDetect(); };
    detector.NormalDetect(L"C:\\WINDOWS");
  });
  detector.NormalDetect(L"C:\\WINDOWS");
  // The outer run neither re-arms the closed watch nor shows anything more.
  EXPECT_EQ(watch.log, (std::vector<std::string>{"open", "close", "open", "close"}));
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);
  EXPECT_EQ(boxes.shown.size(), 5u);
}

// -------------------------------------------------------------------- deep detection

TEST_F(DetectorTest, DeepDetectionPlantsTwentyTwoFilesOfFortySevenBytesInListOrder) {
  boxes.then(IdYes);
  detector.DeepDetect();
  EXPECT_EQ(boxes.shown[0].text, L"确定要进行深度检测吗？");
  EXPECT_EQ(boxes.shown[0].flags, MbYesNo);
  ASSERT_EQ(files.log.size(), 22u);
  EXPECT_EQ(files.log[0], L"write C:\\WINDOWS\\system32\\bait.com");
  EXPECT_EQ(files.log[1], L"write D:\\Tools\\bait.com");
  EXPECT_EQ(files.log[7], L"write D:\\Tools\\bait.HTML");
  EXPECT_EQ(files.log[21], L"write D:\\Tools\\bait.exe");
  for (const auto& [path, bytes] : files.files) {
    EXPECT_EQ(bytes, "This file is the com bait for virus detector.\r\n");
    EXPECT_EQ(bytes.size(), 47u);
  }
  EXPECT_TRUE(host.timer);
  EXPECT_EQ(host.states, (std::vector<ControlStates>{DeepRunning}));
}

TEST_F(DetectorTest, NoToTheDeepConfirmationWritesNothing) {
  boxes.then(IdNo);
  detector.DeepDetect();
  EXPECT_TRUE(files.log.empty());
  EXPECT_FALSE(host.timer);
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);
}

TEST_F(DetectorTest, DeepDetectionInTheSystemDirectoryItselfIsRefusedAndWritesNothing) {
  files.sameFolders = true;
  detector.DeepDetect();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, text::sameFolderRefusal(L"D:\\Tools"));
  EXPECT_EQ(boxes.shown[0].flags, MbOk | MbIconError);
  EXPECT_TRUE(files.log.empty());
  EXPECT_FALSE(host.timer);
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);

  // Made one while the confirmation is open, or during a run: nothing is written.
  files.sameFolders = false;
  boxes.then(IdYes, [&] { files.sameFolders = true; });
  detector.DeepDetect();
  EXPECT_EQ(boxes.texts().back(), text::sameFolderRefusal(L"D:\\Tools"));
  EXPECT_TRUE(files.log.empty());
  files.sameFolders = false;
  startDeep();
  files.files[L"C:\\WINDOWS\\system32\\bait.com"] = "x";
  boxes.then(IdOk, [&] { files.sameFolders = true; }).then(IdOk).then(IdCancel).then(IdYes).then(IdOk);
  detector.TimerDeep_Timer();
  detector.TimerDeep_Timer();
  EXPECT_EQ(boxes.texts()[1], text::sameFolderDuringRun(L"D:\\Tools"));
  EXPECT_EQ(boxes.texts()[4], text::sameFolderDuringRun(L"D:\\Tools"));
  EXPECT_TRUE(files.log.empty());
}

// Another session's stop would delete this run's baits.
TEST_F(DetectorTest, ARunElsewhereOnTheMachineKeepsDeepDetectionFromPlantingAnything) {
  files.lockedElsewhere = true;
  boxes.then(IdYes);
  detector.DeepDetect();
  EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{std::wstring(text::ConfirmDeep),
                                                      std::wstring(text::DeepRunningElsewhere)}));
  EXPECT_TRUE(files.log.empty());
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);
  files.lockedElsewhere = false;
  startDeep();
  EXPECT_TRUE(files.locked);
}

TEST_F(DetectorTest, ATimerThatDoesNotStartIsReportedAndThePlantedFilesGoAgain) {
  host.timerStarts = false;
  boxes.then(IdYes);
  detector.DeepDetect();
  EXPECT_EQ(files.log.size(), 22u + 22u);
  EXPECT_TRUE(files.files.empty());
  EXPECT_FALSE(files.locked);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, text::TimerFailure);
  EXPECT_EQ(boxes.shown[1].flags, MbOk | MbIconError);
  EXPECT_TRUE(host.states.empty());
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);
  host.timerStarts = true;
  boxes.then(IdYes);
  detector.DeepDetect();
  EXPECT_EQ(detector.mode(), DetectorMode::Deep);
}

TEST_F(DetectorTest, ABaitThatCannotBeWrittenRemovesWhatWasWrittenAndStaysIdle) {
  files.refused[L"C:\\WINDOWS\\system32\\bait.eml"] = FileFailure{L"拒绝访问。", true};
  boxes.then(IdYes);
  detector.DeepDetect();
  EXPECT_FALSE(files.locked);
  EXPECT_TRUE(files.files.empty());
  EXPECT_FALSE(host.timer);
  EXPECT_TRUE(host.states.empty());
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text,
            L"无法写入诱饵文件C:\\WINDOWS\\system32\\bait.eml：拒绝访问。\r\n请以管理员身份运行本程序后再试。\r\n"
            L"深度检测没有开始。");
  EXPECT_EQ(boxes.shown[1].flags, MbOk | MbIconError);
}

TEST_F(DetectorTest, EveryFileThatCannotBeWrittenIsNamedAtOnceAndTheWrittenOnesGoAgain) {
  files.refused[L"C:\\WINDOWS\\system32\\bait.HTT"] = FileFailure{L"拒绝访问。", true};
  files.refused[L"D:\\Tools\\bait.exe"] = FileFailure{L"另一个程序正在使用此文件，进程无法访问。"};
  boxes.then(IdYes);
  detector.DeepDetect();
  EXPECT_EQ(files.log.size(), 22u + 20u);  // every write tried, then the 20 written removed
  EXPECT_TRUE(files.files.empty());
  EXPECT_FALSE(host.timer);
  EXPECT_EQ(detector.mode(), DetectorMode::Idle);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text,
            L"无法写入诱饵文件C:\\WINDOWS\\system32\\bait.HTT：拒绝访问。\r\n"
            L"无法写入诱饵文件D:\\Tools\\bait.exe：另一个程序正在使用此文件，进程无法访问。\r\n"
            L"请以管理员身份运行本程序后再试。\r\n深度检测没有开始。");
}

TEST_F(DetectorTest, AnUntouchedTickShowsNothing) {
  startDeep();
  detector.TimerDeep_Timer();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(files.log.empty());
}

TEST_F(DetectorTest, OkAcceptsTheChangeByCopyingTheBaitOverTheBackup) {
  startDeep();
  files.files[L"C:\\WINDOWS\\system32\\bait.VBS"] = "infected";
  boxes.then(IdOk);
  detector.TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            L"警告：文件C:\\WINDOWS\\system32\\bait.VBS可能已受病毒感染！可能在你的计算机中发现了病毒！"
            L"如果确定是你自己改动的，按“确定”键将会自动更新备份文件，否则按“取消”键，");
  EXPECT_EQ(boxes.shown[0].title, L"dudov报告");
  EXPECT_EQ(boxes.shown[0].flags, MbOkCancel | MbIconExclamation | MbDefButton2);
  EXPECT_EQ(files.log, (std::vector<std::wstring>{L"copy C:\\WINDOWS\\system32\\bait.VBS D:\\Tools\\bait.VBS"}));
  boxes.shown.clear();
  detector.TimerDeep_Timer();
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DetectorTest, CancelThenYesRestoresTheBaitAndCancelThenNoReportsAgainNextTick) {
  startDeep();
  files.files[L"C:\\WINDOWS\\system32\\bait.com"] = "x";
  files.files[L"C:\\WINDOWS\\system32\\bait.exe"] = "y";
  boxes.then(IdCancel).then(IdNo).then(IdCancel).then(IdYes);
  detector.TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 4u);  // both reports of .com, then of .exe, in list order
  EXPECT_EQ(boxes.shown[1].text,
            L"是否用备份文件D:\\Tools\\bait.com更新感染文件C:\\WINDOWS\\system32\\bait.com?");
  EXPECT_EQ(boxes.shown[1].flags, MbYesNo | MbIconExclamation | MbDefButton2);
  // What the pair should hold goes back to both files.
  EXPECT_EQ(files.log, (std::vector<std::wstring>{L"write C:\\WINDOWS\\system32\\bait.exe", L"write D:\\Tools\\bait.exe"}));
  EXPECT_EQ(files.files[L"C:\\WINDOWS\\system32\\bait.exe"], BaitContent);
  boxes.shown.clear();
  boxes.then(IdCancel).then(IdNo);
  detector.TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 2u);  // .com again; .exe is restored
  EXPECT_NE(boxes.shown[0].text.find(L"bait.com"), std::wstring::npos);
}

TEST_F(DetectorTest, AMissingFileIsReportedByNameAndThePairGetsBackWhatItShouldHold) {
  startDeep();
  files.files.erase(L"C:\\WINDOWS\\system32\\bait.dot");
  files.files.erase(L"D:\\Tools\\bait.ASP");
  files.files.erase(L"C:\\WINDOWS\\system32\\bait.PHP");
  files.files.erase(L"D:\\Tools\\bait.PHP");
  boxes.then(IdOk).then(IdCancel).then(IdYes).then(IdOk);
  detector.TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 4u);
  EXPECT_EQ(boxes.shown[0].text,
            L"警告：文件C:\\WINDOWS\\system32\\bait.dot已丢失或无法读取，可能已受病毒感染！"
            L"可能在你的计算机中发现了病毒！如果确定是你自己改动的，按“确定”键将会自动更新备份文件，否则按“取消”键，");
  EXPECT_NE(boxes.shown[1].text.find(L"D:\\Tools\\bait.ASP已丢失"), std::wstring::npos);
  EXPECT_EQ(files.log, (std::vector<std::wstring>{
                           L"write C:\\WINDOWS\\system32\\bait.dot", L"write D:\\Tools\\bait.dot",
                           L"write C:\\WINDOWS\\system32\\bait.ASP", L"write D:\\Tools\\bait.ASP",
                           L"write C:\\WINDOWS\\system32\\bait.PHP", L"write D:\\Tools\\bait.PHP"}));
  for (const auto& [path, bytes] : files.files) EXPECT_EQ(bytes, BaitContent);
  boxes.shown.clear();
  detector.TimerDeep_Timer();
  EXPECT_TRUE(boxes.shown.empty());
}

// A program that changes a bait and deletes (or locks) its backup must not get
// its change taken as the reference: the bait is measured against what the pair
// should hold, the start's line or what the user accepted.
TEST_F(DetectorTest, AChangedBaitWithoutItsBackupIsReportedAndRestoredFromWhatWasKept) {
  startDeep();
  const std::wstring bait = L"C:\\WINDOWS\\system32\\bait.com", backup = L"D:\\Tools\\bait.com";
  files.files[bait] = "infected";
  files.files.erase(backup);
  boxes.then(IdCancel).then(IdYes);
  detector.TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, text::changedReport(bait));
  EXPECT_EQ(files.files[bait], BaitContent);
  EXPECT_EQ(files.files[backup], BaitContent);

  // Accepting stays the user's choice; what was accepted is then the reference.
  files.files[bait] = "the user's own change";
  files.files.erase(backup);
  boxes.then(IdOk);
  detector.TimerDeep_Timer();
  EXPECT_EQ(files.files[backup], "the user's own change");
  files.files.erase(backup);
  boxes.shown.clear();
  boxes.then(IdCancel).then(IdYes);
  detector.TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, text::missingReport(backup));  // the bait still holds what was accepted
  EXPECT_EQ(files.files[bait], "the user's own change");
  EXPECT_EQ(files.files[backup], "the user's own change");

  // A large accepted content is kept by its digest alone: without a backup to
  // copy it from, restoring writes the start's line, and the user is told.
  const std::string large(KeptBytesLimit + 1, 'L');
  files.files[bait] = large;
  boxes.then(IdOk);
  detector.TimerDeep_Timer();
  EXPECT_EQ(files.files[backup], large);
  files.files[bait] = large + "x";
  files.files.erase(backup);
  boxes.shown.clear();
  boxes.then(IdCancel).then(IdYes).then(IdOk);
  detector.TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[0].text, text::changedReport(bait));
  EXPECT_EQ(boxes.shown[2].text, text::digestOnlyRestored(bait, backup));
  EXPECT_EQ(files.files[bait], BaitContent);
  EXPECT_EQ(files.files[backup], BaitContent);
  boxes.shown.clear();
  detector.TimerDeep_Timer();
  EXPECT_TRUE(boxes.shown.empty());

  // After a large accept, only a file checked aside to hold it is written to both.
  files.files[bait] = large;
  boxes.then(IdOk);
  detector.TimerDeep_Timer();
  const std::vector<std::wstring> bothStaged{L"stage " + backup, L"stage " + bait, L"write " + bait, L"write " + backup};
  const auto restore = [&] {
    files.log.clear();
    boxes.shown.clear();
    boxes.then(IdCancel).then(IdYes);  // and OK to what follows
    detector.TimerDeep_Timer();
    return files.log;
  };
  files.files[bait] = "infected";
  EXPECT_EQ(restore(), (std::vector<std::wstring>{L"stage " + backup, L"write " + bait, L"write " + backup}));
  EXPECT_TRUE(files.files[bait] == large);
  std::string planted = large;
  planted[0] = 'P';
  files.files[backup] = planted;
  EXPECT_EQ(restore(), bothStaged);
  EXPECT_TRUE(files.files[backup] == large);

  // Neither holds it: the bait line goes to both, nothing of the backup.
  files.files[backup] = planted;
  files.files[bait] = "infected";
  EXPECT_EQ(restore(), bothStaged);
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[2].text, text::digestOnlyRestored(bait, backup));
  EXPECT_EQ(files.files[bait], BaitContent);
  EXPECT_EQ(files.files[backup], BaitContent);
}

TEST_F(DetectorTest, AMissingBaitAndBackupThatCannotBeWrittenAgainAfterOkAreNamed) {
  startDeep();
  const std::wstring bait = L"C:\\WINDOWS\\system32\\bait.JSP", backup = L"D:\\Tools\\bait.JSP";
  files.files.erase(bait);
  files.files.erase(backup);
  files.refused[bait] = FileFailure{L"拒绝访问。", true};
  files.refused[backup] = FileFailure{L"该文件是只读的"};
  boxes.then(IdOk);
  detector.TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text,
            L"无法重新写入文件C:\\WINDOWS\\system32\\bait.JSP：拒绝访问。\r\n请以管理员身份运行本程序后再试。\r\n"
            L"无法重新写入文件D:\\Tools\\bait.JSP：该文件是只读的");
  EXPECT_EQ(boxes.shown[1].flags, MbOk | MbIconError);
  EXPECT_EQ(detector.mode(), DetectorMode::Deep);
}

TEST_F(DetectorTest, ACopyThatFailsIsReportedAndNothingElseChanges) {
  startDeep();
  files.files[L"C:\\WINDOWS\\system32\\bait.com"] = "x";
  files.refused[L"D:\\Tools\\bait.com"] = FileFailure{L"磁盘已满。"};
  boxes.then(IdOk);
  detector.TimerDeep_Timer();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, L"无法用文件C:\\WINDOWS\\system32\\bait.com更新文件D:\\Tools\\bait.com：磁盘已满。");
  EXPECT_EQ(files.files[L"D:\\Tools\\bait.com"], BaitContent);
  EXPECT_EQ(detector.mode(), DetectorMode::Deep);
}

TEST_F(DetectorTest, TicksWhileAReportIsOpenDoNothing) {
  startDeep();
  files.files[L"C:\\WINDOWS\\system32\\bait.com"] = "x";
  int comparisons = 0;
  files.onCompare = [&] { ++comparisons; };
  boxes.then(IdCancel, [&] { detector.TimerDeep_Timer(); detector.TimerDeep_Timer(); })
      .then(IdNo, [&] { detector.TimerDeep_Timer(); });
  detector.TimerDeep_Timer();
  EXPECT_EQ(comparisons, 11);
  EXPECT_EQ(boxes.shown.size(), 2u);
  boxes.then(IdCancel).then(IdNo);
  detector.TimerDeep_Timer();  // the next tick after they close compares again
  EXPECT_EQ(comparisons, 22);
  EXPECT_EQ(boxes.shown.size(), 4u);

  // Another page's message box counts as much as the detector's own.
  host.boxOpen = true;
  detector.TimerDeep_Timer();
  EXPECT_EQ(comparisons, 22);
  EXPECT_EQ(boxes.shown.size(), 4u);
  host.boxOpen = false;
  boxes.then(IdCancel).then(IdNo);
  detector.TimerDeep_Timer();
  EXPECT_EQ(boxes.shown.size(), 6u);
}

TEST_F(DetectorTest, ALongComparisonGoesOnOverSeveralTicksWhereItStopped) {
  startDeep();
  files.longBaits[L"C:\\WINDOWS\\system32\\bait.dot"] = 60;  // more than one tick's share of time
  files.files[L"C:\\WINDOWS\\system32\\bait.exe"] = "x";
  int comparisons = 0;
  files.onCompare = [&] { ++comparisons; };
  detector.TimerDeep_Timer();
  EXPECT_EQ(comparisons, 2);  // .com, then .dot under way
  detector.TimerDeep_Timer();
  EXPECT_EQ(comparisons, 2);  // .dot goes on, not anew
  boxes.then(IdCancel).then(IdNo);
  detector.TimerDeep_Timer();
  EXPECT_EQ(comparisons, 11);  // .dot done, then the rest of the round
  EXPECT_EQ(boxes.texts().front(), text::changedReport(L"C:\\WINDOWS\\system32\\bait.exe"));
  detector.StopDeepDetect();  // lets go of a comparison under way, and starts afresh next time
}

TEST_F(DetectorTest, AStopWhileAReportIsOpenLeavesTheDeletedFilesDeleted) {
  startDeep();
  files.files[L"C:\\WINDOWS\\system32\\bait.com"] = "x";
  boxes.then(IdOk, [&] { detector.StopDeepDetect(); });
  detector.TimerDeep_Timer();
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(boxes.texts().back(), L"停止深度检测");
}

TEST_F(DetectorTest, StopDeletesAllTwentyTwoFilesAndNamesThoseThatStay) {
  startDeep();
  files.refused[L"D:\\Tools\\bait.JSP"] = FileFailure{L"另一个程序正在使用此文件，进程无法访问。"};
  detector.StopDeepDetect();
  EXPECT_EQ(files.log.size(), 22u);
  EXPECT_EQ(files.log[0], L"remove C:\\WINDOWS\\system32\\bait.com");
  EXPECT_EQ(files.log[1], L"remove D:\\Tools\\bait.com");
  EXPECT_EQ(files.files.size(), 1u);
  EXPECT_FALSE(host.timer);
  EXPECT_FALSE(files.locked);
  EXPECT_EQ(host.states.back(), Idle);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, L"停止深度检测");
  EXPECT_EQ(boxes.shown[0].title, L"");
  EXPECT_EQ(boxes.shown[0].flags, MbOk | MbIconInformation);
  EXPECT_EQ(boxes.shown[1].text,
            L"以下文件无法删除，请手动删除：\r\nD:\\Tools\\bait.JSP：另一个程序正在使用此文件，进程无法访问。");
  boxes.shown.clear();
  detector.TimerDeep_Timer();
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace kelvane
