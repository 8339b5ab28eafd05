// The wizard's figures: LstContent of the largest topic, and one glide from the
// category click to the fan, on the real page with the installed data.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/Files.h"
#include "common/SystemServices.h"
#include "tests/win/TestSupport.h"
#include "wizard/FixWidze.h"

namespace {

using namespace kelvane;

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::wstring largestTopic(const std::wstring& app) {
  const wchar_t* topics[] = {L"msgwin", L"msgdos", L"boot0", L"boot1", L"net0", L"net1",
                             L"net2",   L"sys0",   L"sys1",  L"sys2",  L"sys3", L"sys4"};
  std::wstring largest = topics[0];
  size_t largestSize = 0;
  for (const wchar_t* topic : topics) {
    const size_t size = readFileBytes(app + L"\\data\\" + topic + L".Rd").value_or("").size();
    if (size > largestSize) {
      largestSize = size;
      largest = topic;
    }
  }
  return largest;
}

}  // namespace

int wmain() {
  testing::HostWindow window;
  UiFonts fonts;
  SystemLauncher launcher;
  SystemMessageBoxes messageBoxes;
  const std::wstring app = testing::installedAppDirectory();
  FixWidze page(PageContext{window.hwnd(), {250, 1385, 8535, 6515}, fonts, screenTwipsPerPixel(), launcher,
                            messageBoxes, app});
  page.setVisible(true);
  testing::pumpMessages();

  const std::wstring topic = largestTopic(app);
  std::vector<double> loads;
  for (int run = 0; run < 21; ++run) {
    const double start = nowMs();
    page.LstContent(topic);
    loads.push_back(nowMs() - start);
  }

  HWND system = testing::RunningApp::findDescendant(page.hwnd(), L"Button", L"系统异常");
  std::vector<double> glides;
  int ticks = 0;
  for (int run = 0; run < 5 && system; ++run) {
    page.ResetAll();
    testing::pumpMessages();
    const double start = nowMs();
    SendMessageW(system, BM_CLICK, 0, 0);
    testing::waitUntil([&] { return !page.gliding(); }, std::chrono::milliseconds(30000));
    glides.push_back(nowMs() - start);
    ticks = page.glideTicks();
  }

  std::printf("%-56s %12.2f %12s %6s\n", "wizard: LstContent of the largest topic (ms)", median(loads), "-", "-");
  std::printf("%-56s %12d %12s %6s\n", "wizard: one glide, click to fan (ticks)", ticks, "-", "-");
  std::printf("%-56s %12.1f %12s %6s\n", "wizard: one glide, click to fan (ms, median of 5)",
              glides.empty() ? -1.0 : median(glides), "-", "-");
  return 0;
}
