#pragma once
// The "病毒探测" page: an explanation, a choice between normal detection (a watch
// on the Windows directory) and deep detection (bait files in the system
// directory), and a start and a stop button. The detection logic is Detector;
// this page holds the controls, lays them out and gives the logic its timer, its
// event processing and the files and folders of the system.
#include <memory>

#include "common/Handles.h"
#include "controls/CoolButton.h"
#include "controls/Label.h"
#include "controls/OptionButton.h"
#include "controls/PageContext.h"
#include "controls/Panel.h"
#include "controls/Timer.h"
#include "detector/Detector.h"
#include "detector/DetectorSystem.h"

namespace kelvane {

class VirusDetect final : public Panel, private DetectorHost {
 public:
  // The program's page: the system and Windows directories come from the system.
  explicit VirusDetect(const PageContext& context);
  // The page with given folders (tests put them in scratch folders).
  VirusDetect(const PageContext& context, DetectorFolders folders);
  ~VirusDetect() override;

  void cmdBegin_Click();
  void cmdStop_Click();
  void UserControl_Resize();
  void TimerDeep_Timer() { detector_.TimerDeep_Timer(); }

  void NormalDetect(const std::wstring& path) { detector_.NormalDetect(path); }
  void StopNormalDetect() { detector_.StopNormalDetect(); }
  void DeepDetect() { detector_.DeepDetect(); }
  void StopDeepDetect() { detector_.StopDeepDetect(); }

  DetectorMode mode() const { return detector_.mode(); }
  const DetectorFolders& folders() const { return detector_.folders(); }
  const Timer& timerDeep() const { return TimerDeep; }

  // The controls, for the page's tests.
  Label& readMe() { return *TxtReadMe; }
  Label& caution() { return *lbMsg; }
  Label& normalDescription() { return *LbNormal; }
  Label& deepDescription() { return *LbDeep; }
  OptionButton& optNormal() { return *OptNormal; }
  OptionButton& optDeep() { return *OptDeep; }
  CoolButton& beginButton() { return *cmdBegin; }
  CoolButton& stopButton() { return *cmdStop; }

 private:
  void UserControl_Initialize();
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void showControlStates(const ControlStates& states) override;
  bool setTimerDeep(bool enabled) override;
  bool messageBoxOpen() override;
  double nowMs() override;
  void processPendingEvents() override;

  HWND host_;
  UniqueFont readMeFont_;
  std::unique_ptr<Label> TxtReadMe;
  std::unique_ptr<Label> lbMsg;
  std::unique_ptr<Label> LbNormal;
  std::unique_ptr<Label> LbDeep;
  std::unique_ptr<OptionButton> OptNormal;
  std::unique_ptr<OptionButton> OptDeep;
  std::unique_ptr<CoolButton> cmdBegin;
  std::unique_ptr<CoolButton> cmdStop;
  Timer TimerDeep;
  ChangeNotificationWatch watch_;
  SystemHandleInspector inspector_;
  DiskBaitFiles files_{inspector_};
  Detector detector_;
};

}  // namespace kelvane
