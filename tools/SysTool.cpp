#include "tools/SysTool.h"

#include <string>

#include "common/OwnFileCopies.h"
#include "res/resource.h"

namespace kelvane {
namespace {

constexpr wchar_t Title[] = L"系统工具";  // the page window's text
constexpr TwipRect WarningPlace{360, 5400, 7575, 255};
constexpr COLORREF WarningColour = RGB(255, 0, 0);  // &H000000FF

}  // namespace

std::optional<std::wstring> SystemProgramLookup::find(std::wstring_view file) const {
  // A name, never a path: nothing outside the system folder is reached.
  if (file.empty() || file.find_first_of(L"\\/:") != std::wstring_view::npos || file == L"." || file == L"..") {
    return std::nullopt;
  }
  const std::wstring folder = nativeSystemFolder();
  if (folder.empty()) return std::nullopt;
  const std::wstring path = folder + L"\\" + std::wstring(file);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return path;
}

SysTool::SysTool(const PageContext& context, const ProgramLookup* lookup)
    : Panel(context.parent, PanelDesign{context.place, false, GetSysColor(COLOR_WINDOW), Title, false, nullptr},
            context.twipsPerPixel),
      commands_(context.launcher, context.messageBoxes, lookup ? *lookup : systemLookup_),
      Btn_TopMenu([this](int16_t index) { Btn_TopMenu_Click(index); }) {
  commands_.setOwner(hwnd());
  for (size_t i = 0; i < SysUtilities.size(); ++i) {
    const SysUtility& utility = SysUtilities[i];
    const int size = i == 2 ? 48 : 32;
    // The buttons keep their design width of 3135 twips: a fitted width would
    // make the two columns ragged. Each makes its picture for its DPI; a missing
    // picture is tolerated, the button then shows its caption alone.
    ButtonDesign design{std::wstring(utility.caption),
                        {utility.left, utility.top, SysButtonWidth, SysButtonHeight},
                        true,
                        context.fonts.text.get(),
                        nullptr,
                        SIZE{size, size},
                        false,
                        IDI_SYSTOOL0 + static_cast<int>(i)};
    Btn_TopMenu.add(hwnd(), design, twipsPerPixel());
  }
  // The design caption; every layout pass writes the warning anew.
  LbWar = std::make_unique<Label>(hwnd(),
                                  LabelDesign{std::wstring(systool_text::Warning), WarningPlace, true,
                                              context.fonts.text.get(), WarningColour, GetSysColor(COLOR_WINDOW)},
                                  twipsPerPixel());
  UserControl_Resize();
}

void SysTool::UserControl_Resize() {
  const std::optional<float> W = width();
  const std::optional<float> H = height();
  if (!W || !H || !LbWar) return;
  layOutWarning(*W, *H, *LbWar, [this](std::wstring_view caption) { LbWar->setCaption(caption); });
}

bool SysTool::onMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message == WM_SIZE) {
    UserControl_Resize();
    result = 0;
    return true;
  }
  return false;
}

}  // namespace kelvane
