// Start-up benchmark: time from process start to the first painted main window,
// for the program, for its structural twin (bench/startup_twin.cpp: the same
// window tree without the program's logic) and for a bare window program, all
// started the same way and interleaved so they see the same machine; where the
// program's start-up goes, step by step, when its marked build is there; the
// program's start at 144 DPI against 96 DPI, also interleaved; and the time of
// one WM_DPICHANGED pass (the window laid out, re-fonted and painted at the new
// scale). Prints its rows of the benchmark report.
//
// "Painted" is taken as: the process went idle waiting for input (which happens
// only once its queue, WM_PAINT included, is empty) and its visible top-level
// window has no update region left.
//
// The twin is made from the program's own window tree, read from the running
// program at its first paint, and its tree is read back and compared, so the
// two cannot drift apart.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchReport.h"
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

// Called with the painted main window before the program is closed.
using OnPainted = std::function<void(HWND)>;

// Milliseconds from CreateProcess to the first painted window; negative on failure.
// `started` receives the moment of CreateProcess on the nowMs clock.
double timeStartup(const std::wstring& exe, const OnPainted& onPainted = {}, double* started = nullptr) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  const double start = nowMs();
  if (started) *started = start;
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
  if (elapsed >= 0 && onPainted) onPainted(search.found);
  if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return elapsed;
}

// ---- The window tree, as another process sees it --------------------------------

struct WindowRecord {
  int parent = -1;  // index of the parent in the tree; -1 for the main window
  std::wstring className;
  UINT classStyle = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT place{};  // left, top, width, height; relative to the parent's client area
  std::wstring text;

  bool operator==(const WindowRecord& other) const {
    return parent == other.parent && className == other.className && classStyle == other.classStyle &&
           style == other.style && exStyle == other.exStyle && EqualRect(&place, &other.place) &&
           text == other.text;
  }
};

struct WindowTree {
  std::vector<WindowRecord> windows;  // parents before their children, siblings in stacking order
  std::vector<RECT> region;           // of the main window
  int dpi = 96;
};

LRESULT sendTo(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result)) return 0;
  return static_cast<LRESULT>(result);
}

void readWindow(HWND hwnd, int parent, WindowTree& tree) {
  WindowRecord record;
  record.parent = parent;
  wchar_t name[256] = L"";
  GetClassNameW(hwnd, name, 256);
  record.className = name;
  record.classStyle = static_cast<UINT>(GetClassLongPtrW(hwnd, GCL_STYLE));
  record.style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  record.exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
  RECT outer;
  GetWindowRect(hwnd, &outer);
  if (parent >= 0) MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&outer), 2);
  record.place = {outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
  std::wstring text(static_cast<size_t>(sendTo(hwnd, WM_GETTEXTLENGTH)) + 1, L'\0');
  text.resize(static_cast<size_t>(sendTo(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  record.text = text;
  const int self = static_cast<int>(tree.windows.size());
  tree.windows.push_back(std::move(record));
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child)) readWindow(child, self, tree);
  }
}

// The main window and its visible descendants, with its window region.
WindowTree readTree(HWND main) {
  WindowTree tree;
  readWindow(main, -1, tree);
  tree.dpi = kelvane::windowDpi(main);
  const kelvane::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  if (region && GetWindowRgn(main, region.get()) != ERROR) {
    std::vector<char> data(GetRegionData(region.get(), 0, nullptr));
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (!data.empty() && GetRegionData(region.get(), static_cast<DWORD>(data.size()), header)) {
      const RECT* rectangles = reinterpret_cast<const RECT*>(header->Buffer);
      tree.region.assign(rectangles, rectangles + header->rdh.nCount);
    }
  }
  return tree;
}

bool sameTree(const WindowTree& a, const WindowTree& b) {
  if (a.windows != b.windows || a.dpi != b.dpi || a.region.size() != b.region.size()) return false;
  for (size_t i = 0; i < a.region.size(); ++i) {
    if (!EqualRect(&a.region[i], &b.region[i])) return false;
  }
  return true;
}

std::wstring hex(const std::wstring& text) {
  std::wstring out;
  wchar_t unit[8];
  for (const wchar_t c : text) {
    swprintf(unit, 8, L"%04x", static_cast<unsigned>(c));
    out += unit;
  }
  return out;
}

// The description the twin reads (see bench/startup_twin.cpp), UTF-16 text.
bool writeDescription(const WindowTree& tree, const std::wstring& path) {
  std::wstring text;
  wchar_t line[512];
  for (const WindowRecord& w : tree.windows) {
    swprintf(line, 512, L"W\t%d\t%ls\t0x%x\t0x%lx\t0x%lx\t%ld\t%ld\t%ld\t%ld\t", w.parent, w.className.c_str(),
             w.classStyle, w.style, w.exStyle, w.place.left, w.place.top, w.place.right, w.place.bottom);
    text += line + hex(w.text) + L"\n";
  }
  text += L"D\t" + std::to_wstring(tree.dpi) + L"\n";
  for (const RECT& r : tree.region) {
    swprintf(line, 512, L"R\t%ld\t%ld\t%ld\t%ld\n", r.left, r.top, r.right, r.bottom);
    text += line;
  }
  const std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  return kelvane::testing::writeFile(path, bytes);
}

// ---- Where the program's start-up goes --------------------------------------------

