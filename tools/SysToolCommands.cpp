#include "tools/SysToolCommands.h"

namespace kelvane {

void SysToolCommands::MyShell(std::wstring_view FileName, std::wstring_view Para) {
  ShellRequest request;
  request.owner = owner_;
  request.file = FileName;
  request.parameters = Para;  // empty text is passed as no parameters at all
  request.directory = L"c:\\";
  request.show = ShowNormal;
  if (launcher_.shellExecute(request)) return;
  messageBoxes_.show(owner_, systool_text::Failure, systool_text::FailureTitle, MbOk | MbIconError);
}

void SysToolCommands::Btn_TopMenu_Click(int16_t index) {
  if (index < 0 || static_cast<size_t>(index) >= SysUtilities.size()) return;
  const SysUtility& utility = SysUtilities[static_cast<size_t>(index)];
  if (!utility.successor.empty() && !lookup_.find(utility.file)) {
    // The path found, not the bare name: what was looked up is what starts.
    if (const std::optional<std::wstring> successor = lookup_.find(utility.successor)) {
      MyShell(*successor, utility.successorParameters);
      return;
    }
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
