#pragma once
// The "系统工具" page: ten buttons that start maintenance utilities of the system
// by full path, and a red note that some exist only on older systems.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "common/Handles.h"
#include "controls/ButtonArray.h"
#include "controls/Label.h"
#include "controls/PageContext.h"
#include "controls/Panel.h"
#include "tools/SysToolCommands.h"

namespace kelvane {

// The lookup the page uses: the native system folder alone.
class SystemProgramLookup final : public ProgramLookup {
 public:
  std::optional<std::wstring> find(std::wstring_view file) const override;
};

class SysTool final : public Panel {
 public:
  // `lookup` null: the system's (tests give their own).
  explicit SysTool(const PageContext& context, const ProgramLookup* lookup = nullptr);

  void MyShell(std::wstring_view FileName, std::wstring_view Para) { commands_.MyShell(FileName, Para); }
  void Btn_TopMenu_Click(int16_t index) { commands_.Btn_TopMenu_Click(index); }
  void UserControl_Resize();

 private:
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  SystemProgramLookup systemLookup_;
  SysToolCommands commands_;
  ButtonArray Btn_TopMenu;
  std::unique_ptr<Label> LbWar;
};

}  // namespace kelvane
