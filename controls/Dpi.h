#pragma once
// Dots per inch of a window, and how a window tree follows a change of it.
//
// Twips per pixel is a property of a window: 1440 / the DPI of the monitor it is
// on. The functions that tell a window's or a monitor's DPI appeared with Windows
// 8.1 and 10, so they are looked up at run time; on Windows 7 and 8 every window
// has the system's DPI.
#include <windows.h>

#include <functional>

namespace kelvane {

inline constexpr int DesignDpi = 96;

// The DPI the system was started with (the DPI of every window on Windows 7).
int systemDpi();
// The DPI of the monitor `hwnd` is on.
int windowDpi(HWND hwnd);
// The outer rectangle of a window whose client area is `rect`, at `dpi`.
void adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// What a control needs to follow its window to another DPI.
struct DpiChange {
  int oldDpi = DesignDpi;
  int dpi = DesignDpi;
  float twipsPerPixel = 15;
  // The font to use at `dpi` in place of one made for `oldDpi`.
  std::function<HFONT(HFONT)> font;
  // A distance in pixels at the old DPI, at the new one (through twips, rounded
  // as every placement is).
  int scale(int pixels) const;
};

// Gives a window the font for the new DPI in place of its present one.
void swapFont(HWND hwnd, const DpiChange& change);

// Moves and sizes every descendant window of `root` to the new DPI (the deepest
// first, so a page that lays itself out on WM_SIZE has the last word), and hands
// each control of the program the change (its twips per pixel, fonts, pictures).
void rescaleDescendants(HWND root, const DpiChange& change);

}  // namespace kelvane
