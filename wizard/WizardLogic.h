#pragma once
// The fault-solution wizard without Win32: which category is open, the glide of a
// category button to the page's middle with its fan of fault buttons, and showing
// a topic's text and solutions. FixWidze gives it the real controls; tests give
// it fakes.
//
// A category click closes the open category (ResetAll), names the new one in
// CurrentMenu and starts Timer_Move. Each tick moves the category button a
// fiftieth of its remaining way to the page's vertical middle. Positions are whole
// pixels, so once a step is under half a pixel the button stays put: that tick
// stops the timer, fans the category's fault buttons out beside the button and
// draws a line from it to each of them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/MessageBox.h"
#include "controls/Placement.h"

namespace kelvane {

// Category numbers as CurrentMenu names them.
inline constexpr int MenuErr = 1;        // MsgErr: error messages
inline constexpr int MenuAddDevice = 2;  // MsgAddDevice: new hardware or software
inline constexpr int MenuBoot = 3;       // MsgBoot: start-up
inline constexpr int MenuNetware = 4;    // MsgNetware: network
inline constexpr int MenuSystem = 5;     // MsgSystem: system
inline constexpr int MenuCount = 5;

// Where ResetAll puts each category button back (its design Top), by number.
float categoryHomeTop(int menu);
// The Tops of a category's fault buttons relative to the resting category button,
// in fan order (positive is lower on the page).
std::vector<float> fanOffsets(int menu);

// The page's controls as the wizard uses them.
class WizardView {
 public:
  virtual ~WizardView() = default;
  virtual Placement* categoryButton(int menu) = 0;            // 1 to 5
  virtual std::vector<Placement*> faultButtons(int menu) = 0;  // in fan order
  virtual Placement& page() = 0;
  virtual Placement& textBox() = 0;                            // Text1
  virtual Placement& solutionFrame() = 0;                      // FramSol
  virtual Placement* solutionLabel(int number) = 0;            // LblSol 1 to 4
  virtual void setText(const std::wstring& text) = 0;
  virtual void setSolutionCaption(int number, const std::wstring& caption) = 0;
  // Repaints the page's own surface, which erases the connector lines.
  virtual void repaint() = 0;
  // A straight line on the page's surface in twips, with the default pen.
  virtual void drawLine(float x1, float y1, float x2, float y2) = 0;
  virtual void setMoveTimer(bool on) = 0;
};

// The solution data: a topic's display text and the INI routine.
class SolutionStore {
 public:
  virtual ~SolutionStore() = default;
  // The record file's items, each followed by CR LF; nothing when unreadable.
  virtual std::optional<std::wstring> recordText(const std::wstring& topic) = 0;
  virtual std::wstring IniAccess(std::wstring_view mode, std::wstring_view section, std::wstring_view key,
                                 const std::optional<std::wstring>& value = std::nullopt) = 0;
  // Full paths, for telling the user which file is damaged.
  virtual std::wstring recordPath(const std::wstring& topic) const = 0;
  virtual std::wstring iniPath() const = 0;
  // The size of the file at `path`; nothing when there is none.
  virtual std::optional<uint64_t> fileSize(const std::wstring& path) const = 0;
};

class WizardLogic {
 public:
  WizardLogic(WizardView& view, SolutionStore& store, MessageBoxes& messageBoxes)
      : view_(view), store_(store), messageBoxes_(messageBoxes) {}

  void setOwner(WindowHandle owner) { owner_ = owner; }
  const std::wstring& CurrentMenu() const { return currentMenu_; }
  // Ticks of Timer_Move since the last category click (how long the glide took).
  int glideTicks() const { return glideTicks_; }

  void ResetAll();
  void LstContent(const std::wstring& topic);
  void Timer_Move_Timer();

  void MsgErr_Click() { openCategory(MenuErr); }
  void MsgAddDevice_Click() { openCategory(MenuAddDevice); }
  void MsgBoot_Click() { openCategory(MenuBoot); }
  void MsgNetware_Click() { openCategory(MenuNetware); }
  void MsgSystem_Click() { openCategory(MenuSystem); }
  void MsgWin_Click() { LstContent(L"msgwin"); }
  void MsgDos_Click() { LstContent(L"msgdos"); }
  void boot_Click(int index) { LstContent(L"boot" + std::to_wstring(index)); }
  void net_Click(int index) { LstContent(L"net" + std::to_wstring(index)); }
  void Sys_Click(int index) { LstContent(L"sys" + std::to_wstring(index)); }

 private:
  void openCategory(int menu);
  int currentMenuNumber() const;
  void fanOut(int menu, Placement& category);
  void reportDamagedData(const std::wstring& message);

  WizardView& view_;
  SolutionStore& store_;
  MessageBoxes& messageBoxes_;
  WindowHandle owner_ = nullptr;
  std::wstring currentMenu_;  // "" before the first category, then "1" to "5"
  int glideTicks_ = 0;
};

}  // namespace kelvane
