// Benchmark of the virus detector page, run in this process on scratch folders:
//  - CPU time used while normal detection waits 10 s with nothing changing;
//  - the delay from a file created in the watched folder to the alert;
//  - the time of one deep-detection tick that finds nothing changed;
//  - the longest deep-detection tick while a 200 MB bait is compared with its
//    backup of the same size (every byte must be read), and while it is checked
//    against the digest of what was accepted (its backup gone).
// Prints its rows of the benchmark report (see scripts/bench.sh).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchReport.h"
#include "common/Files.h"
#include "common/Launcher.h"
#include "controls/Fonts.h"
#include "controls/WindowClass.h"
#include "detector/VirusDetect.h"
#include "tests/fakes/FakeLauncher.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using bench::median;
using bench::nowMs;
using bench::row;

double processCpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

// Answers every box through a function, as the user would.
class AnsweringBoxes final : public MessageBoxes {
 public:
  std::function<int(std::wstring_view text)> answer = [](std::wstring_view) { return IdYes; };
  int show(WindowHandle, std::wstring_view text, std::wstring_view, unsigned) override { return answer(text); }
};


std::function<void()> timerAction;
void CALLBACK runTimerAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (timerAction) std::exchange(timerAction, nullptr)();
}

std::wstring scratchFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = std::wstring(temp) + L"kelvane-bench-" + name;
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

void emptyFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// Lets the system finish writing the files out, so the ticks measure the
// comparison and not the disk catching up with the set-up.
void settle(const std::vector<std::wstring>& paths) {
  for (const std::wstring& path : paths) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    FlushFileBuffers(file);
    CloseHandle(file);
  }
}

}  // namespace
}  // namespace kelvane

int wmain() {
  using namespace kelvane;
  testing::HostWindow host(WS_OVERLAPPEDWINDOW, 640, 520);
  UiFonts fonts;
  testing::FakeLauncher launcher;  // nothing is started
  AnsweringBoxes boxes;
  bool ticksQuiet = true;
  const std::wstring watched = scratchFolder(L"windows");
  const std::wstring system = scratchFolder(L"system");
  const std::wstring app = scratchFolder(L"app");
  emptyFolder(watched);
  const PageContext context{host.hwnd(), TwipRect{250, 1385, 8535, 6515}, fonts, 15, launcher, boxes, app};
  VirusDetect page(context, DetectorFolders{system, watched, app});

  // Idle normal detection: 10 s of waiting, then the stop button.
  constexpr double IdleMs = 10000;
  SetTimer(nullptr, 0, static_cast<UINT>(IdleMs), runTimerAction);
  timerAction = [&] { page.StopNormalDetect(); };
  const double cpuBefore = processCpuMs();
  const double wallBefore = nowMs();
  page.NormalDetect(watched);
  const double idlePercent = 100.0 * (processCpuMs() - cpuBefore) / (nowMs() - wallBefore);

  // Alert delay: a file created every half second from another thread; each
  // alert answers Yes until ten delays are measured. Further alerts of the same
  // creation (a creation may notify more than once) measure nothing.
  constexpr int Samples = 10;
  std::atomic<double> createdAt{0};
  std::vector<double> delays;
  boxes.answer = [&](std::wstring_view text) {
    if (text.find(L"中有文件变动") == std::wstring_view::npos) return IdYes;  // confirmation, stop message
    const double created = createdAt.exchange(0);
    if (created > 0) delays.push_back(nowMs() - created);
    return static_cast<int>(delays.size()) < Samples ? IdYes : IdNo;
  };
  std::atomic<bool> writing{true};
  std::thread writer([&] {
    for (int i = 0; writing && i < 4 * Samples; ++i) {
      Sleep(500);
      const std::wstring file = watched + L"\\change" + std::to_wstring(i) + L".txt";
      createdAt = nowMs();
      HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
  });
  SetTimer(nullptr, 0, 30000, runTimerAction);  // in case alerts stop coming
  timerAction = [&] { page.StopNormalDetect(); };
  page.NormalDetect(watched);
  writing = false;
  writer.join();
  timerAction = nullptr;
  emptyFolder(watched);
  const double delay = static_cast<int>(delays.size()) >= Samples ? median(delays) : -1;

  // One deep-detection tick with nothing changed, the median of 120.
  boxes.answer = [](std::wstring_view) { return IdYes; };
  page.DeepDetect();
  const bool planted = page.mode() == DetectorMode::Deep;
  boxes.answer = [&](std::wstring_view) {
    ticksQuiet = false;
    return IdCancel;
  };
  std::vector<double> ticks;
  for (int i = 0; i < 120 && page.mode() == DetectorMode::Deep; ++i) {
    const double start = nowMs();
    page.TimerDeep_Timer();
    ticks.push_back(nowMs() - start);
  }
  const double tick = planted && ticksQuiet ? median(ticks) : -1;

  // A 200 MB bait, accepted (OK copies it, a user's action, not timed): first
  // equal to its backup, every byte read from both and the bait's digest made,
  // then, its backup gone, checked against the digest alone. Sixty ticks of
  // each (several rounds of the first comparison); the longest tick counts.
  const std::wstring bigBait = system + L"\\bait.HTT", bigBackup = app + L"\\bait.HTT";
  const std::string large(200u << 20, 'B');
  double longest = 0;
  auto timeTicks = [&](int count) {
    for (int i = 0; i < count && page.mode() == DetectorMode::Deep; ++i) {
      const double start = nowMs();
      page.TimerDeep_Timer();
      longest = std::max(longest, nowMs() - start);
    }
  };
  bool written = testing::writeFile(bigBait, large);
  boxes.answer = [](std::wstring_view) { return IdOk; };
  for (int i = 0; i < 200 && fileSize(bigBackup) != large.size(); ++i) page.TimerDeep_Timer();
  settle({bigBait, bigBackup});
  boxes.answer = [&](std::wstring_view) {
    written = false;  // an equal pair reported: the figure would measure nothing
    return IdCancel;
  };
  timeTicks(60);
  written = written && DeleteFileW(bigBackup.c_str());
  boxes.answer = [](std::wstring_view) { return IdCancel; };  // each round reports the missing backup
  timeTicks(60);
  page.StopDeepDetect();
  if (!written) longest = -1;

  row("normal detection, CPU while idle (% of one core, 10 s)", idlePercent, "< 1.0",
      idlePercent >= 0 && idlePercent < 1.0 ? "yes" : "NO");
  row("normal detection, file created to alert (ms, median 10)", delay, "< 150",
      delay >= 0 && delay < 150 ? "yes" : "NO");
  row("deep detection, one tick with nothing changed (ms, median 120)", tick, "< 6", tick >= 0 && tick < 6 ? "yes" : "NO");
  row("deep detection, one tick with a 200 MB bait (ms)", longest, "<= 50", longest >= 0 && longest <= 50 ? "yes" : "NO");
  RemoveDirectoryW(watched.c_str());
  RemoveDirectoryW(system.c_str());
  RemoveDirectoryW(app.c_str());
  return delay >= 0 && tick >= 0 ? 0 : 1;
}
