#pragma once
// Paths under the application directory: the folder that holds the executable,
// without a trailing backslash except at a drive root ("C:\"). Data paths are the
// directory followed by a fixed relative path that begins with a backslash, joined
// by plain concatenation ("C:\" + "\data\sol.ini" gives a doubled backslash, which
// the file system accepts).
#include <string>
#include <string_view>

namespace kelvane {

// The directory part of a module's full path ("C:\Kelvane\Kelvane.exe" -> "C:\Kelvane").
std::wstring directoryOfModule(std::wstring_view modulePath);

inline std::wstring appPath(std::wstring_view appDirectory, std::wstring_view relative) {
  std::wstring path(appDirectory);
  path += relative;
  return path;
}

}  // namespace kelvane
