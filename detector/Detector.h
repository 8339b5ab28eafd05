#pragma once
// The virus detector's logic, free of Win32 so it runs against fakes in tests.
//
// Normal detection watches one folder and asks the user about every change. It
// runs inside the start button's click handler: it waits in slices of 100 ms and
// processes pending events after every slice, so the stop button, the page
// buttons and everything else run nested inside it. Whatever pumps events (a wait
// slice, a message box) can therefore come back with the detector stopped, or
// stopped and started again: every routine records its run number before it
// pumps and checks the run is still current afterwards.
//
// Deep detection plants eleven bait files in the system directory with a backup
// of each in the application directory, compares each pair once a second and
// reports a pair that differs; the user accepts the change (the backup is brought
// up to date) or restores the bait file. The detector keeps what each pair should
// hold (the bait line, later what the user accepted) and judges the bait by that,
// so a backup that has gone, cannot be read or was rewritten to match a changed
// bait never makes the change the reference. A tick compares for a bounded time
// and the next one goes on where it stopped, so no file, however large, holds
// the window. One run at a time on the machine: a run in another session holds
// a lock, and a second start plants nothing.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/MessageBox.h"

namespace kelvane {

enum class DetectorMode { Idle, Normal, Deep };

// Which controls of the page can be used. The stop button always can, and the
// option of the mode that is not running cannot, so the selected option always
// names the running mode.
struct ControlStates {
  bool cmdBegin = true;
  bool optNormal = true;
  bool optDeep = true;
  bool operator==(const ControlStates&) const = default;
};
ControlStates controlStatesFor(DetectorMode mode);

// The bait types, in the order every operation visits them.
inline constexpr std::array<std::wstring_view, 11> BaitTypes = {
    L".com", L".dot", L".eml", L".HTML", L".HTM", L".VBS", L".HTT", L".ASP", L".JSP", L".PHP", L".exe"};
// What every bait file and backup holds at start: 45 characters and CR LF.
inline constexpr std::string_view BaitContent = "This file is the com bait for virus detector.\r\n";

struct BaitPair {
  std::wstring bait;    // system directory + "\bait" + type
  std::wstring backup;  // application directory + "\bait" + type
};
// Plain concatenations: "\bait" begins the file name, no folder is made.
std::vector<BaitPair> baitPairs(std::wstring_view systemDir, std::wstring_view appDir);

struct FileFailure {
  std::wstring reason;        // the system's description, shown to the user
  bool accessDenied = false;  // no right to write there: administrator rights may help
};
using FileOutcome = std::optional<FileFailure>;  // nothing: it worked

enum class WaitResult { Signalled, TimedOut, Failed };

// A non-recursive watch of one folder for file names, attributes and last writes.
class FolderWatch {
 public:
  virtual ~FolderWatch() = default;
  virtual FileOutcome open(const std::wstring& folder) = 0;
  // Arms the watch for the next change; changes since the last signal signal at once.
  virtual bool rearm() = 0;
  virtual WaitResult wait(unsigned milliseconds) = 0;
  virtual void close() = 0;
};

// What a pair should hold: at start the bait line, later what the user accepted.
// A small content is kept whole; a large one by its size and digest (SHA-256),
// enough to recognise it while memory stays bounded.
inline constexpr uint64_t KeptBytesLimit = 64 * 1024;
struct KeptContent {
  uint64_t size = 0;
  std::string bytes;   // the content itself, when whole
  std::string digest;  // otherwise its digest
  bool whole() const { return digest.empty(); }
  static KeptContent of(std::string_view content) { return KeptContent{content.size(), std::string(content), {}}; }
};

enum class Comparison {
  Same,                  // the bait holds what was kept, and its backup too
  Changed,               // the bait differs from what was kept, or its backup from the bait
  BaitUnreadable,        // the bait has gone or cannot be read; the backup can
  BackupUnreadable,      // the backup has gone or cannot be read; the bait holds what was kept
  ChangedBackupUnreadable,  // the backup cannot be read and the bait differs from what was kept
  BothUnreadable,
};

// One pair's comparison, a piece at a time, so that no tick holds the window
// long whatever the files hold.
class PairComparison {
 public:
  virtual ~PairComparison() = default;
  // Compares up to `bytes` more bytes; the verdict once it is known.
  virtual std::optional<Comparison> advance(uint64_t bytes) = 0;
};

// A content set aside where only administrators can write, found to be what
// was kept; from there it goes to the bait and its backup.
class StagedContent {
 public:
  virtual ~StagedContent() = default;
  virtual FileOutcome writeTo(const std::wstring& path) = 0;
};

// The bait files and backups. Every write, copy and deletion touches only a
// plain file at that very path; anything else there is refused as a failure.
class BaitFiles {
 public:
  virtual ~BaitFiles() = default;
  // Creates or empties the file and writes the bytes.
  virtual FileOutcome write(const std::wstring& path, std::string_view bytes) = 0;
  // Compares the bait with what the pair should hold, and its backup with the bait.
  virtual std::unique_ptr<PairComparison> compare(const BaitPair& pair, const KeptContent& kept) = 0;
  // Replaces the content of `to` with that of `from` (not its attributes); on
  // success `copied` describes the content.
  virtual FileOutcome copy(const std::wstring& from, const std::wstring& to, KeptContent& copied) = 0;
  // Copies `from` aside into a fresh file that only administrators can write and
  // checks the copy against `kept`: `staged` holds it when it matches and stays
  // empty when not. Nothing else is written.
  virtual FileOutcome stage(const std::wstring& from, const KeptContent& kept,
                            std::unique_ptr<StagedContent>& staged) = 0;
  // A file that is already gone counts as removed.
  virtual FileOutcome remove(const std::wstring& path) = 0;
  // Whether the two paths name one folder.
  virtual bool sameFolder(const std::wstring& first, const std::wstring& second) = 0;
  // Takes the machine-wide lock of deep detection until unlockDeepDetection;
  // false when a run elsewhere, in this session or another, holds it.
  virtual bool lockDeepDetection() = 0;
  virtual void unlockDeepDetection() = 0;
};

// What the detector needs of the page that hosts it.
class DetectorHost {
 public:
  virtual ~DetectorHost() = default;
  virtual void showControlStates(const ControlStates& states) = 0;
  // False when the timer could not be started.
  virtual bool setTimerDeep(bool enabled) = 0;
  // Whether any of the program's message boxes is open, another page's too.
  virtual bool messageBoxOpen() = 0;
  // A steady clock in milliseconds, for the time a tick may take.
  virtual double nowMs() = 0;
  // One pass of event processing; anything, this detector included, may run in it.
  virtual void processPendingEvents() = 0;
};

struct DetectorFolders {
  std::wstring systemDir;   // where the bait files go
  std::wstring windowsDir;  // the folder normal detection watches
  std::wstring appDir;      // where the backups go
};

inline constexpr unsigned WaitSliceMs = 100;
// How long a tick compares before it leaves the rest to the next tick, and how
// much it reads at a time (one read of each file is a few milliseconds at most).
inline constexpr double TickBudgetMs = 20;
inline constexpr uint64_t ComparisonStepBytes = 256 * 1024;

class Detector {
 public:
  Detector(DetectorFolders folders, FolderWatch& watch, BaitFiles& files, DetectorHost& host,
           MessageBoxes& messageBoxes, WindowHandle owner);
  Detector(const Detector&) = delete;
  Detector& operator=(const Detector&) = delete;

