#pragma once
// One static window procedure per window class: the object comes in through
// lpCreateParams at WM_NCCREATE, lives in GWLP_USERDATA, and is dropped at
// WM_NCDESTROY. Notifications from child controls are reflected to them first.
#include <windows.h>

#include "controls/ControlWindow.h"

namespace kelvane {

// Registers a window class of this module; registering it again is harmless.
void registerWindowClass(const wchar_t* className, WNDPROC procedure, HICON icon = nullptr);

// T has: LRESULT handleMessage(HWND, UINT, WPARAM, LPARAM).
template <typename T>
LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  T* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  LRESULT reflected = 0;
  if (reflectToControl(message, wParam, lParam, reflected)) return reflected;
  return self ? self->handleMessage(hwnd, message, wParam, lParam)
              : DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace kelvane
