#include "shell/HelpCommands.h"

#include "common/AppPath.h"

namespace kelvane {

void HelpCommands::shellOpen(std::wstring_view verb, std::wstring file) {
  ShellRequest request;
  request.owner = owner_;
  request.verb = verb;
  request.file = std::move(file);
  request.show = ShowNormal;
  launcher_.shellExecute(request);
}

void HelpCommands::bbshelp_Click() { shellOpen(L"", std::wstring(ForumAddress)); }

void HelpCommands::denote_Click() { shellOpen(L"", std::wstring(DonationAddress)); }

void HelpCommands::contact_Click() {
  shellOpen(L"open", L"mailto:" + std::wstring(SupportMailAddress));
}

void HelpCommands::hdguide_Click() { shellOpen(L"open", appPath(appDirectory_, HardwareGuide)); }

void HelpCommands::helpplus_Click() {
  // Started by its full path with the path quoted on the command line: under a
  // folder with a blank ("C:\Program Files\Kelvane") an unquoted command line
  // would first run "C:\Program.exe".
  ProcessRequest request;
  request.application = appPath(appDirectory_, OnlineHelpProgram);
  request.commandLine = quotedCommandLine(request.application);
  request.show = ShowMinimized;
  launcher_.startProcess(request);
}

}  // namespace kelvane
