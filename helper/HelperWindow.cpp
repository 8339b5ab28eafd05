#include "helper/HelperWindow.h"

#include "controls/Twips.h"
#include "controls/WindowClass.h"
#include "helper/HelperText.h"
#include "res/resource.h"

namespace kelvane {
namespace {

namespace text = helper_text;

constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr COLORREF Background = RGB(206, 255, 253);
constexpr float ClientWidth = 7200;   // twips
constexpr float ClientHeight = 5400;

}  // namespace

HelperWindow::HelperWindow(Launcher& launcher)
    : twipsPerPixel_(screenTwipsPerPixel()),
      icon_(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KELVANE), IMAGE_ICON,
                                          32, 32, 0))),
      // The help program has no application directory of its own to offer.
      commands_(launcher, messageBoxes_, L"") {}

bool HelperWindow::create(int showCommand) {
  registerWindowClass(HelperWindowClass, windowProcedure<HelperWindow>, icon_.get());
  RECT outer{0, 0, twipsToPixels(ClientWidth, twipsPerPixel_), twipsToPixels(ClientHeight, twipsPerPixel_)};
  AdjustWindowRectEx(&outer, Style, FALSE, WS_EX_CONTROLPARENT);
  window_.reset(CreateWindowExW(WS_EX_CONTROLPARENT, HelperWindowClass, text::Title.data(), Style, CW_USEDEFAULT,
                                CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), this));
  if (!window_) return false;
  commands_.setOwner(window_.get());
  createControls();
  ShowWindow(window_.get(), showCommand);
  // The help menu starts this program minimised, so only a taskbar button shows
  // that anything happened: it flashes until the user opens the window.
  if (IsIconic(window_.get())) flashTaskbarButton(true);
  return true;
}

void HelperWindow::flashTaskbarButton(bool on) {
  const DWORD mode = on ? FLASHW_TRAY | FLASHW_TIMER : FLASHW_STOP;
  FLASHWINFO flash{sizeof flash, window_.get(), mode, 0, 0};  // 0, 0: until stopped, at the caret's blink rate
  FlashWindowEx(&flash);
  flashing_ = on;
}

void HelperWindow::createControls() {
  const HWND self = window_.get();
  TextBoxDesign body{text::body(), {240, 240, 6720, 4080}, true, fonts_.text.get()};
  body.multiLine = true;
  body.verticalScrollBar = true;
  body.readOnly = true;  // selectable, so the addresses can be copied
  body.background = RGB(255, 255, 255);
  text_ = std::make_unique<TextBox>(self, body, twipsPerPixel_);

  auto button = [&](std::wstring_view caption, float left) {
    return std::make_unique<CoolButton>(
        self, ButtonDesign{std::wstring(caption), {left, 4560, 1800, 495}, true, fonts_.buttonBold.get()},
        twipsPerPixel_);
  };
  forum_ = button(text::Forum, 240);
  mail_ = button(text::Mail, 2280);
  close_ = button(text::Close, 5160);
  forum_->setOnClick([this] { commands_.bbshelp_Click(); });
  mail_->setOnClick([this] { commands_.contact_Click(); });
  close_->setOnClick([this] { PostMessageW(window_.get(), WM_CLOSE, 0, 0); });
  SetFocus(forum_->hwnd());
}

LRESULT HelperWindow::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      UniqueBrush brush(CreateSolidBrush(Background));
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush.get());
      return 1;
    }
    case WM_SIZE:
      if (flashing_ && wParam != SIZE_MINIMIZED) flashTaskbarButton(false);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace kelvane
