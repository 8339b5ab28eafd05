#include "shell/SkinImage.h"

#include <commctrl.h>

#include "controls/WindowClass.h"

namespace kelvane {
namespace {

constexpr wchar_t SkinImageClass[] = L"KelvaneSkinImage";
constexpr WPARAM AnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

std::int16_t buttonsHeld(WPARAM keys) {
  return static_cast<std::int16_t>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                                   ((keys & MK_MBUTTON) ? 4 : 0));
}

}  // namespace

SkinImage::SkinImage(HWND parent, int id, const std::wstring& text, const TwipRect& place,
                     float twipsPerPixel, SkinImageEvents events)
    : ControlWindow(twipsPerPixel), events_(std::move(events)) {
  registerWindowClass(SkinImageClass, windowProcedure<SkinImage>);
  const RECT pixels = pixelRect(place, twipsPerPixel);
  adopt(CreateWindowExW(0, SkinImageClass, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, pixels.left,
                        pixels.top, pixels.right, pixels.bottom, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this));
}

void SkinImage::setPicture(HBITMAP picture) {
  if (picture == picture_) return;
  picture_ = picture;
  if (hwnd()) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
  }
}

void SkinImage::paint(HWND hwnd) {
  PaintDc paint(hwnd);
  paintParentBackground(hwnd, paint.get());
  if (!picture_) return;
  BITMAP info{};
  if (!GetObjectW(picture_, sizeof info, &info)) return;
  UniqueMemoryDc source(CreateCompatibleDC(paint.get()));
  SelectedObject selected(source.get(), picture_);
  BitBlt(paint.get(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void SkinImage::buttonDown(HWND hwnd, std::int16_t button) {
  if (button == 1) leftPressed_ = true;
  // Capture first, so the release arrives here even off the image; a handler may
  // release it again (the drag bar hands the mouse to the move loop).
  if (events_.mouseDown || events_.mouseUp || events_.click) SetCapture(hwnd);
  if (events_.mouseDown) events_.mouseDown(button);
}

void SkinImage::buttonUp(HWND hwnd, std::int16_t button, WPARAM keys, LPARAM lParam) {
  // Decided before the capture goes: releasing it reports WM_CAPTURECHANGED,
  // which forgets the press.
  const bool clicked = button == 1 && leftPressed_;
  if (button == 1) leftPressed_ = false;
  if ((keys & AnyButton) == 0 && GetCapture() == hwnd) ReleaseCapture();
  if (events_.mouseUp) events_.mouseUp(button);
  if (!clicked || !events_.click) return;
  RECT client;
  GetClientRect(hwnd, &client);
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (PtInRect(&client, at)) events_.click();
}

LRESULT SkinImage::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (tooltip_ && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    MSG relayed{hwnd, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT:
      paint(hwnd);
      return 0;
    case WM_MOUSEMOVE:
      if (events_.mouseMove) events_.mouseMove(buttonsHeld(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      buttonDown(hwnd, 1);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      buttonDown(hwnd, 2);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      buttonDown(hwnd, 4);
      return 0;
    case WM_LBUTTONUP:
      buttonUp(hwnd, 1, wParam, lParam);
      return 0;
    case WM_RBUTTONUP:
      buttonUp(hwnd, 2, wParam, lParam);
      return 0;
    case WM_MBUTTONUP:
      buttonUp(hwnd, 4, wParam, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      leftPressed_ = false;
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

SkinTooltips::SkinTooltips(HWND owner) : owner_(owner) {
  tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
}

void SkinTooltips::add(SkinImage& tool, std::wstring_view text) {
  if (!tooltip_ || !tool.hwnd()) return;
  std::wstring copy(text);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = owner_;
  info.uId = reinterpret_cast<UINT_PTR>(tool.hwnd());
  info.lpszText = copy.data();
  if (SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) tool.tooltip_ = tooltip_.get();
}

void SkinTooltips::setText(HWND tool, std::wstring_view text) {
  if (!tooltip_ || !tool) return;
  std::wstring copy(text);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = owner_;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = copy.data();
  SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace kelvane
