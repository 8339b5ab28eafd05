#pragma once
#include <windows.h>

namespace kelvane {

// A DLL of the system folder, never one beside the program or on the path;
// null when it cannot be loaded.
inline HMODULE loadSystemLibrary(const wchar_t* name) {
  return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The export `name` of `library` as a `Function`; null when either is missing.
template <typename Function>
Function libraryFunction(HMODULE library, const char* name) {
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// Restricts where the process loads DLLs from to the system directory, so a DLL
// planted beside the executable (a downloads folder, a USB stick) is never
// loaded in place of a system one. False where the system lacks the call.
bool restrictDllLoadingToSystemDirectory();

}  // namespace kelvane
