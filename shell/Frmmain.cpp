#include "shell/Frmmain.h"

#include "controls/Twips.h"
#include "controls/WindowClass.h"
#include "res/resource.h"
#include "shell/FrmmainText.h"
#include "shell/PageSwitch.h"

namespace kelvane {
namespace {

namespace text = frmmain_text;

// The window's light background colour (&H00FDFFCE).
constexpr COLORREF BackColor = RGB(206, 255, 253);
constexpr COLORREF MenuBarColor = RGB(214, 242, 250);
// The design's client area before start-up sets the size; it decides where the
// window is centred.
constexpr float DesignClientWidth = 8925;
constexpr float DesignClientHeight = 8910;
constexpr float StartWidth = 9000;
constexpr float StartHeight = 9115;

constexpr TwipRect MenuPlace{240, 480, 8415, 855};
constexpr TwipRect PagePlace{PageLeft, 1385, PageWidth, PageHeight};
constexpr TwipRect BannerPlace{960, 7920, 7065, 945};
constexpr TwipRect Label1Place{240, 8040, 735, 615};
constexpr TwipRect Label2Place{8040, 8160, 735, 615};

struct PageButtonDesign {
  TwipRect place;
  int pictureId;
  SIZE pictureSize;
};
constexpr std::array<PageButtonDesign, 5> PageButtonDesigns = {{
    {{120, 120, 1335, 615}, IDI_PAGE0, {36, 36}},
    {{1800, 120, 1335, 615}, IDI_PAGE1, {35, 33}},
    {{3480, 120, 1335, 615}, IDI_PAGE2, {39, 36}},
    {{5160, 120, 1455, 615}, IDI_PAGE3, {39, 39}},
    {{6840, 120, 1335, 615}, IDI_PAGE4, {35, 33}},
}};

enum MenuCommand : WORD { CmdBbshelp = 101, CmdHelpplus, CmdDenote, CmdContact, CmdHdguide };

constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HICON loadIcon(int id, int width, int height) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0));
}

}  // namespace

Frmmain::Frmmain(FrmmainServices services)
    : services_(std::move(services)),
      twipsPerPixel_(screenTwipsPerPixel()),
      form_(nullptr, twipsPerPixel_),
      icon_(loadIcon(IDI_KELVANE, 32, 32)),
      background_(CreateSolidBrush(BackColor)),
      help_(services_.launcher, services_.appDirectory),
      Btn_TopMenu([this](int16_t index) { Btn_TopMenu_Click(index); }) {}

Frmmain::~Frmmain() = default;

bool Frmmain::create(int showCommand) {
  registerWindowClass(FrmmainClass, windowProcedure<Frmmain>, icon_.get());
  RECT outer{0, 0, twipsToPixels(DesignClientWidth, twipsPerPixel_),
             twipsToPixels(DesignClientHeight, twipsPerPixel_)};
  AdjustWindowRectEx(&outer, WindowStyle, FALSE, WS_EX_CONTROLPARENT);
  window_.reset(CreateWindowExW(WS_EX_CONTROLPARENT, FrmmainClass, text::Caption.data(), WindowStyle,
                                CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr), this));
  if (!window_) return false;
  form_ = WindowPlacement(window_.get(), twipsPerPixel_);
  help_.setOwner(window_.get());
  createControls();
  Form_Load();
  ShowWindow(window_.get(), showCommand);
  UpdateWindow(window_.get());
  return true;
}

void Frmmain::createControls() {
  const HWND self = window_.get();
  Menu = std::make_unique<Panel>(self, PanelDesign{MenuPlace, true, MenuBarColor, L"Menu", false, nullptr},
                                 twipsPerPixel_);
  createPageButtons();
  const PageContext context{self, PagePlace, fonts_, twipsPerPixel_, services_.launcher,
                            services_.messageBoxes, services_.appDirectory};
  FixWidze1 = std::make_unique<FixWidze>(context);
  RepairTool1 = std::make_unique<RepairTool>(context);
  SysTool1 = std::make_unique<SysTool>(context);
  VirusDetect1 = std::make_unique<VirusDetect>(context);
  const HFONT body = fonts_.text.get();
  Adwick_AD1 = std::make_unique<Banner>(self, BannerPlace, fonts_.caption.get(), body, twipsPerPixel_);
  LabelDesign advert{std::wstring(text::AdvertLabel), Label1Place, true, fonts_.buttonBold.get(),
                     RGB(0, 0, 0), RGB(255, 255, 255), SS_LEFT};
  Label1 = std::make_unique<Label>(self, advert, twipsPerPixel_);
  advert.place = Label2Place;
  Label2 = std::make_unique<Label>(self, advert, twipsPerPixel_);
  createHelpMenu();
}

