// Benchmark of the repair-tool page: loading a full catalogue of 32767 entries
// against one of 24 (time, and the process's USER and GDI objects and the page's
// windows afterwards), and one page turn. Prints its rows of the benchmark report.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchReport.h"
#include "tests/fakes/FakeLauncher.h"
#include "tests/fakes/ScriptedMessageBoxes.h"
#include "tests/win/TestSupport.h"
#include "tools/RepairTool.h"

namespace {

using namespace kelvane;

constexpr double LoadAimMs = 200;
constexpr double TurnAimMs = 10;

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
      turns.push_back(nowMs() - turnStart);
    };
    for (int i = 0; i < 100 && page->PageEnd() < page->ToolCount(); ++i) turn([&] { page->NextPage(); });
    for (int i = 0; i < 100 && page->PageEnd() > 24; ++i) turn([&] { page->PrePage(); });
    load.turnMs = turns.empty() ? 0 : median(turns);
  }
  load.ms = median(loads);
  return load;
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
  row("repair tools: one page turn, 32767 entries (ms, median)", full.turnMs, "< 10", full.turnMs < TurnAimMs ? "yes" : "NO");
  return 0;
}
