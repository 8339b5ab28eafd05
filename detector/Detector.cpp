#include "detector/Detector.h"

#include "detector/DetectorText.h"

namespace kelvane {
namespace {
namespace text = detector_text;
}

ControlStates controlStatesFor(DetectorMode mode) {
  switch (mode) {
    case DetectorMode::Normal: return {false, true, false};
    case DetectorMode::Deep: return {false, false, true};
    case DetectorMode::Idle: break;
  }
  return {true, true, true};
}

std::vector<BaitPair> baitPairs(std::wstring_view systemDir, std::wstring_view appDir) {
  std::vector<BaitPair> pairs;
  for (std::wstring_view type : BaitTypes) {
    BaitPair pair{std::wstring(systemDir), std::wstring(appDir)};
    pair.bait += L"\\bait";
    pair.bait += type;
    pair.backup += L"\\bait";
    pair.backup += type;
    pairs.push_back(std::move(pair));
  }
  return pairs;
}

Detector::Detector(DetectorFolders folders, FolderWatch& watch, BaitFiles& files, DetectorHost& host,
                   MessageBoxes& messageBoxes, WindowHandle owner)
    : folders_(std::move(folders)),
      watch_(watch),
      files_(files),
      host_(host),
      messageBoxes_(messageBoxes),
      owner_(owner) {}

int Detector::ask(std::wstring_view message, std::wstring_view title, unsigned flags) {
  return messageBoxes_.show(owner_, message, title, flags);
}

void Detector::enterMode(DetectorMode mode) {
  mode_ = mode;
  host_.showControlStates(controlStatesFor(mode));
}

// ---------------------------------------------------------------- normal detection

void Detector::NormalDetect(const std::wstring& path) {
  if (mode_ != DetectorMode::Idle) return;
  if (ask(text::ConfirmNormal, text::Title, MbYesNo) != IdYes) return;
  if (mode_ != DetectorMode::Idle) return;  // something started while the question was open
  // A watch that cannot be opened would never signal while the page says
  // detection is on: the user hears of it at once and the page stays idle.
  if (const FileOutcome failure = watch_.open(path)) {
    ask(text::watchFailure(path, failure->reason), text::Title, MbOk | MbIconError);
    return;
  }
  const unsigned run = ++run_;
  enterMode(DetectorMode::Normal);
  WaitEnd end = waitForChange(run);
  while (end == WaitEnd::Changed) {
    const int answer = ask(text::changeAlert(path), text::Title, MbYesNo | MbIconError);
    if (!isCurrent(DetectorMode::Normal, run)) return;  // stopped while the alert was open
    if (answer != IdYes) {
      StopNormalDetect();
      return;
    }
    // Re-arming signals again at once for changes made while the alert was open.
    end = watch_.rearm() ? waitForChange(run) : WaitEnd::Failed;
  }
  if (end == WaitEnd::Failed) {
    // A wait that fails would fail again at once, slice after slice: the run ends.
    endNormalRun();
    ask(text::NormalInterrupted, text::Title, MbOk | MbIconInformation);
  }
}

Detector::WaitEnd Detector::waitForChange(unsigned run) {
  for (;;) {
    const WaitResult result = watch_.wait(WaitSliceMs);
    host_.processPendingEvents();
    if (!isCurrent(DetectorMode::Normal, run)) return WaitEnd::Stopped;
    if (result == WaitResult::Signalled) return WaitEnd::Changed;
    if (result == WaitResult::Failed) return WaitEnd::Failed;
  }
}

void Detector::endNormalRun() {
  watch_.close();
  enterMode(DetectorMode::Idle);
}

void Detector::StopNormalDetect() {
  if (mode_ != DetectorMode::Normal) return;
  // Idle before the message pumps: a second stop during it finds nothing to stop,
  // and the wait loop, when control returns to it, ends without waiting again.
  endNormalRun();
  ask(text::NormalStopped, L"", MbOk | MbIconInformation);
}

// ------------------------------------------------------------------ deep detection

void Detector::DeepDetect() {
  if (mode_ != DetectorMode::Idle) return;
  if (ask(text::ConfirmDeep, text::Title, MbYesNo) != IdYes) return;
  if (mode_ != DetectorMode::Idle) return;
  if (!plantBaits()) return;
  ++run_;
  enterMode(DetectorMode::Deep);
  host_.setTimerDeep(true);
}

// Writes all 22 files. Every write is tried, so the user learns of every file in
// the way at once; if any failed, the files written go again and nothing is left
// behind.
bool Detector::plantBaits() {
  std::vector<std::wstring> written;
  std::vector<text::WriteFailure> failures;
  bool accessDenied = false;
  for (const BaitPair& pair : baitPairs(folders_.systemDir, folders_.appDir)) {
    for (const std::wstring* path : {&pair.bait, &pair.backup}) {
      if (const FileOutcome failure = files_.write(*path, BaitContent)) {
        failures.push_back({*path, failure->reason});
        accessDenied = accessDenied || failure->accessDenied;
      } else {
        written.push_back(*path);
      }
    }
  }
  if (failures.empty()) return true;
  std::wstring message = text::writeFailure(failures, accessDenied);
  std::wstring left;
  for (const std::wstring& done : written) {
    if (files_.remove(done)) left += L"\r\n" + done;
  }
  if (!left.empty()) message += L"\r\n" + std::wstring(text::UndeletableHeading) + left;
  ask(message, text::Title, MbOk | MbIconError);
  return false;
}

void Detector::TimerDeep_Timer() {
  // A tick that comes while an earlier tick's dialogs are open does nothing; the
  // next tick after they close compares again.
  if (mode_ != DetectorMode::Deep || comparing_) return;
  comparing_ = true;
  const unsigned run = run_;
  for (const BaitPair& pair : baitPairs(folders_.systemDir, folders_.appDir)) {
    CompareBait(pair, run);
    if (!isCurrent(DetectorMode::Deep, run)) break;
  }
  comparing_ = false;
}

void Detector::CompareBait(const BaitPair& pair, unsigned run) {
  const Comparison comparison = files_.compare(pair.bait, pair.backup);
  if (comparison == Comparison::Same) return;
  const bool baitReadable = comparison == Comparison::Changed || comparison == Comparison::BackupUnreadable;
  const bool backupReadable = comparison == Comparison::Changed || comparison == Comparison::BaitUnreadable;
  const std::wstring report = comparison == Comparison::Changed       ? text::changedReport(pair.bait)
                              : comparison == Comparison::BackupUnreadable ? text::missingReport(pair.backup)
                                                                           : text::missingReport(pair.bait);
  const unsigned flags = MbIconExclamation | MbDefButton2;
  const int first = ask(report, text::ReportTitle, MbOkCancel | flags);
  if (!isCurrent(DetectorMode::Deep, run)) return;  // stopped while the report was open
  if (first == IdOk) {
    bringUpToDate(pair.bait, pair.backup, baitReadable, backupReadable);
    return;
  }
  const int second = ask(text::restoreQuestion(pair.backup, pair.bait), text::ReportTitle, MbYesNo | flags);
  if (!isCurrent(DetectorMode::Deep, run)) return;
  if (second == IdYes) bringUpToDate(pair.backup, pair.bait, backupReadable, baitReadable);
}

// Copies `from` over `to`. When `from` is the file that has gone, the missing file
// is written back from the other one; when both have gone, both get the content
// they started with. Either way the pair is equal again.
void Detector::bringUpToDate(const std::wstring& from, const std::wstring& to, bool fromReadable,
                             bool toReadable) {
  if (!fromReadable && !toReadable) {
    for (const std::wstring* path : {&from, &to}) {
      if (const FileOutcome failure = files_.write(*path, BaitContent)) {
        ask(text::rewriteFailure(*path, failure->reason), text::ReportTitle, MbOk | MbIconError);
        return;
      }
    }
    return;
  }
  const std::wstring& source = fromReadable ? from : to;
  const std::wstring& destination = fromReadable ? to : from;
  if (const FileOutcome failure = files_.copy(source, destination)) {
    ask(text::copyFailure(source, destination, failure->reason), text::ReportTitle, MbOk | MbIconError);
  }
}

void Detector::StopDeepDetect() {
  if (mode_ != DetectorMode::Deep) return;
  // Timer off and idle before anything pumps, so no tick compares files that are
  // being deleted and a report still open does nothing once it closes.
  host_.setTimerDeep(false);
  std::wstring left;
  for (const BaitPair& pair : baitPairs(folders_.systemDir, folders_.appDir)) {
    for (const std::wstring* path : {&pair.bait, &pair.backup}) {
      if (const FileOutcome failure = files_.remove(*path)) left += L"\r\n" + *path + L"：" + failure->reason;
    }
  }
  enterMode(DetectorMode::Idle);
  ask(text::DeepStopped, L"", MbOk | MbIconInformation);
  if (!left.empty()) ask(std::wstring(text::UndeletableHeading) + left, text::Title, MbOk | MbIconExclamation);
}

}  // namespace kelvane
