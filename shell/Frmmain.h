#pragma once
// The main window: it owns the page-button bar, the four tool pages, the banner
// and the help menu for the life of the process. Exactly one page is visible; the
// page buttons switch between them and the fifth pops up the help menu.
//
// The window has no system frame: every size change runs Form_Resize, which
// re-anchors the skin controls, paints the skin into a persistent backing image
// (shown by WM_PAINT and WM_ERASEBKGND; the child windows draw above it) and
// ends with RMe, which strips the frame and cuts the rounded outline.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/Handles.h"
#include "common/Launcher.h"
#include "common/MessageBox.h"
#include "controls/Banner.h"
#include "controls/ButtonArray.h"
#include "controls/Fonts.h"
#include "controls/Label.h"
#include "controls/Panel.h"
#include "controls/Picture.h"
#include "detector/VirusDetect.h"
#include "shell/HelpCommands.h"
#include "shell/PageSwitch.h"
#include "shell/SkinFrame.h"
#include "shell/SkinImage.h"
#include "shell/SkinPainter.h"
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

// Control ids of the skin's child windows. The edge pieces Pbottom, Pright and
// Pjiao only decorate: they are places the window keeps, not windows.
enum SkinControlId : int {
  IdIMBar = 1001,
  IdImmin,
  IdImmax,
  IdImclose,
};

// Clears the system caption, border and frame buttons of a window and has it
// take on the new frame at its place, size and stacking order.
void StripFrame(HWND hWnd);
// Clears the same style bits without applying them; false when none was set.
bool clearFrameStyle(HWND hWnd);

class Frmmain : private SkinFrameView {
 public:
  explicit Frmmain(FrmmainServices services);
  Frmmain(const Frmmain&) = delete;
  Frmmain& operator=(const Frmmain&) = delete;
  ~Frmmain();

  // Creates the window from its design, runs Form_Load and shows it. False when
  // the window could not be created.
  bool create(int showCommand);
  HWND hwnd() const { return window_.get(); }
  // Page Up and Page Down for the page on show, wherever the focus is in the
  // window; true when a page took the key.
  bool translatePageKey(const MSG& message);

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

  // The layout pass; runs on every size change.
  void Form_Resize();
  // Strips the system frame and cuts the outline for the window's current size.
  void RMe();
  void Form_MouseMove() { frame_.Form_MouseMove(); }
  // The window is to show at `dpi` in `suggested` (screen pixels): it takes the
  // rectangle and lays out, re-fonts and re-paints everything at the new scale.
  void Form_DpiChanged(int dpi, const RECT& suggested);
  int dpi() const { return dpi_; }
  SkinFrame& skinFrame() { return frame_; }
  SkinImage& skinImage(SkinControlId id);

  // The window as a placement: Left, Top, Width, Height in twips, outer size.
  WindowPlacement& form() { return form_; }
  Panel& menuBar() { return *Menu; }
  ButtonArray& pageButtons() { return Btn_TopMenu; }
  PageList pages();

  LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void createControls();
  PageContext pageContext() const;
  // Makes everything start-up left for after the first paint.
  void completeStartup();
  // Makes the next part of it; false when nothing was left.
  bool makeDeferredPart();
  void createPageButtons();
  void createHelpMenu();
  void showHelpMenu();
  bool onMenuCommand(WORD id);
  void createSkin();
  void makeSkinPictures();
  void makeImagePictures();
  HFONT fontForDpi(HFONT font, int oldDpi);
  void onMouseMove(LPARAM at);
  void createTooltips();
  void showWindowIcon();
  void paintBacking(HDC dc, const RECT& area) const;

  // SkinFrameView
  void showPicture(SkinImageId image, SkinPicture picture) override;
  void setImmaxTip(std::wstring_view tip) override;
  void releaseCapture() override;
  void startWindowMove() override;
  void minimise() override;
  void unload() override;

  FrmmainServices services_;
  int dpi_;  // of the monitor the window is on
  float twipsPerPixel_;
  // Fonts the last DPI change replaced. That change handed every holder its
  // replacement, so they are unused once it completed; the next change frees them.
  std::vector<UniqueFont> retiredFonts_;
  // Copies of fonts a page made for itself, made by fontForDpi for the present DPI.
  std::vector<UniqueFont> pageFontCopies_;
  std::vector<std::pair<HFONT, HFONT>> rescaledFonts_;  // during a change: each font to its replacement
  UniqueWindow window_;  // declared first: destroyed after every control below
  WindowPlacement form_;
  UiFonts fonts_;
  std::optional<PictureInAdvance> skinAhead_;  // until the skin is made
  UniqueIcon icon_;  // the window's, from once it has painted
  bool windowIconMade_ = false;
  UniqueBrush background_;
  HelpCommands help_;

  // The skin: its pictures, the backing image the layout paints into, and the
  // image controls (declared after the window, destroyed before it).
  UniqueIcon smallIcon_;  // Imico
  UniqueBitmap skinPicture_;  // Pmain
  UniqueBitmap ImMin1, ImMin2, ImClose1, ImClose2;
  bool imagePicturesMade_ = false;
  UniqueMemoryDc skinDc_;
  BackingImage backing_;
  SkinFrame frame_;
  bool layoutReady_ = false;
  bool inLayoutPass_ = false;
  SIZE lastPassSize_{-1, -1};  // the outer size in pixels the last pass ran at
  std::wstring immaxTip_;
  std::unique_ptr<SkinImage> IMBar, Immin, Immax, Imclose;
  SkinPiecePlace Pbottom, Pright, Pjiao;
  std::unique_ptr<SkinTooltips> tooltips_;

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
