#pragma once
// Opening an address in the user's own context: the desktop shell (Explorer)
// runs without administrator rights, so what it starts does too. Asked from
// this elevated program, ShellExecute would start the browser or mail program
// with administrator rights.
#include <windows.h>

#include <string>

namespace kelvane {

// Asks the desktop shell to open `address` with its default verb. False when
// there is no desktop shell (another shell, a service, Wine) or it refused.
bool openThroughDesktopShell(const std::wstring& address);

}  // namespace kelvane
