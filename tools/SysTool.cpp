#include "tools/SysTool.h"

#include <algorithm>
#include <string>

#include "res/resource.h"

namespace kelvane {
namespace {

constexpr wchar_t Title[] = L"系统工具";  // the page window's text
constexpr TwipRect WarningPlace{360, 5400, 7575, 255};
constexpr COLORREF WarningColour = RGB(255, 0, 0);  // &H000000FF

// The path of `file` in `folder` when a file (not a folder) is there.
std::optional<std::wstring> fileIn(std::wstring_view folder, std::wstring_view file) {
  if (folder.empty()) return std::nullopt;
  std::wstring path(folder);
  if (path.back() != L'\\') path += L'\\';
  path += file;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return path;
}

// "C:\..." or "\\server\...": a folder of PATH relative to the current
// directory would make the answer depend on where the program was started.
bool isAbsolute(std::wstring_view folder) {
  const auto isSlash = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  if (folder.size() >= 3 && folder[1] == L':' && isSlash(folder[2])) return true;
  return folder.size() >= 2 && isSlash(folder[0]) && isSlash(folder[1]);
}

std::wstring environmentVariable(const wchar_t* name) {
  std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
  if (value.empty()) return value;
  value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
  return value;
}

// The 64-bit system folder as a 32-bit process on 64-bit Windows reaches it
// ("Sysnative"); empty for a process that sees it as its own system directory.
// There the system directory is redirected to the 32-bit one, which lacks some
// of the successors (the defragmenter and backup are 64-bit only).
std::wstring nativeSystemFolder() {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return {};
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring folder(windows, length);
  if (folder.back() != L'\\') folder += L'\\';
  return folder + L"Sysnative";
}

}  // namespace

std::optional<std::wstring> SystemProgramLookup::find(std::wstring_view file) const {
  if (const std::wstring native = nativeSystemFolder(); !native.empty()) {
    if (std::optional<std::wstring> found = fileIn(native, file)) return found;
  }
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    if (std::optional<std::wstring> found = fileIn(std::wstring_view(system, length), file)) return found;
  }
  const std::wstring path = environmentVariable(L"PATH");
  for (size_t start = 0; start < path.size();) {
    const size_t end = std::min(path.find(L';', start), path.size());
    std::wstring_view folder = std::wstring_view(path).substr(start, end - start);
    // A folder of PATH may stand in quotes.
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"') folder = folder.substr(1, folder.size() - 2);
    if (isAbsolute(folder)) {
      if (std::optional<std::wstring> found = fileIn(folder, file)) return found;
    }
    start = end + 1;
  }
  return std::nullopt;
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
