#include "controls/Dpi.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/DllSafety.h"
#include "common/Handles.h"
#include "controls/ControlWindow.h"
#include "controls/Twips.h"

namespace kelvane {
namespace {

template <typename Function>
Function user32Function(const char* name) {
  return libraryFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

constexpr int EffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the DPI the monitor is scaled to

int screenDpi() {
  WindowDc screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : DesignDpi;
}

// Windows 8.1 and Windows 10 before 1607 have per-monitor DPIs but no
// GetDpiForWindow: the DPI of the window's monitor comes from shcore.dll. Loaded
// from the system folder only, never from beside the program.
GetDpiForMonitorFunction dpiForMonitorFunction() {
  return libraryFunction<GetDpiForMonitorFunction>(loadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
}

int monitorDpi(HWND hwnd) {
  static const auto forMonitor = dpiForMonitorFunction();  // the library stays for the process
  const HMONITOR monitor = forMonitor ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST) : nullptr;
  UINT x = 0, y = 0;
  if (!monitor || FAILED(forMonitor(monitor, EffectiveDpi, &x, &y))) return 0;
  return static_cast<int>(y);
}

struct Descendant {
  HWND hwnd;
  int depth;
  RECT place;  // in the parent's client area
};

BOOL CALLBACK collectDescendant(HWND hwnd, LPARAM data) {
  auto& found = *reinterpret_cast<std::vector<Descendant>*>(data);
  int depth = 0;
  for (HWND up = GetParent(hwnd); up; up = GetParent(up)) ++depth;
  RECT place;
  GetWindowRect(hwnd, &place);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&place), 2);
  found.push_back({hwnd, depth, place});
  return TRUE;
}

}  // namespace

int systemDpi() {
  static const auto forSystem = user32Function<GetDpiForSystemFunction>("GetDpiForSystem");
  const int dpi = forSystem ? static_cast<int>(forSystem()) : 0;
  return dpi > 0 ? dpi : screenDpi();
}

int windowDpi(HWND hwnd) {
  static const auto forWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (!hwnd) return systemDpi();
  const int dpi = forWindow ? static_cast<int>(forWindow(hwnd)) : monitorDpi(hwnd);
  return dpi > 0 ? dpi : systemDpi();
}

void adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto forDpi = user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  if (forDpi && forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

void swapFont(HWND hwnd, const DpiChange& change) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  if (!font || !change.font) return;
  if (const HFONT scaled = change.font(font); scaled && scaled != font) {
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
  }
}

int DpiChange::scale(int pixels) const {
  return twipsToPixels(pixelsToTwips(pixels, twipsPerPixelAt(oldDpi)), twipsPerPixel);
}

void rescaleDescendants(HWND root, const DpiChange& change) {
  std::vector<Descendant> found;
  EnumChildWindows(root, collectDescendant, reinterpret_cast<LPARAM>(&found));
  // Every control takes its new scale and fonts before any window moves: a move
  // makes pages lay themselves out in twips at once.
  for (const Descendant& child : found) {
    if (ControlWindow* control = ControlWindow::fromHwnd(child.hwnd)) {
      control->onDpiChanged(change);
    } else {
      swapFont(child.hwnd, change);
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const Descendant& a, const Descendant& b) { return a.depth > b.depth; });
  for (const Descendant& child : found) {
    const RECT& place = child.place;
    const int left = change.scale(place.left);
    const int top = change.scale(place.top);
    SetWindowPos(child.hwnd, nullptr, left, top, change.scale(place.right - place.left),
                 change.scale(place.bottom - place.top), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  for (const Descendant& child : found) {
    if (ControlWindow* control = ControlWindow::fromHwnd(child.hwnd)) control->afterDpiChanged(change);
  }
}

}  // namespace kelvane
