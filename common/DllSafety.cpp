#include "common/DllSafety.h"

#include <windows.h>

namespace kelvane {

bool restrictDllLoadingToSystemDirectory() {
  // SetDefaultDllDirectories is missing from Windows before 8 without its update,
  // so it is looked up rather than imported, or the program would not start there.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto setDefault =
      libraryFunction<SetDefaultDllDirectoriesFn>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  // Without it, at least take the current directory out of the search.
  SetDllDirectoryW(L"");
  return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace kelvane
