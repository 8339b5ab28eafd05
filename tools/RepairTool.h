#pragma once
// The "维护工具" page: one skinned button per entry of the tool catalogue
// "\tooll\tool.txt", 24 to a page in two columns, turned with the labels "前一页"
// and "后一页"; a click starts a checked copy of the entry's program.
//
// The buttons form the array `Text1` (tools/ToolButtonArray.h): every entry keeps
// its state there, and only the buttons on show are real windows, so a catalogue
// of any size the 16-bit index allows loads without running out of windows.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/Launcher.h"
#include "common/MessageBox.h"
#include "controls/CoolButton.h"
#include "controls/Label.h"
#include "controls/PageContext.h"
#include "controls/Panel.h"
#include "tools/PageTurnLabel.h"
#include "tools/SysToolCommands.h"
#include "tools/ToolButtonArray.h"
#include "tools/ToolPager.h"

namespace kelvane {

namespace repairtool_text {
inline constexpr wchar_t Title[] = L"维护工具";  // the page window's text
inline constexpr wchar_t Model[] = L"model";
inline constexpr wchar_t LblPre[] = L"前一页";
inline constexpr wchar_t LblNext[] = L"后一页";
inline constexpr wchar_t CatalogueMissing[] = L"未找到工具目录文件 tooll\\tool.txt，本页暂无可用的维护工具。";
inline constexpr wchar_t CatalogueEmpty[] = L"工具目录文件 tooll\\tool.txt 中没有维护工具，本页暂无可用的维护工具。";
// Between the page-turn labels when the catalogue holds more than the page can.
inline constexpr wchar_t CatalogueCut[] = L"工具目录过长，只载入了前 32767 项。";
// A launch that failed, titled like the system-utility page's (systool_text).
inline std::wstring toolMissing(const std::wstring& path) {
  return L"找不到维护工具程序：\n" + path + L"\n\n请检查 tooll 文件夹中是否有该文件，或重新安装本程序。";
}
inline std::wstring toolFailed(const std::wstring& path) {
  return std::wstring(systool_text::Failure) + L"\n" + path;
}
}  // namespace repairtool_text

class RepairTool final : public Panel, private ButtonWindows {
 public:
  explicit RepairTool(const PageContext& context);
  ~RepairTool() override;

  void NextPage();
  void PrePage();
  void Text1_Click(int index);
  void LblNext_Click() { NextPage(); }
  void LblPre_Click() { PrePage(); }
  void UserControl_Resize();
  // Page Up turns back and Page Down on, as the labels do; true for those keys.
  bool PageKey(WPARAM key);

  int16_t ToolCount() const { return pager_->ToolCount(); }
  int PageEnd() const { return pager_->PageEnd(); }

 private:
  // Captions, moves and visibility gathered during one realize(), applied in one go.
  struct PendingChange {
    int slot;
    std::optional<std::wstring> caption;  // only when it differs from the window's
    PixelRect place;
    bool show;
  };
  // Whether a window was last shown or hidden, and where.
  struct AppliedPlace {
    bool shown = false;
    PixelRect place;
    bool operator==(const AppliedPlace&) const = default;
  };

  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void afterDpiChanged(const DpiChange& change) override;
  void UserControl_Initialize();
  int fittingWidth(std::wstring_view caption) const;

  // ButtonWindows: the pool of real buttons lent to the entries on show.
  bool addWindow() override;
  void present(int slot, const std::wstring& caption, const PixelRect& place) override;
  void conceal(int slot) override;
  void finish() override;
  void moveWindows(const std::vector<const PendingChange*>& moves);
  bool paintChanged(const RECT& changed);

  Launcher& launcher_;
  MessageBoxes& messageBoxes_;
  std::wstring appDirectory_;
  HFONT buttonFont_;
  UniqueFont labelFont_;
  UniqueMemoryDc measureDc_;
  int captionMargin_ = 0;  // a button's width beyond its caption's, in pixels

  std::unique_ptr<CoolButton> model_;  // Text1(0): the hidden template
  std::vector<std::unique_ptr<CoolButton>> windows_;
  std::vector<PendingChange> pending_;
  // Per window; a window already so is left alone. Not known (nullopt) for a new
  // window and after a DPI change, which moves every window itself.
  std::vector<std::optional<AppliedPlace>> applied_;
  std::unique_ptr<ToolButtonArray> Text1;
  std::unique_ptr<ToolPager> pager_;
  std::unique_ptr<PageTurnLabel> LblPre;
  std::unique_ptr<PageTurnLabel> LblNext;
  std::unique_ptr<Label> LblMissing;  // says why the page has no buttons
  std::unique_ptr<Label> LblCut;      // says that the rest of a long catalogue was left out
};

}  // namespace kelvane
