#pragma once
// The main window: it owns the page-button bar, the four tool pages, the banner
// and the help menu for the life of the process. Exactly one page is visible; the
// page buttons switch between them and the fifth pops up the help menu.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/Handles.h"
#include "common/Launcher.h"
#include "common/MessageBox.h"
#include "controls/Banner.h"
#include "controls/ButtonArray.h"
#include "controls/Fonts.h"
#include "controls/Label.h"
#include "controls/Panel.h"
#include "detector/VirusDetect.h"
#include "shell/HelpCommands.h"
#include "tools/RepairTool.h"
#include "tools/SysTool.h"
#include "wizard/FixWidze.h"

namespace kelvane {

// What the main window needs from outside: how to launch, ask, and end.
struct FrmmainServices {
  Launcher& launcher;
  MessageBoxes& messageBoxes;
  std::wstring appDirectory;
  // Ends the process at once; the program passes ExitProcess, tests a recorder.
  std::function<void()> endProcess;
};

inline constexpr wchar_t FrmmainClass[] = L"KelvaneFrmmain";

class Frmmain {
 public:
  explicit Frmmain(FrmmainServices services);
  Frmmain(const Frmmain&) = delete;
  Frmmain& operator=(const Frmmain&) = delete;
  ~Frmmain();

  // Creates the window from its design, runs Form_Load and shows it. False when
  // the window could not be created.
  bool create(int showCommand);
  HWND hwnd() const { return window_.get(); }

  void Form_Load();
  void Form_Unload();
  void Btn_TopMenu_Click(int16_t index);
  void bbshelp_Click() { help_.bbshelp_Click(); }
  void helpplus_Click() { help_.helpplus_Click(); }
  void denote_Click() { help_.denote_Click(); }
  void contact_Click() { help_.contact_Click(); }
  void hdguide_Click() { help_.hdguide_Click(); }
  // Hides the wizard and the system-tool page (and no other).
  void HideAll();

  // The window as a placement: Left, Top, Width, Height in twips, outer size.
  WindowPlacement& form() { return form_; }
  Panel& menuBar() { return *Menu; }
  ButtonArray& pageButtons() { return Btn_TopMenu; }
  PageList pages();

  LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void createControls();
  void createPageButtons();
  void createHelpMenu();
  void showHelpMenu();
  bool onMenuCommand(WORD id);

  FrmmainServices services_;
  float twipsPerPixel_;
  UniqueWindow window_;  // declared first: destroyed after every control below
  WindowPlacement form_;
  UiFonts fonts_;
  UniqueIcon icon_;
  std::array<UniqueIcon, 5> pagePictures_;
  UniqueBrush background_;
  HelpCommands help_;

  std::unique_ptr<Panel> Menu;
  ButtonArray Btn_TopMenu;
  std::unique_ptr<FixWidze> FixWidze1;
  std::unique_ptr<RepairTool> RepairTool1;
  std::unique_ptr<SysTool> SysTool1;
  std::unique_ptr<VirusDetect> VirusDetect1;
  std::unique_ptr<Banner> Adwick_AD1;
  std::unique_ptr<Label> Label1;
  std::unique_ptr<Label> Label2;
  UniqueMenu topmenu;
};

}  // namespace kelvane
