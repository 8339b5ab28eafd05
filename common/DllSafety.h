#pragma once

namespace kelvane {

// Restricts where the process loads DLLs from to the system directory, so a DLL
// planted beside the executable (a downloads folder, a USB stick) is never
// loaded in place of a system one. False where the system lacks the call.
bool restrictDllLoadingToSystemDirectory();

}  // namespace kelvane
