#include "common/AppPath.h"

namespace kelvane {

std::wstring directoryOfModule(std::wstring_view modulePath) {
  const size_t slash = modulePath.find_last_of(L"\\/");
  if (slash == std::wstring_view::npos) return std::wstring(modulePath);
  std::wstring directory(modulePath.substr(0, slash));
  // A drive root keeps its backslash: "C:" alone would mean the drive's current
  // directory, not its root.
  if (directory.size() == 2 && directory[1] == L':') directory += L'\\';
  return directory;
}

}  // namespace kelvane
