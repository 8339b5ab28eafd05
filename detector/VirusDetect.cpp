#include "detector/VirusDetect.h"

#include "controls/Fonts.h"
#include "controls/Twips.h"
#include "detector/DetectorLayout.h"
#include "detector/DetectorText.h"
#include "res/resource.h"

namespace kelvane {
namespace {

namespace text = detector_text;

// Where the picture ends (it is 500 x 500 pixels, the page a little wider) the
// page shows this colour, the one the picture fades to at its right edge.
constexpr COLORREF PageBackground = RGB(240, 244, 255);
constexpr COLORREF OptionBackground = RGB(192, 192, 255);
constexpr COLORREF CautionColour = RGB(255, 0, 0);

// Places in the design, in twips; the layout moves most of them.
constexpr TwipRect ReadMePlace{1200, 240, 5175, 1095};
constexpr TwipRect CautionPlace{480, 4320, 6975, 255};
constexpr TwipRect NormalDescriptionPlace{1800, 2640, 3975, 255};
constexpr TwipRect DeepDescriptionPlace{1800, 3360, 3975, 255};
constexpr TwipRect OptNormalPlace{1440, 2280, 1215, 255};
constexpr TwipRect OptDeepPlace{1440, 3000, 1215, 255};
constexpr TwipRect BeginPlace{1680, 3960, 1455, 375};
constexpr TwipRect StopPlace{3720, 3960, 1455, 375};

constexpr UINT TimerDeepInterval = 1000;

// EnumThreadWindows callback: stops at a visible dialog and notes it.
BOOL CALLBACK findMessageBox(HWND window, LPARAM found) {
  wchar_t className[16] = {};
  if (!IsWindowVisible(window) || !GetClassNameW(window, className, 16) || lstrcmpW(className, L"#32770") != 0) {
    return TRUE;
  }
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

DetectorFolders systemFolders(const PageContext& context) {
  return DetectorFolders{systemDirectory(), windowsDirectory(), context.appDirectory};
}

}  // namespace

VirusDetect::VirusDetect(const PageContext& context) : VirusDetect(context, systemFolders(context)) {}

VirusDetect::VirusDetect(const PageContext& context, DetectorFolders folders)
    : Panel(context.parent,
            PanelDesign{context.place, false, PageBackground, std::wstring(text::PageTitle), false, nullptr,
                        IDB_DETECTOR_BACKGROUND},
            context.twipsPerPixel),
      host_(context.parent),
      readMeFont_(createPointFont(SongTi, 12, false, GB2312_CHARSET, context.dpi())),
      TimerDeep(TimerDeepInterval, [this] { TimerDeep_Timer(); }),
      detector_(std::move(folders), watch_, files_, *this, context.messageBoxes, context.parent) {
  // The labels are drawn on the picture without a background of their own: the
  // page paints under them too, and a repaint of the page repaints them.
  SetWindowLongPtrW(hwnd(), GWL_STYLE, GetWindowLongPtrW(hwnd(), GWL_STYLE) & ~WS_CLIPCHILDREN);
  const HWND page = hwnd();
  const float tpp = context.twipsPerPixel;
  const HFONT textFont = context.fonts.text.get();
  const HFONT boldFont = context.fonts.buttonBold.get();
  TxtReadMe = std::make_unique<Label>(page, LabelDesign{L"", ReadMePlace, true, readMeFont_.get()}, tpp);
  lbMsg = std::make_unique<Label>(page, LabelDesign{L"", CautionPlace, true, textFont, CautionColour}, tpp);
  LbNormal = std::make_unique<Label>(
      page, LabelDesign{std::wstring(text::NormalDescription), NormalDescriptionPlace, true, textFont}, tpp);
  LbDeep = std::make_unique<Label>(
      page, LabelDesign{std::wstring(text::DeepDescription), DeepDescriptionPlace, true, textFont}, tpp);
  OptNormal = std::make_unique<OptionButton>(
      page,
      OptionDesign{.caption = std::wstring(text::OptNormal), .place = OptNormalPlace, .font = boldFont,
                   .groupStart = true, .foreground = RGB(0, 0, 0), .background = OptionBackground},
      tpp);
  OptDeep = std::make_unique<OptionButton>(
      page,
      OptionDesign{.caption = std::wstring(text::OptDeep), .place = OptDeepPlace, .font = boldFont,
                   .foreground = GetSysColor(COLOR_BTNTEXT), .background = OptionBackground},
      tpp);
  cmdBegin = std::make_unique<CoolButton>(
      page, ButtonDesign{std::wstring(text::Begin), BeginPlace, true, boldFont}, tpp);
  cmdStop = std::make_unique<CoolButton>(
      page, ButtonDesign{std::wstring(text::Stop), StopPlace, true, boldFont}, tpp);
  cmdBegin->setOnClick([this] { cmdBegin_Click(); });
  cmdStop->setOnClick([this] { cmdStop_Click(); });
  UserControl_Initialize();
  UserControl_Resize();
}

// The timer and the controls go before the detector's files: nothing ticks or
// clicks into a page that is being taken down.
VirusDetect::~VirusDetect() { TimerDeep.setEnabled(false); }

void VirusDetect::UserControl_Initialize() {
  TxtReadMe->setCaption(text::ReadMe);
  lbMsg->setCaption(text::Caution);
  OptNormal->setValue(true);
  // The folders were queried (or given) when the detector was made.
}

void VirusDetect::cmdBegin_Click() {
  if (OptNormal->value()) {
    // Copied: the run lasts while anything, the page included, may change.
    const std::wstring folder = detector_.folders().windowsDir;
    NormalDetect(folder);
  } else if (OptDeep->value()) {
    DeepDetect();
  }
}

void VirusDetect::cmdStop_Click() {
  if (OptNormal->value()) {
    StopNormalDetect();
  } else if (OptDeep->value()) {
    StopDeepDetect();
  }
}

void VirusDetect::UserControl_Resize() {
  if (!cmdStop) return;  // a size change while the page is still being built
  RECT client;
  if (!GetClientRect(hwnd(), &client)) return;
  const float tpp = twipsPerPixel();
  layoutVirusDetect(pixelsToTwips(client.right, tpp), pixelsToTwips(client.bottom, tpp),
                    DetectorLayoutControls{*TxtReadMe, *OptNormal, *LbNormal, *OptDeep, *LbDeep, *cmdBegin,
                                           *cmdStop, *lbMsg});
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool VirusDetect::onMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message == WM_SIZE) {
    UserControl_Resize();
    result = 0;
    return true;
  }
  return false;
}

void VirusDetect::showControlStates(const ControlStates& states) {
  cmdBegin->setEnable(states.cmdBegin);
  OptNormal->setEnable(states.optNormal);
  OptDeep->setEnable(states.optDeep);
}

void VirusDetect::processPendingEvents() { kelvane::processPendingEvents(host_); }

bool VirusDetect::setTimerDeep(bool enabled) {
  TimerDeep.setEnabled(enabled);
  return TimerDeep.enabled() == enabled;
}

// Every message box of the program is a dialog window of the window's own
// thread, whichever page or routine opened it: the one thread runs them all.
// Looking at that thread's windows alone costs a tenth of walking every window
// of the desktop under Wine.
bool VirusDetect::messageBoxOpen() {
  bool found = false;
  EnumThreadWindows(GetWindowThreadProcessId(host_, nullptr), findMessageBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

double VirusDetect::nowMs() {
  LARGE_INTEGER count{}, frequency{};
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace kelvane