  // Asks, then watches `path` until the user or a No in the alert stops it.
  void NormalDetect(const std::wstring& path);
  void StopNormalDetect();
  // Asks, then plants the bait files; the host's timer then calls TimerDeep_Timer.
  void DeepDetect();
  void StopDeepDetect();
  void TimerDeep_Timer();

  DetectorMode mode() const { return mode_; }
  const DetectorFolders& folders() const { return folders_; }

 private:
  enum class WaitEnd { Changed, Stopped, Failed };

  int ask(std::wstring_view text, std::wstring_view title, unsigned flags);
  void enterMode(DetectorMode mode);
  bool isCurrent(DetectorMode mode, unsigned run) const { return mode_ == mode && run_ == run; }
  WaitEnd waitForChange(unsigned run);
  void endNormalRun();
  bool foldersApart(bool running);
  bool plantBaits(std::vector<std::wstring>& written);
  std::wstring removeAll(const std::vector<std::wstring>& paths);
  void resetComparisons();
  void CompareBait(size_t index, Comparison comparison, unsigned run);
  void accept(size_t index, Comparison comparison);
  void restore(size_t index, Comparison comparison);
  void writePair(const BaitPair& pair, const std::function<FileOutcome(const std::wstring&)>& write);
  void tell(const std::wstring& message);

  DetectorFolders folders_;
  FolderWatch& watch_;
  BaitFiles& files_;
  DetectorHost& host_;
  MessageBoxes& messageBoxes_;
  WindowHandle owner_;
  DetectorMode mode_ = DetectorMode::Idle;
  unsigned run_ = 0;         // counts the runs of either mode
  bool comparing_ = false;   // a tick's comparison (and its dialogs) is under way
  std::vector<BaitPair> pairs_;
  std::array<KeptContent, BaitTypes.size()> kept_;
  std::unique_ptr<PairComparison> comparison_;  // of pairs_[nextPair_], spread over ticks
  size_t nextPair_ = 0;
};

}  // namespace kelvane
