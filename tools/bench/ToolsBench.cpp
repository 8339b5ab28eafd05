// Benchmark of the repair-tool page: loading a full catalogue of 32767 entries
// against one of 24 (time, and the process's USER and GDI objects and the page's
// windows afterwards), one page turn until painted, and the program's start-up (time and peak
// memory) with a catalogue of 64 MB against one of 24 entries, in the same run.
// It also times a click's start of a repair program.
// Prints its rows of the benchmark report.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchReport.h"
#include "common/SystemServices.h"
#include "tests/fakes/FakeLauncher.h"
#include "tests/fakes/ScriptedMessageBoxes.h"
#include "tests/win/TestSupport.h"
#include "tools/RepairTool.h"

namespace {

using namespace kelvane;

constexpr double LoadAimMs = 200;
constexpr double TurnAimMs = 10;
// The 64 MB catalogue's start-up against a 24-entry one: 32767 entries take
// some reading and memory of their own (the load row above), the rest of the
// file none.
constexpr double HugeStartupExtraMs = 300;
constexpr double HugeStartupExtraMiB = 16;

using bench::median;
using bench::nowMs;
using bench::row;

// A scratch application directory whose catalogue holds `count` entries.
void writeCatalogue(const std::wstring& root, int count) {
  CreateDirectoryW((root + L"\\tooll").c_str(), nullptr);
  std::string bytes;
  for (int i = 1; i <= count; ++i) bytes += "\xB9\xA4\xBE\xDF" + std::to_string(i) + "\ttool" + std::to_string(i) + ".cmd\r\n";
  testing::writeFile(root + L"\\tooll\\tool.txt", bytes);
}

BOOL CALLBACK countWindow(HWND, LPARAM data) {
  ++*reinterpret_cast<int*>(data);
  return TRUE;
}

int childWindows(HWND parent) {
  int count = 0;
  EnumChildWindows(parent, countWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

struct Load {
  double ms = 0;
  double userObjects = 0;  // objects the page added to the process
  double gdiObjects = 0;
  double windows = 0;
  double turnMs = 0;
};

Load measure(int entries, HWND host, const UiFonts& fonts, Launcher& launcher, MessageBoxes& boxes) {
  const testing::ScratchDirectory root(L"tools-bench-" + std::to_wstring(entries));
  writeCatalogue(root.path(), entries);
  const PageContext context{host, {250, 1385, 8535, 6515}, fonts, 15, launcher, boxes, root.path()};
  const HANDLE self = GetCurrentProcess();
  const DWORD userBefore = GetGuiResources(self, GR_USEROBJECTS);
  const DWORD gdiBefore = GetGuiResources(self, GR_GDIOBJECTS);
  Load load;
  // The median of five loads; the objects, windows and page turns of the last.
  constexpr int Runs = 5;
  std::vector<double> loads;
  for (int run = 0; run < Runs; ++run) {
    const double start = nowMs();
    auto page = std::make_unique<RepairTool>(context);
    loads.push_back(nowMs() - start);
    if (run < Runs - 1) continue;
    page->setVisible(true);
    testing::pumpMessages();
    load.userObjects = static_cast<double>(GetGuiResources(self, GR_USEROBJECTS)) - userBefore;
    load.gdiObjects = static_cast<double>(GetGuiResources(self, GR_GDIOBJECTS)) - gdiBefore;
    load.windows = childWindows(page->hwnd());
    // Turn forwards as far as the catalogue goes, then back, up to 100 turns each way.
    std::vector<double> turns;
    auto turn = [&](auto step) {
      const double turnStart = nowMs();
      step();
      UpdateWindow(page->hwnd());  // a turn is done once the page shows it
      turns.push_back(nowMs() - turnStart);
    };
    for (int i = 0; i < 100 && page->PageEnd() < page->ToolCount(); ++i) turn([&] { page->NextPage(); });
    for (int i = 0; i < 100 && page->PageEnd() > 24; ++i) turn([&] { page->PrePage(); });
    load.turnMs = turns.empty() ? 0 : median(turns);
  }
  load.ms = median(loads);
  return load;
}

// ---- The program's start-up with a huge catalogue ------------------------------

struct Startup {
  double ms = -1;        // from CreateProcess until the repair page holds its first button
  double peakMiB = -1;   // the process's peak private memory by then
};

// Starts the program in `folder` and measures it until its repair page has made
// the button of its first entry; the program is closed again.
Startup timeStartup(const std::wstring& folder, const wchar_t* firstEntry) {
  const std::wstring exe = folder + L"\\Kelvane.exe";
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double start = nowMs();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return {};
  }
  Startup result;
  HWND main = nullptr;
  for (const double deadline = start + 60000; nowMs() < deadline; Sleep(1)) {
    if (!main) main = testing::findVisibleWindow(info.dwProcessId, L"KelvaneFrmmain");
    if (!main) continue;
    HWND page = FindWindowExW(main, nullptr, L"KelvanePanel", L"维护工具");
    if (page && FindWindowExW(page, nullptr, L"Button", firstEntry)) {
      result.ms = nowMs() - start;
      break;
    }
  }
  PROCESS_MEMORY_COUNTERS counters{};
  if (result.ms >= 0 && GetProcessMemoryInfo(info.hProcess, &counters, sizeof counters)) {
    result.peakMiB = static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
  }
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return result;
}

// A scratch application directory: the program beside this benchmark, and a
// catalogue of entries "工具1", "工具2", ... of at least `bytes` bytes.
void writeApp(const std::wstring& root, size_t bytes) {
  CopyFileW((testing::installedAppDirectory() + L"\\Kelvane.exe").c_str(), (root + L"\\Kelvane.exe").c_str(),
            FALSE);
  CreateDirectoryW((root + L"\\tooll").c_str(), nullptr);
  std::string catalogue;
  catalogue.reserve(bytes + 64);
  for (int i = 1; catalogue.size() < bytes; ++i) {
    catalogue += "\xB9\xA4\xBE\xDF" + std::to_string(i) + "\ttool" + std::to_string(i) + ".cmd\r\n";
  }
  testing::writeFile(root + L"\\tooll\\tool.txt", catalogue);
}

struct StartupPair {
  Startup small;  // 24 entries
  Startup huge;   // 64 MB
};

// Medians of five interleaved starts of each.
StartupPair measureStartups() {
  const testing::ScratchDirectory small(L"tools-bench-startup-24");
  const testing::ScratchDirectory huge(L"tools-bench-startup-64mb");
  writeApp(small.path(), 24 * 32);  // 24 entries of about 30 bytes
  writeApp(huge.path(), 64u << 20);
  timeStartup(small.path(), L"工具1");  // warm the loader and the file cache
  timeStartup(huge.path(), L"工具1");
  std::vector<double> smallMs, hugeMs, smallMiB, hugeMiB;
  for (int run = 0; run < 5; ++run) {
    const Startup a = timeStartup(small.path(), L"工具1");
    const Startup b = timeStartup(huge.path(), L"工具1");
    smallMs.push_back(a.ms);
    hugeMs.push_back(b.ms);
    smallMiB.push_back(a.peakMiB);
    hugeMiB.push_back(b.peakMiB);
  }
  return {{median(smallMs), median(smallMiB)}, {median(hugeMs), median(hugeMiB)}};
}

// Milliseconds from the launch call until a repair script's first line has run, shell-
// executed in place (as before) and as a checked copy started by cmd: medians of five runs.
std::pair<double, double> measureClickToStart() {
  const testing::ScratchDirectory app(L"tools-bench-click");
  CreateDirectoryW((app.path() + L"\\tooll").c_str(), nullptr);
  testing::writeFile(app.path() + L"\\tooll\\t.cmd", "@echo off\r\necho x> \"%KELVANE_OUT%\\%KELVANE_RUN%\"\r\n");
  SetEnvironmentVariableW(L"KELVANE_OUT", app.path().c_str());
  SystemLauncher launcher;
  int runs = 0;
  const auto time = [&](const auto& start) {
    const std::wstring name = std::to_wstring(++runs) + L".txt";
    SetEnvironmentVariableW(L"KELVANE_RUN", name.c_str());
    const double begin = nowMs();
    const bool ran = start() && testing::waitUntil([&] { return testing::fileExists(app.path() + L"\\" + name); });
    return ran ? nowMs() - begin : -1.0;
  };
  const auto inPlace = [&] { return launcher.shellExecute({nullptr, L"", app.path() + L"\\tooll\\t.cmd"}); };
  const auto checkedCopy = [&] { return launcher.startOwnFile({nullptr, app.path(), L"\\tooll\\t.cmd"}); };
  std::vector<double> before, after;
  time(inPlace), time(checkedCopy);  // the first run of each warms the shell library and cmd
  for (int run = 0; run < 5; ++run) before.push_back(time(inPlace)), after.push_back(time(checkedCopy));
  launcher.removeCopies();
  return {median(before), median(after)};
}

}  // namespace

int wmain() {
  testing::HostWindow host;
  UiFonts fonts;
  testing::FakeLauncher launcher;  // nothing is started
  testing::ScriptedMessageBoxes boxes;
  const Load small = measure(24, host.hwnd(), fonts, launcher, boxes);
  const Load full = measure(32767, host.hwnd(), fonts, launcher, boxes);
  const bool userFlat = full.userObjects <= small.userObjects;
  const bool gdiFlat = full.gdiObjects <= small.gdiObjects;
  row("repair tools: load 24-entry catalogue (ms, median of 5)", small.ms, "-", "-");
  row("repair tools: load 32767-entry catalogue (ms, median of 5)", full.ms, "< 200", full.ms < LoadAimMs ? "yes" : "NO");
  row("repair tools: USER objects, 24-entry catalogue", small.userObjects, "-", "-");
  row("repair tools: USER objects, 32767-entry catalogue", full.userObjects, "<= 24-entry", userFlat ? "yes" : "NO");
  row("repair tools: GDI objects, 24-entry catalogue", small.gdiObjects, "-", "-");
  row("repair tools: GDI objects, 32767-entry catalogue", full.gdiObjects, "<= 24-entry", gdiFlat ? "yes" : "NO");
  row("repair tools: page windows, 24-entry catalogue", small.windows, "-", "-");
  row("repair tools: page windows, 32767-entry catalogue", full.windows, "<= 24-entry",
      full.windows <= small.windows ? "yes" : "NO");
  row("repair tools: one page turn, 32767 entries, painted (ms, median)", full.turnMs, "< 10", full.turnMs < TurnAimMs ? "yes" : "NO");

  // Only the entries the page can hold are read: the 64 MB catalogue costs about
  // what a full page of entries does.
  const StartupPair startups = measureStartups();
  const bool timeBounded = startups.huge.ms > 0 && startups.huge.ms <= startups.small.ms + HugeStartupExtraMs;
  const bool memoryBounded =
      startups.huge.peakMiB > 0 && startups.huge.peakMiB <= startups.small.peakMiB + HugeStartupExtraMiB;
  row("repair tools: start-up, 24-entry catalogue (ms, median of 5)", startups.small.ms, "-", "-");
  row("repair tools: start-up, 64 MB catalogue (ms, median of 5)", startups.huge.ms, "<= 24e + 300",
      bench::met(timeBounded));
  row("repair tools: start-up peak memory, 24-entry catalogue (MiB)", startups.small.peakMiB, "-", "-");
  row("repair tools: start-up peak memory, 64 MB catalogue (MiB)", startups.huge.peakMiB, "<= 24e + 16",
      bench::met(memoryBounded));

  const auto [inPlaceMs, checkedCopyMs] = measureClickToStart();
  row("repair tools: click to script start, shell-executed in place (before; ms, median of 5)", inPlaceMs, "-", "-");
  row("repair tools: click to script start, checked copy by cmd (ms, median of 5)", checkedCopyMs, "<= before + 100",
      bench::met(checkedCopyMs > 0 && checkedCopyMs <= inPlaceMs + 100));
  return 0;
}
