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
  if (!foldersApart(false)) return;
  if (ask(text::ConfirmDeep, text::Title, MbYesNo) != IdYes) return;
  if (mode_ != DetectorMode::Idle) return;
  // One run on the machine: another session's stop would delete this one's baits.
  if (!files_.lockDeepDetection()) {
    ask(text::DeepRunningElsewhere, text::Title, MbOk | MbIconExclamation);
    return;
  }
  std::vector<std::wstring> written;
  if (!plantBaits(written)) {
    files_.unlockDeepDetection();
    return;
  }
  ++run_;
  resetComparisons();
  kept_.fill(KeptContent::of(BaitContent));
  if (!host_.setTimerDeep(true)) {
    // Nothing would ever compare the files: they go again and the page stays idle.
    std::wstring message(text::TimerFailure);
    const std::wstring left = removeAll(written);
    files_.unlockDeepDetection();
    if (!left.empty()) message += L"\r\n" + std::wstring(text::UndeletableHeading) + left;
    ask(message, text::Title, MbOk | MbIconError);
    return;
  }
  enterMode(DetectorMode::Deep);
}

// In the system directory itself each bait would be its own backup: every
// comparison would find them equal, and a restore would write a bait's own
// change back into it. The folders are compared before every write, since the
// program's folder may be swapped for a link to the system directory at any
// time; the user is told when they are one.
bool Detector::foldersApart(bool running) {
  if (!files_.sameFolder(folders_.systemDir, folders_.appDir)) return true;
  ask(running ? text::sameFolderDuringRun(folders_.appDir) : text::sameFolderRefusal(folders_.appDir), text::Title,
      MbOk | MbIconError);
  return false;
}

// Writes all 22 files. Every write is tried, so the user learns of every file in
// the way at once; if any failed, the files written go again and nothing is left
// behind.
bool Detector::plantBaits(std::vector<std::wstring>& written) {
  if (!foldersApart(false)) return false;  // the question before may have been open for long
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
  const std::wstring left = removeAll(written);
  if (!left.empty()) message += L"\r\n" + std::wstring(text::UndeletableHeading) + left;
  ask(message, text::Title, MbOk | MbIconError);
  return false;
}

// Removes the files and names, one a line, those that stay, with the reason.
std::wstring Detector::removeAll(const std::vector<std::wstring>& paths) {
  std::wstring left;
  for (const std::wstring& path : paths) {
    if (const FileOutcome failure = files_.remove(path)) left += L"\r\n" + path + L"：" + failure->reason;
  }
  return left;
}

void Detector::resetComparisons() {
  comparison_.reset();  // lets go of the files it holds open
  nextPair_ = 0;
  pairs_ = baitPairs(folders_.systemDir, folders_.appDir);
}

// Compares the pairs in list order, a piece at a time: a tick stops after its
// share of time and the next tick goes on where it stopped, so a bait grown to
// any size never holds the window for long. Files of different sizes differ
// without being read.
void Detector::TimerDeep_Timer() {
  // A tick that comes while an earlier tick's dialogs, or any other of the
  // program's message boxes, are open does nothing; the next tick compares.
  if (mode_ != DetectorMode::Deep || comparing_ || host_.messageBoxOpen()) return;
  comparing_ = true;
  const unsigned run = run_;
  double started = host_.nowMs();
  for (;;) {
    const size_t index = nextPair_;
    if (!comparison_) comparison_ = files_.compare(pairs_[index], kept_[index]);
    const std::optional<Comparison> verdict = comparison_->advance(ComparisonStepBytes);
    if (!verdict) {
      if (host_.nowMs() - started >= TickBudgetMs) break;
      continue;
    }
    comparison_.reset();
    nextPair_ = (index + 1) % pairs_.size();
    if (*verdict != Comparison::Same) {
      CompareBait(index, *verdict, run);
      if (!isCurrent(DetectorMode::Deep, run)) break;
      started = host_.nowMs();  // the time in the dialogs held nothing up
    }
    if (nextPair_ == 0) break;  // one round a tick at most
  }
  comparing_ = false;
}

