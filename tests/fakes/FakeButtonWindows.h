#pragma once
// Stand-in windows for the repair-tool page's button pool: records what each slot
// shows, so a test sees the page as the user would and counts the windows made.
#include <map>
#include <string>
#include <vector>

#include "tools/ToolButtonArray.h"

namespace kelvane::testing {

class FakeButtonWindows : public ButtonWindows {
 public:
  struct Window {
    std::wstring caption;
    PixelRect place;
    bool shown = false;
  };
  std::vector<Window> windows;
  bool refuseNew = false;

  bool addWindow() override {
    if (refuseNew) return false;
    windows.emplace_back();
    return true;
  }
  void present(int slot, const std::wstring& caption, const PixelRect& place) override {
    windows.at(static_cast<size_t>(slot)) = Window{caption, place, true};
  }
  void conceal(int slot) override { windows.at(static_cast<size_t>(slot)).shown = false; }

  // Caption -> place of every window on show.
  std::map<std::wstring, PixelRect> onShow() const {
    std::map<std::wstring, PixelRect> shown;
    for (const Window& window : windows) {
      if (window.shown) shown[window.caption] = window.place;
    }
    return shown;
  }
};

}  // namespace kelvane::testing
