#pragma once
// The fault-solution wizard page: five category buttons down the left side; a
// category glides to the middle and fans out its faults; a fault shows its
// explanation in Text1 and its solutions in the "解决方法" frame. The behaviour
// lives in WizardLogic; this class gives it the real controls.
#include <array>
#include <memory>
#include <string>

#include "controls/ButtonArray.h"
#include "controls/CoolButton.h"
#include "controls/Label.h"
#include "controls/PageContext.h"
#include "controls/Panel.h"
#include "controls/ResettablePage.h"
#include "controls/TextBox.h"
#include "controls/Timer.h"
#include "wizard/IniRules.h"
#include "wizard/SolutionFiles.h"
#include "wizard/WizardLogic.h"

namespace kelvane {

class FixWidze final : public Panel, public ResettablePage, private WizardView {
 public:
  explicit FixWidze(const PageContext& context);

  // Makes the controls that start hidden: the faults, the text box and the
  // solution frame. Start-up shows the page without them and the main window
  // calls this once it has painted; a category click before then makes them first.
  void createHiddenControls();
  bool hiddenControlsMade() const { return Text1 != nullptr; }

  // Before the hidden controls exist the page is as a reset leaves it.
  void ResetAll() override {
    if (hiddenControlsMade()) logic_.ResetAll();
  }
  void LstContent(const std::wstring& topic) {
    createHiddenControls();
    logic_.LstContent(topic);
  }
  const std::wstring& CurrentMenu() const { return logic_.CurrentMenu(); }
  bool gliding() const { return Timer_Move && Timer_Move->enabled(); }
  int glideTicks() const { return logic_.glideTicks(); }

 private:
  std::unique_ptr<CoolButton> makeButton(std::wstring_view caption, TwipRect place, bool visible,
                                         std::function<void()> onClick);
  void createCategoryButtons();
  void createFaultButtons();
  void createTopicControls();

  // WizardView
  Placement* categoryButton(int menu) override;
  std::vector<Placement*> faultButtons(int menu) override;
  Placement& page() override { return *this; }
  Placement& textBox() override { return *Text1; }
  Placement& solutionFrame() override { return *FramSol; }
  Placement* solutionLabel(int number) override;
  void setText(const std::wstring& text) override { Text1->setText(text); }
  void setSolutionCaption(int number, const std::wstring& caption) override;
  void repaint() override;
  void drawLine(float x1, float y1, float x2, float y2) override;
  void setMoveTimer(bool on) override;

  PageContext context_;
  SolutionFiles store_;
  WizardLogic logic_;

  std::unique_ptr<CoolButton> MsgBoot, MsgNetware, MsgSystem, MsgErr, MsgAddDevice;
  std::unique_ptr<CoolButton> MsgWin, MsgDos, MsgRemoveDevice;
  ButtonArray boot{[this](int16_t index) { logic_.boot_Click(index); }};
  ButtonArray net{[this](int16_t index) { logic_.net_Click(index); }};
  ButtonArray Sys{[this](int16_t index) { logic_.Sys_Click(index); }};
  std::unique_ptr<TextBox> Text1;
  std::unique_ptr<Panel> FramSol;
  std::array<std::unique_ptr<Label>, MaxSolutions> LblSol;  // elements 1 to 4 at 0 to 3
  // Asks for 1 ms; the system's timer decides how fast the ticks really come.
  // Made with the first glide: a timer's window costs start-up for nothing.
  std::unique_ptr<Timer> Timer_Move;
};

}  // namespace kelvane