// Reports a pair that differs and does what the user answers.
void Detector::CompareBait(size_t index, Comparison comparison, unsigned run) {
  const BaitPair& pair = pairs_[index];
  const bool baitGone = comparison == Comparison::BaitUnreadable || comparison == Comparison::BothUnreadable;
  const std::wstring report = comparison == Comparison::BackupUnreadable ? text::missingReport(pair.backup)
                              : baitGone                                 ? text::missingReport(pair.bait)
                                                                         : text::changedReport(pair.bait);
  const unsigned flags = MbIconExclamation | MbDefButton2;
  const int first = ask(report, text::ReportTitle, MbOkCancel | flags);
  if (!isCurrent(DetectorMode::Deep, run)) return;  // stopped while the report was open
  if (first == IdOk) {
    if (foldersApart(true)) accept(index, comparison);
    return;
  }
  const int second = ask(text::restoreQuestion(pair.backup, pair.bait), text::ReportTitle, MbYesNo | flags);
  if (!isCurrent(DetectorMode::Deep, run)) return;
  if (second == IdYes && foldersApart(true)) restore(index, comparison);
}

// OK: the bait as it is now becomes what the pair should hold. A bait that has
// gone cannot be accepted: it is written back instead.
void Detector::accept(size_t index, Comparison comparison) {
  if (comparison == Comparison::BaitUnreadable || comparison == Comparison::BothUnreadable) {
    restore(index, comparison);
    return;
  }
  const BaitPair& pair = pairs_[index];
  KeptContent copied;
  if (const FileOutcome failure = files_.copy(pair.bait, pair.backup, copied)) {
    tell(text::copyFailure(pair.bait, pair.backup, failure->reason, failure->accessDenied));
    return;
  }
  kept_[index] = std::move(copied);
}

// Yes: the pair gets back what it should hold. A large content of which the
// digest alone was kept can come back only from a file that still holds it, the
// backup or else the bait: anyone may rewrite a backup in the program's folder,
// so it is first copied aside where only administrators can write and checked
// there, and only that checked copy is written to both files; nothing reaches
// the system directory before it matches. Without such a file the bait line of
// the start goes to both files, and the user is told.
void Detector::restore(size_t index, Comparison comparison) {
  const BaitPair pair = pairs_[index];  // a message below may pump, and a stop and start in it renew the pairs
  const KeptContent kept = kept_[index];
  if (kept.whole()) {
    writePair(pair, [&](const std::wstring& path) { return files_.write(path, kept.bytes); });
    return;
  }
  std::vector<std::wstring> sources;
  if (comparison == Comparison::Changed || comparison == Comparison::BaitUnreadable) sources.push_back(pair.backup);
  if (comparison == Comparison::Changed || comparison == Comparison::BackupUnreadable) sources.push_back(pair.bait);
  for (const std::wstring& source : sources) {
    std::unique_ptr<StagedContent> staged;
    if (const FileOutcome failure = files_.stage(source, kept, staged)) {
      tell(text::copyFailure(source, pair.bait, failure->reason, failure->accessDenied));
      return;
    }
    if (staged) {
      writePair(pair, [&](const std::wstring& path) { return staged->writeTo(path); });
      return;
    }
  }
  kept_[index] = KeptContent::of(BaitContent);
  writePair(pair, [this](const std::wstring& path) { return files_.write(path, BaitContent); });
  tell(text::digestOnlyRestored(pair.bait, pair.backup));
}

// Writes the bait and its backup; names every file that could not be written.
void Detector::writePair(const BaitPair& pair, const std::function<FileOutcome(const std::wstring&)>& write) {
  std::wstring message;
  for (const std::wstring* path : {&pair.bait, &pair.backup}) {
    if (const FileOutcome failure = write(*path)) {
      if (!message.empty()) message += L"\r\n";
      message += text::rewriteFailure(*path, failure->reason, failure->accessDenied);
    }
  }
  if (!message.empty()) tell(message);
}

void Detector::tell(const std::wstring& message) { ask(message, text::ReportTitle, MbOk | MbIconError); }

void Detector::StopDeepDetect() {
  if (mode_ != DetectorMode::Deep) return;
  // Timer off and idle before anything pumps, so no tick compares files that are
  // being deleted and a report still open does nothing once it closes. The
  // comparison under way lets go of its files first, so they really go.
  host_.setTimerDeep(false);
  resetComparisons();
  std::vector<std::wstring> paths;
  for (const BaitPair& pair : pairs_) {
    paths.push_back(pair.bait);
    paths.push_back(pair.backup);
  }
  const std::wstring left = removeAll(paths);
  files_.unlockDeepDetection();
  enterMode(DetectorMode::Idle);
  ask(text::DeepStopped, L"", MbOk | MbIconInformation);
  if (!left.empty()) ask(std::wstring(text::UndeletableHeading) + left, text::Title, MbOk | MbIconExclamation);
}

}  // namespace kelvane
