#pragma once
// The system-utility page without its windows: the ten utilities, how a button
// starts one, and the warning label's layout.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/Launcher.h"
#include "common/MessageBox.h"
#include "controls/Placement.h"

namespace kelvane {

namespace systool_text {
// Captions are stored, and shown, with their blanks.
inline constexpr std::wstring_view Failure = L"程序未成功启动，请重试。";
inline constexpr std::wstring_view FailureTitle = L"维护工具";
inline constexpr std::wstring_view Warning = L"注意：部分程序只能在windows NT/2000/XP下使用";
}  // namespace systool_text

struct SysUtility {
  std::wstring_view caption;
  float left;  // twips; every button is 3135 x 735
  float top;
  std::wstring_view file;        // a bare name, looked up in the system folder
  std::wstring_view parameters;  // empty: none
  // What current systems have in place of a utility they no longer ship (empty:
  // none), started only when `file` is not on the system.
  std::wstring_view successor = {};
  std::wstring_view successorParameters = {};
};

inline constexpr float SysButtonWidth = 3135;
inline constexpr float SysButtonHeight = 735;

inline constexpr std::array<SysUtility, 10> SysUtilities = {{
    {L"察看组件服务", 360, 240, L"dcomcnfg.exe ", L""},  // the trailing blank is part of the name as stored
    {L" 检 查 系 统 文 件", 360, 1320, L"sfc", L"/scannow"},
    {L" 察 看 系 统 日 志", 360, 2400, L"eventvwr.msc", L"/s"},
    {L" 磁 盘 检 查", 360, 3480, L"chkdsk", L""},
    {L" 磁 盘 清 理", 360, 4560, L"cleanmgr.exe", L""},
    // Gone since Windows Vista and 7: the defragmenter's window, backup and
    // restore, and the reliability monitor take their places.
    {L"磁盘碎片整理", 4680, 240, L"dfrg.msc", L"", L"dfrgui.exe", L""},
    {L"备份和故障修复工具", 4680, 1320, L"ntbackup.exe", L"", L"sdclt.exe", L""},
    {L"华生医生", 4680, 2400, L"drwtsn32.exe", L"", L"perfmon.exe", L"/rel"},
    {L"Direct-X诊断工具", 4680, 3480, L"dxdiag", L""},
    {L"系统配置实用程序", 4680, 4560, L"msconfig", L""},
}};

// Where a program of the system is: in the system folder alone (for a 32-bit
// copy on 64-bit Windows, the 64-bit one), never the current folder, PATH or
// App Paths. Its full path, or nothing.
class ProgramLookup {
 public:
  virtual ~ProgramLookup() = default;
  virtual std::optional<std::wstring> find(std::wstring_view file) const = 0;
};

// The name a utility is looked up by: without blanks around it, and with
// ".exe" when it has no extension ("sfc" is "sfc.exe").
std::wstring programFileName(std::wstring_view file);

class SysToolCommands {
 public:
  SysToolCommands(Launcher& launcher, MessageBoxes& messageBoxes, const ProgramLookup& lookup)
      : launcher_(launcher), messageBoxes_(messageBoxes), lookup_(lookup) {}

  void setOwner(WindowHandle owner) { owner_ = owner; }

  // Starts the system's program FileName with Para as its parameters (empty:
  // none) in "c:\", by full path (an .msc file in mmc), and says so in a
  // message box when it is missing or the start fails.
  void MyShell(std::wstring_view FileName, std::wstring_view Para);
  // Starts the utility of button `index`; an index outside 0 to 9 does nothing.
  // A utility the system no longer has is replaced by its successor; with
  // neither, the failure is reported.
  void Btn_TopMenu_Click(int16_t index);

 private:
  Launcher& launcher_;
  MessageBoxes& messageBoxes_;
  const ProgramLookup& lookup_;
  WindowHandle owner_ = nullptr;
};

// The warning label on a page of width W and height H (twips): its text set
// anew, then placed 100 twips above the bottom across the page's width. Each
// step runs even when an earlier one failed.
void layOutWarning(float W, float H, Placement& LbWar,
                   const std::function<void(std::wstring_view)>& setCaption);

}  // namespace kelvane