// The marks the marked build wrote, in order: name and time on the nowMs clock.
std::vector<std::pair<std::string, double>> readMarks(const std::wstring& path) {
  std::vector<std::pair<std::string, double>> marks;
  FILE* file = _wfopen(path.c_str(), L"r");
  if (!file) return marks;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  char name[64];
  long long counter = 0;
  while (std::fscanf(file, "%63s %lld", name, &counter) == 2) {
    marks.emplace_back(name, 1000.0 * static_cast<double>(counter) / static_cast<double>(frequency.QuadPart));
  }
  std::fclose(file);
  DeleteFileW(path.c_str());
  return marks;
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

// Each step's median over the rounds, in milliseconds from the mark before it
// (the first from CreateProcess, the last until the benchmark saw the paint).
void reportSteps(const std::string& program, const std::wstring& marked, const std::wstring& marksFile) {
  std::vector<std::string> names;
  std::map<std::string, std::vector<double>> steps;
  for (int round = 0; round < Rounds; ++round) {
    double started = 0;
    const double elapsed = timeStartup(marked, {}, &started);
    const auto marks = readMarks(marksFile);
    if (elapsed < 0 || marks.empty()) continue;
    double before = started;
    std::string previous = "process start";
    for (const auto& [name, at] : marks) {
      const std::string step = previous + " -> " + name;
      if (steps.find(step) == steps.end()) names.push_back(step);
      steps[step].push_back(at - before);
      before = at;
      previous = name;
    }
    const std::string last = previous + " -> seen painted";
    if (steps.find(last) == steps.end()) names.push_back(last);
    steps[last].push_back(started + elapsed - before);
  }
  for (const std::string& name : names) {
    const std::string figure = program + ": " + name + " (ms, median)";
    kelvane::bench::row(figure.c_str(), kelvane::bench::median(steps[name]), "-", "-");
  }
}

}  // namespace

int wmain() {
  using kelvane::bench::median;
  using kelvane::bench::row;
  const std::wstring here = kelvane::testing::binaryDirectory();
  const std::wstring app = kelvane::testing::installedAppDirectory();
  const std::wstring program = app + L"\\Kelvane.exe";
  const std::wstring bare = here + L"\\bare_window.exe";
  const std::wstring twin = here + L"\\startup_twin.exe";

  // The twin is made from the tree the program shows, then read back.
  WindowTree programTree, twinTree;
  timeStartup(bare);  // warm the file cache and Wine's loader for each
  timeStartup(program, [&](HWND main) { programTree = readTree(main); });
  const bool described = writeDescription(programTree, here + L"\\startup_twin.txt");
  timeStartup(twin, [&](HWND main) { twinTree = readTree(main); });
  const bool twinMatches = described && !programTree.windows.empty() && sameTree(programTree, twinTree);

  std::vector<double> programTimes, twinTimes, bareTimes;
  for (int round = 0; round < Rounds; ++round) {
    bareTimes.push_back(timeStartup(bare));
    programTimes.push_back(timeStartup(program));
    twinTimes.push_back(timeStartup(twin));
  }
  const double programMs = median(programTimes);
  const double twinMs = median(twinTimes);
  const double bareMs = median(bareTimes);
  const double ratio = twinMs > 0 && programMs > 0 ? programMs / twinMs : -1;

  row("start to first paint, bare window (ms, median of 15)", bareMs, "-", "-");
  row("start to first paint, structural twin (ms, median of 15)", twinMs, "-", "-");
  row("start to first paint, Kelvane (ms, median of 15)", programMs, "-", "-");
  row("twin's window tree equals Kelvane's at first paint (windows)", static_cast<double>(twinTree.windows.size()),
      "same tree", kelvane::bench::met(twinMatches), 0);
  row("start-up ratio Kelvane / structural twin, same run", ratio, "<= 1.15",
      kelvane::bench::met(twinMatches && ratio > 0 && ratio <= TwinRatioAim), 2);
  row("start-up ratio structural twin / bare window, same run", bareMs > 0 ? twinMs / bareMs : -1, "-", "-", 2);
  row("start-up ratio Kelvane / bare window, same run", bareMs > 0 ? programMs / bareMs : -1, "-", "-", 2);

  // The marked build, where there is one (configured with -DKELVANE_STARTUP_MARKS=ON).
  const std::wstring marked = app + L"\\Kelvane_marks.exe";
  if (kelvane::testing::fileExists(marked)) {
    reportSteps("Kelvane", marked, app + L"\\startup_marks.txt");
    reportSteps("twin", here + L"\\startup_twin_marks.exe", here + L"\\startup_marks.txt");
  }

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
  const double ms96 = median(at96);
  const double ms144 = median(at144);
  row("start to first paint at 96 DPI (ms, median of 15)", ms96, "-", "-");
  row("start to first paint at 144 DPI (ms, median of 15)", ms144, "-", "-");
  row("start-up ratio 144 DPI / 96 DPI, same run", ms96 > 0 ? ms144 / ms96 : -1, "-", "-", 2);
  const std::vector<double> passes = timeDpiChanges(app, 20);
  row("one WM_DPICHANGED pass, laid out and painted (ms, median of 20)",
      passes.empty() ? -1 : median(passes), "-", "-");
  return programMs > 0 && twinMs > 0 && bareMs > 0 ? 0 : 1;
}
