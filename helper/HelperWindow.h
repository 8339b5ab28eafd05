#pragma once
// The online-help program's window: how to get help from people, with buttons that
// open the forum and start an e-mail to support.
#include <windows.h>

#include <memory>

#include "common/Launcher.h"
#include "common/SystemServices.h"
#include "controls/CoolButton.h"
#include "controls/Fonts.h"
#include "controls/TextBox.h"
#include "shell/HelpCommands.h"

namespace kelvane {

inline constexpr wchar_t HelperWindowClass[] = L"KelvaneHelper";

class HelperWindow {
 public:
  explicit HelperWindow(Launcher& launcher);
  HelperWindow(const HelperWindow&) = delete;
  HelperWindow& operator=(const HelperWindow&) = delete;

  // Creates the window and shows it as asked (minimised when the main program
  // starts it). False when the window could not be created.
  bool create(int showCommand);
  HWND hwnd() const { return window_.get(); }
  // True while the taskbar button flashes: from a minimised start until the user
  // first opens the window.
  bool flashing() const { return flashing_; }

  LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void createControls();
  void flashTaskbarButton(bool on);

  float twipsPerPixel_;
  bool flashing_ = false;
  UniqueWindow window_;  // first: destroyed after the controls
  UiFonts fonts_;
  UniqueIcon icon_;
  SystemMessageBoxes messageBoxes_;  // asks before a page opens elevated
  HelpCommands commands_;
  std::unique_ptr<TextBox> text_;
  std::unique_ptr<CoolButton> forum_;
  std::unique_ptr<CoolButton> mail_;
  std::unique_ptr<CoolButton> close_;
};

}  // namespace kelvane
