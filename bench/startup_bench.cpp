// Start-up benchmark: time from process start to the first painted main window,
// for the program and for a bare window program started the same way, runs
// interleaved so both see the same machine. Prints its rows of the benchmark report.
//
// "Painted" is taken as: the process went idle waiting for input (which happens
// only once its queue, WM_PAINT included, is empty) and its visible top-level
// window has no update region left.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchReport.h"

namespace {

using kelvane::bench::nowMs;

constexpr int Rounds = 15;
constexpr double StartupRatioAim = 1.3;

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

// Milliseconds from CreateProcess to the first painted window; negative on failure.
double timeStartup(const std::wstring& exe) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe + L"\"";
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
  if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return elapsed;
}

std::wstring besideMe(const wchar_t* name) {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring self(path, length);
  return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

}  // namespace

int wmain() {
  const std::wstring program = besideMe(L"Kelvane.exe");
  const std::wstring bare = besideMe(L"bare_window.exe");
  timeStartup(bare);  // warm the file cache and Wine's loader for both
  timeStartup(program);
  std::vector<double> programTimes, bareTimes;
  for (int round = 0; round < Rounds; ++round) {
    bareTimes.push_back(timeStartup(bare));
    programTimes.push_back(timeStartup(program));
  }
  const double programMs = kelvane::bench::median(programTimes);
  const double bareMs = kelvane::bench::median(bareTimes);
  const double ratio = bareMs > 0 ? programMs / bareMs : -1;

  using kelvane::bench::row;
  row("start to first paint, bare window (ms, median of 15)", bareMs, "-", "-");
  row("start to first paint, Kelvane (ms, median of 15)", programMs, "-", "-");
  row("start-up ratio Kelvane / bare window, same run", ratio, "<= 1.30",
      kelvane::bench::met(ratio > 0 && ratio <= StartupRatioAim), 2);
  return programMs > 0 && bareMs > 0 ? 0 : 1;
}
