// The wizard's figures: LstContent of the largest topic, and one glide from the
// category click to the fan, on the real page with the installed data.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/BenchReport.h"
#include "common/Files.h"
#include "common/SystemServices.h"
#include "tests/win/TestSupport.h"
#include "wizard/FixWidze.h"
#include "wizard/RecordText.h"

namespace {

using namespace kelvane;

using bench::median;
using bench::nowMs;

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

// LstContent of a record file at the size limit the wizard accepts, in a scratch
// application directory: how long the largest record it shows holds the page.
double largestAcceptedRecordMs(HWND host, const UiFonts& fonts, Launcher& launcher, MessageBoxes& boxes) {
  const testing::ScratchDirectory app(L"wizard-bench");
  CreateDirectoryW((app.path() + L"\\data").c_str(), nullptr);
  testing::writeFile(app.path() + L"\\data\\sol.ini", "[big]\r\ntotalcount=0\r\n");
  const std::string line = "\xD2\xBB\xD0\xD0\xCB\xB5\xC3\xF7\xCE\xC4\xD7\xD6\r\n";  // "一行说明文字" in GBK
  std::string record;
  while (record.size() + line.size() <= MaxRecordBytes) record += line;
  testing::writeFile(app.path() + L"\\data\\big.Rd", record);
  FixWidze page(PageContext{host, {250, 1385, 8535, 6515}, fonts, screenTwipsPerPixel(), launcher, boxes, app.path()});
  page.setVisible(true);
  testing::pumpMessages();
  std::vector<double> loads;
  for (int run = 0; run < 3; ++run) {
    const double start = nowMs();
    page.LstContent(L"big");
    loads.push_back(nowMs() - start);
  }
  return median(loads);
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

  bench::row("wizard: LstContent of the largest topic (ms, median of 21)", median(loads), "-", "-", 2);
  bench::row("wizard: LstContent at the 256 KB record limit (ms, median 3)",
             largestAcceptedRecordMs(window.hwnd(), fonts, launcher, messageBoxes), "-", "-");
  bench::row("wizard: one glide, click to fan (ticks)", ticks, "-", "-", 0);
  bench::row("wizard: one glide, click to fan (ms, median of 5)", median(glides), "-", "-");
  return 0;
}
