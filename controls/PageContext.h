#pragma once
// What the main window hands every page when it creates it.
#include <windows.h>

#include <functional>
#include <string>

#include "common/Launcher.h"
#include "common/MessageBox.h"
#include "controls/ControlWindow.h"
#include "controls/Fonts.h"

namespace kelvane {

struct PageContext {
  HWND parent;                 // the main window; also the host of keyboard navigation
  TwipRect place;              // where the page is created (the page area)
  const UiFonts& fonts;
  float twipsPerPixel;
  Launcher& launcher;
  MessageBoxes& messageBoxes;
  std::wstring appDirectory;   // see common/AppPath.h
  // The DPI the page is made for (96 at 15 twips per pixel).
  int dpi() const { return static_cast<int>(1440.0f / twipsPerPixel + 0.5f); }
  // Ends the program after a failure it cannot go on from.
  std::function<void()> endProcess = [] { ExitProcess(1); };
};

}  // namespace kelvane
