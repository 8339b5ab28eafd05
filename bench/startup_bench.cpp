// Start-up benchmark: time from process start to the first painted main window,
// for the program, for its structural twin (bench/startup_twin.cpp: the same
// window tree without the program's logic) and for a bare window program, all
// started the same way and interleaved so they see the same machine; the program's start at 144 DPI
// against 96 DPI, also interleaved; and the time of one WM_DPICHANGED pass (the
// window laid out, re-fonted and painted at the new scale). Prints its rows of
// the benchmark report.
//
// "Painted" is taken as: the process went idle waiting for input (which happens
// only once its queue, WM_PAINT included, is empty) and its visible top-level
// window has no update region left.
//
// The twin is given the tree read from the running program at its first paint,
// and its own tree is read back and compared, so the two cannot drift apart.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchReport.h"
#include "common/Handles.h"
#include "controls/Dpi.h"
#include "tests/win/TestSupport.h"

namespace {

using kelvane::bench::nowMs;

constexpr int Rounds = 15;
constexpr double TwinRatioAim = 1.15;

struct Search {
  DWORD processId;
  HWND found = nullptr;
};

BOOL CALLBACK findVisibleWindow(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->processId && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::wstring describeTree(HWND main);

// Milliseconds from CreateProcess to the first painted window; negative on
// failure. `tree` receives the painted window tree, when asked for.
double timeStartup(const std::wstring& exe, const std::wstring& arguments = {}, std::wstring* tree = nullptr) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  const double start = nowMs();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return -1;
  }
  double elapsed = -1;
  Search search{info.dwProcessId};
  for (const double deadline = start + 30000; nowMs() < deadline;) {
    WaitForInputIdle(info.hProcess, 50);
    search.found = nullptr;
    EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found && !GetUpdateRect(search.found, nullptr, FALSE)) {
      elapsed = nowMs() - start;
      break;
    }
    Sleep(1);
  }
  if (elapsed >= 0 && tree) *tree = describeTree(search.found);
  if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return elapsed;
}

// Appends one window and its visible descendants to the description the twin
// reads (see bench/startup_twin.cpp); `count` counts the windows so far.
void describeWindow(HWND hwnd, int parent, int& count, std::wstring& out) {
  wchar_t name[256] = L"", text[512] = L"", line[320];
  GetClassNameW(hwnd, name, 256);
  RECT place;
  GetWindowRect(hwnd, &place);
  if (parent >= 0) MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&place), 2);
  swprintf(line, 320, L" %d %ls 0x%lx 0x%lx 0x%lx %ld %ld %ld %ld ", parent, name,
           static_cast<unsigned long>(GetClassLongPtrW(hwnd, GCL_STYLE)), GetWindowLongW(hwnd, GWL_STYLE),
           GetWindowLongW(hwnd, GWL_EXSTYLE), place.left, place.top, place.right - place.left,
           place.bottom - place.top);
  out += line;
  const int length = GetWindowTextW(hwnd, text, 512);
  for (int i = 0; i < length; ++i) out += (swprintf(line, 8, L"%04x", unsigned{text[i]}), line);
  if (length == 0) out += L"-";
  const int self = count++;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child)) describeWindow(child, self, count, out);
  }
}

// The main window's DPI, its visible window tree and its window region.
std::wstring describeTree(HWND main) {
  std::wstring windows, out;
  int count = 0;
  describeWindow(main, -1, count, windows);
  out = std::to_wstring(kelvane::windowDpi(main)) + L" " + std::to_wstring(count) + windows;
  const kelvane::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  std::vector<char> data(region && GetWindowRgn(main, region.get()) != ERROR ? GetRegionData(region.get(), 0, nullptr) : 0);
  auto* header = reinterpret_cast<RGNDATA*>(data.data());
  const bool read = !data.empty() && GetRegionData(region.get(), static_cast<DWORD>(data.size()), header);
  out += L" " + std::to_wstring(read ? header->rdh.nCount : 0);
  for (DWORD i = 0; read && i < header->rdh.nCount; ++i) {
    const RECT& r = reinterpret_cast<const RECT*>(header->Buffer)[i];
    for (const LONG side : {r.left, r.top, r.right, r.bottom}) out += L" " + std::to_wstring(side);
  }
  return out;
}

