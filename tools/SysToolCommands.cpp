#include "tools/SysToolCommands.h"

namespace kelvane {

std::wstring programFileName(std::wstring_view file) {
  const size_t first = file.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  std::wstring name(file.substr(first, file.find_last_not_of(L' ') - first + 1));
  if (name.find(L'.') == std::wstring::npos) name += L".exe";
  return name;
}

void SysToolCommands::MyShell(std::wstring_view FileName, std::wstring_view Para) {
  // Found in the system folder alone and started by its own program by full
  // path: nothing planted in the current folder or on PATH, and no per-user
  // association of .msc files, decides what runs with administrator rights.
  std::optional<ProcessRequest> request;
  if (const std::optional<std::wstring> path = lookup_.find(programFileName(FileName))) {
    const StarterPrograms programs{lookup_.find(L"cmd.exe").value_or(L""), lookup_.find(L"mmc.exe").value_or(L""),
                                   L""};
    request = startRequest(*path, Para, programs, nullptr);
  }
  if (request) {
    request->directory = L"c:\\";
    request->show = ShowNormal;
    if (launcher_.startProcess(*request)) return;
  }
  messageBoxes_.show(owner_, systool_text::Failure, systool_text::FailureTitle, MbOk | MbIconError);
}

void SysToolCommands::Btn_TopMenu_Click(int16_t index) {
  if (index < 0 || static_cast<size_t>(index) >= SysUtilities.size()) return;
  const SysUtility& utility = SysUtilities[static_cast<size_t>(index)];
  if (!utility.successor.empty() && !lookup_.find(programFileName(utility.file)) &&
      lookup_.find(programFileName(utility.successor))) {
    MyShell(utility.successor, utility.successorParameters);
    return;
  }
  MyShell(utility.file, utility.parameters);
}

void layOutWarning(float W, float H, Placement& LbWar,
                   const std::function<void(std::wstring_view)>& setCaption) {
  setCaption(systool_text::Warning);
  if (const std::optional<float> height = LbWar.height()) LbWar.setTop(H - *height - 100);
  LbWar.setWidth(W);
}

}  // namespace kelvane
