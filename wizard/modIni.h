#pragma once
// modIni: the one way the program reads (and could write) the solution store's
// INI file "\data\sol.ini" under the application directory.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/MessageBox.h"

namespace kelvane {

inline constexpr std::wstring_view SolutionIni = L"\\data\\sol.ini";

class modIni {
 public:
  // `endProcess` ends the program after an unexpected failure has been shown.
  modIni(std::wstring appDirectory, MessageBoxes& messageBoxes, std::function<void()> endProcess);

  // mode "GET" reads `key` of `section` (at most 49 bytes; a missing key, or a
  // value beginning with "Failed", reads as empty); "WRITE" writes `value` and
  // returns the empty text. Bad arguments give "ERROR MODE", "ERROR Secname",
  // "ERROR Keyname" or "ERROR KeyValue"; any other mode gives the empty text.
  std::wstring IniAccess(std::wstring_view mode, std::wstring_view section, std::wstring_view key,
                         const std::optional<std::wstring>& value = std::nullopt);

  const std::wstring& path() const { return path_; }

 private:
  std::wstring get(std::wstring_view section, std::wstring_view key) const;
  void write(std::wstring_view section, std::wstring_view key, const std::wstring& value) const;

  std::wstring path_;
  MessageBoxes& messageBoxes_;
  std::function<void()> endProcess_;
};

}  // namespace kelvane