void Frmmain::createPageButtons() {
  for (size_t i = 0; i < PageButtonDesigns.size(); ++i) {
    const PageButtonDesign& design = PageButtonDesigns[i];
    pagePictures_[i].reset(loadIcon(design.pictureId, design.pictureSize.cx, design.pictureSize.cy));
    ButtonDesign button{std::wstring(text::PageButtons[i]), design.place, true, fonts_.buttonBold.get(),
                        pagePictures_[i].get(), design.pictureSize, false};
    Btn_TopMenu.add(Menu->hwnd(), button, twipsPerPixel_);
  }
}

void Frmmain::createHelpMenu() {
  // A menu that is never shown as a menu bar; its one pop-up is the help menu.
  topmenu.reset(CreateMenu());
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, CmdBbshelp, text::Bbshelp.data());
  AppendMenuW(popup, MF_STRING, CmdHelpplus, text::Helpplus.data());
  AppendMenuW(popup, MF_STRING, CmdDenote, text::Denote.data());
  AppendMenuW(popup, MF_STRING, CmdContact, text::Contact.data());
  AppendMenuW(popup, MF_STRING, CmdHdguide, text::Hdguide.data());
  AppendMenuW(topmenu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text::HelpMenu.data());
}

PageList Frmmain::pages() {
  return {FixWidze1.get(), RepairTool1.get(), SysTool1.get(), VirusDetect1.get()};
}

void Frmmain::Form_Load() {
  // Centre from the size the window was created with; it is not centred again
  // after the size is set, so it sits exactly in the middle only when the two agree.
  const float screenWidth = static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * twipsPerPixel_;
  const float screenHeight = static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * twipsPerPixel_;
  form_.setLeft((screenWidth - form_.width().value_or(0)) / 2);
  form_.setTop((screenHeight - form_.height().value_or(0)) / 2);
  form_.setWidth(StartWidth);
  form_.setHeight(StartHeight);
  Btn_TopMenu_Click(0);
  Adwick_AD1->start();
}

void Frmmain::Form_Unload() {
  Adwick_AD1->stop();
  // No page is told: a running detection ends with the process.
  if (services_.endProcess) services_.endProcess();
}

void Frmmain::Btn_TopMenu_Click(int16_t index) {
  if (index == HelpMenuButton) {
    showHelpMenu();
    return;
  }
  showPage(index, pages(), *Menu, *FixWidze1);
}

void Frmmain::HideAll() {
  FixWidze1->setVisible(false);
  SysTool1->setVisible(false);
}

void Frmmain::showHelpMenu() {
  const CoolButton* button = Btn_TopMenu.element(HelpMenuButton);
  if (!button) return;
  const std::optional<TwipPoint> point = helpMenuPoint(*button);
  if (!point) return;
  POINT screen{twipsToPixels(point->x, twipsPerPixel_), twipsToPixels(point->y, twipsPerPixel_)};
  ClientToScreen(window_.get(), &screen);
  // Modal: returns when the menu has closed; a chosen item arrives as WM_COMMAND.
  TrackPopupMenu(GetSubMenu(topmenu.get(), 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, screen.x,
                 screen.y, 0, window_.get(), nullptr);
}

bool Frmmain::onMenuCommand(WORD id) {
  switch (id) {
    case CmdBbshelp: bbshelp_Click(); return true;
    case CmdHelpplus: helpplus_Click(); return true;
    case CmdDenote: denote_Click(); return true;
    case CmdContact: contact_Click(); return true;
    case CmdHdguide: hdguide_Click(); return true;
    default: return false;
  }
}

LRESULT Frmmain::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0 && onMenuCommand(LOWORD(wParam))) return 0;
      break;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
      return 1;
    }
    case WM_CLOSE:
      Form_Unload();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace kelvane
