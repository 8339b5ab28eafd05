#include "wizard/WizardLogic.h"

#include <cmath>

#include "wizard/IniRules.h"
#include "wizard/RecordText.h"
#include "wizard/WizardText.h"

namespace kelvane {

float categoryHomeTop(int menu) {
  switch (menu) {
    case MenuErr: return 1200;
    case MenuAddDevice: return 1680;
    case MenuBoot: return 120;
    case MenuNetware: return 480;
    case MenuSystem: return 840;
    default: return 0;
  }
}

std::vector<float> fanOffsets(int menu) {
  switch (menu) {
    case MenuErr: return {500, -500};                         // MsgWin, MsgDos
    case MenuAddDevice: return {0};                           // MsgRemoveDevice
    case MenuBoot: return {500, -500};                        // boot 0, 1
    case MenuNetware: return {500, 0, -500};                  // net 0 to 2
    case MenuSystem: return {1000, 500, 0, -500, -1000};      // Sys 0 to 4
    default: return {};
  }
}

int WizardLogic::currentMenuNumber() const {
  if (currentMenu_.size() != 1 || currentMenu_[0] < L'1' || currentMenu_[0] > L'0' + MenuCount) return 0;
  return currentMenu_[0] - L'0';
}

void WizardLogic::openCategory(int menu) {
  // ResetAll first, while CurrentMenu still names the category to close.
  ResetAll();
  currentMenu_ = std::to_wstring(menu);
  glideTicks_ = 0;
  view_.setMoveTimer(true);
}

void WizardLogic::ResetAll() {
  view_.repaint();
  if (const int menu = currentMenuNumber()) {
    if (Placement* category = view_.categoryButton(menu)) category->setTop(categoryHomeTop(menu));
    for (Placement* fault : view_.faultButtons(menu)) {
      if (fault) fault->setVisible(false);
    }
  }
  view_.textBox().setVisible(false);
  view_.solutionFrame().setVisible(false);
  // CurrentMenu keeps its value and Timer_Move keeps running: a glide cut short
  // by the main window starts again from the button's home.
}

void WizardLogic::Timer_Move_Timer() {
  const int menu = currentMenuNumber();
  Placement* category = menu ? view_.categoryButton(menu) : nullptr;
  if (!category) return;
  ++glideTicks_;
  const float top = category->top().value_or(0);
  const long before = std::lround(top);
  const float target = view_.page().height().value_or(0) / 2 - category->height().value_or(0) / 2;
  category->setTop((target - top) / 50 + top);
  if (std::lround(category->top().value_or(top)) != before) return;  // still gliding
  view_.setMoveTimer(false);
  fanOut(menu, *category);
}

void WizardLogic::fanOut(int menu, Placement& category) {
  const std::vector<Placement*> faults = view_.faultButtons(menu);
  const std::vector<float> offsets = fanOffsets(menu);
  const float restingTop = category.top().value_or(0);
  for (size_t i = 0; i < faults.size() && i < offsets.size(); ++i) {
    if (faults[i]) faults[i]->setTop(restingTop + offsets[i]);
  }
  for (Placement* fault : faults) {
    if (fault) fault->setVisible(true);
  }
  // From the middle of the category button's right edge to the middle of each
  // fault button's left edge, as the buttons stand after their moves.
  const float fromX = category.left().value_or(0) + category.width().value_or(0);
  const float fromY = category.top().value_or(0) + category.height().value_or(0) / 2;
  for (Placement* fault : faults) {
    if (!fault) continue;
    view_.drawLine(fromX, fromY, fault->left().value_or(0),
                   fault->top().value_or(0) + fault->height().value_or(0) / 2);
  }
}

void WizardLogic::LstContent(const std::wstring& topic) {
  // Everything is read and checked before anything on the page changes, so
  // damaged data leaves the page exactly as it was.
  const std::wstring recordPath = store_.recordPath(topic);
  // A larger file is no record file, and the text box would hold the window for
  // seconds or minutes to lay it out: it is refused before it is read.
  if (const std::optional<uint64_t> size = store_.fileSize(recordPath); size && *size > MaxRecordBytes) {
    reportDamagedData(wizard_text::oversizedRecord(recordPath));
    return;
  }
  const std::optional<std::wstring> text = store_.recordText(topic);
  if (!text) {
    reportDamagedData(wizard_text::unreadableFile(recordPath));
    return;
  }
  const std::optional<int> count = solutionCount(store_.IniAccess(L"GET", topic, L"totalcount"));
  if (!count) {
    // Without its INI file every value reads as empty: name the missing file
    // rather than blame the count.
    const std::wstring iniPath = store_.iniPath();
    reportDamagedData(store_.fileSize(iniPath) ? wizard_text::badSolutionCount(iniPath, topic)
                                               : wizard_text::unreadableFile(iniPath));
    return;
  }
  std::vector<std::wstring> captions;
  for (int number = 1; number <= *count; ++number) {
    captions.push_back(store_.IniAccess(L"GET", topic, L"caption" + std::to_wstring(number)));
  }

  view_.setText(*text);
  for (int number = 1; number <= MaxSolutions; ++number) {
    if (Placement* label = view_.solutionLabel(number)) label->setVisible(false);
  }
  for (int number = 1; number <= *count; ++number) {
    view_.setSolutionCaption(number, captions[static_cast<size_t>(number - 1)]);
    if (Placement* label = view_.solutionLabel(number)) label->setVisible(true);
  }
  view_.solutionFrame().setVisible(true);
  view_.textBox().setVisible(true);
}

void WizardLogic::reportDamagedData(const std::wstring& message) {
  messageBoxes_.show(owner_, message, L"", MbOk | MbIconExclamation);
}

}  // namespace kelvane
