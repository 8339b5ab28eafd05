#include "shell/HelpCommands.h"

namespace kelvane {

void HelpCommands::openAddress(std::wstring_view verb, std::wstring address) {
  if (launcher_.openUnelevated(address)) return;
  // Opened from here, the browser or mail program would run with this
  // program's administrator rights: only when the user says so.
  if (messageBoxes_.show(owner_, help_text::openElevatedQuestion(address), L"", MbYesNo | MbIconExclamation) != IdYes) {
    return;
  }
  ShellRequest request;
  request.owner = owner_;
  request.verb = verb;
  request.file = std::move(address);
  request.show = ShowNormal;
  launcher_.shellExecute(request);
}

void HelpCommands::bbshelp_Click() { openAddress(L"", std::wstring(ForumAddress)); }

void HelpCommands::denote_Click() { openAddress(L"", std::wstring(DonationAddress)); }

void HelpCommands::contact_Click() { openAddress(L"open", L"mailto:" + std::wstring(SupportMailAddress)); }

// The guide and the helper start from checked copies by full path (hh.exe for
// the guide: a compiled help file can run script), never in place.
void HelpCommands::hdguide_Click() {
  launcher_.startOwnFile({owner_, appDirectory_, std::wstring(HardwareGuide), ShowNormal});
}

void HelpCommands::helpplus_Click() {
  launcher_.startOwnFile({owner_, appDirectory_, std::wstring(OnlineHelpProgram), ShowMinimized});
}

}  // namespace kelvane