// Milliseconds of one WM_DPICHANGED pass each, alternately to 144 and back to
// 96 DPI, until the window and its children have painted.
std::vector<double> timeDpiChanges(const std::wstring& appDirectory, int rounds) {
  std::vector<double> times;
  const kelvane::testing::RunningApp program(appDirectory);
  if (!program.mainWindow()) return times;
  kelvane::testing::DpiChangeSender sender(program.process());
  for (int round = 0; sender.ready() && round < rounds; ++round) {
    const int dpi = round % 2 == 0 ? 144 : 96;
    const double start = nowMs();
    if (!sender.send(program.mainWindow(), dpi, RECT{0, 0, 9000 * dpi / 1440, 9115 * dpi / 1440 + 1})) break;
    RedrawWindow(program.mainWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    times.push_back(nowMs() - start);
  }
  return times;
}

}  // namespace

int wmain() {
  using kelvane::bench::median;
  const std::wstring here = kelvane::testing::binaryDirectory();
  const std::wstring program = kelvane::testing::installedAppDirectory() + L"\\Kelvane.exe";
  const std::wstring bare = here + L"\\bare_window.exe";
  const std::wstring twin = here + L"\\startup_twin.exe";
  std::wstring programTree, twinTree;
  timeStartup(bare);  // warms the file cache and Wine's loader for each
  timeStartup(program, {}, &programTree);
  timeStartup(twin, programTree, &twinTree);
  const bool twinMatches = !programTree.empty() && twinTree == programTree;
  std::vector<double> programTimes, twinTimes, bareTimes;
  for (int round = 0; round < Rounds; ++round) {
    bareTimes.push_back(timeStartup(bare));
    programTimes.push_back(timeStartup(program));
    twinTimes.push_back(timeStartup(twin, programTree));
  }
  const double programMs = median(programTimes), twinMs = median(twinTimes), bareMs = median(bareTimes);
  const double ratio = twinMs > 0 && programMs > 0 ? programMs / twinMs : -1;

  using kelvane::bench::row;
  row("start to first paint, bare window (ms, median of 15)", bareMs, "-", "-");
  row("start to first paint, structural twin (ms, median of 15)", twinMs, "-", "-");
  row("start to first paint, Kelvane (ms, median of 15)", programMs, "-", "-");
  row("twin's window tree is Kelvane's at first paint", twinMatches ? 1 : 0, "1", kelvane::bench::met(twinMatches), 0);
  row("start-up ratio Kelvane / structural twin, same run", ratio, "<= 1.15",
      kelvane::bench::met(twinMatches && ratio > 0 && ratio <= TwinRatioAim), 2);
  row("start-up ratio structural twin / bare window, same run", bareMs > 0 ? twinMs / bareMs : -1, "-", "-", 2);

  // 150 % against 100 %: the same program, runs interleaved.
  std::vector<double> at96, at144;
  for (int round = 0; round < Rounds; ++round) {
    {
      const kelvane::testing::PrefixDpi prefix(96);
      at96.push_back(timeStartup(program));
    }
    const kelvane::testing::PrefixDpi prefix(144);
    at144.push_back(timeStartup(program));
  }
  const double ms96 = kelvane::bench::median(at96);
  const double ms144 = kelvane::bench::median(at144);
  row("start to first paint at 96 DPI (ms, median of 15)", ms96, "-", "-");
  row("start to first paint at 144 DPI (ms, median of 15)", ms144, "-", "-");
  row("start-up ratio 144 DPI / 96 DPI, same run", ms96 > 0 ? ms144 / ms96 : -1, "-", "-", 2);
  const std::vector<double> passes = timeDpiChanges(kelvane::testing::installedAppDirectory(), 20);
  row("one WM_DPICHANGED pass, laid out and painted (ms, median of 20)",
      passes.empty() ? -1 : kelvane::bench::median(passes), "-", "-");
  return programMs > 0 && twinMs > 0 && bareMs > 0 ? 0 : 1;
}
