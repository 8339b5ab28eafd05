#include "wizard/modIni.h"

#include <windows.h>

#include <exception>

#include "common/Ansi.h"
#include "common/AppPath.h"
#include "wizard/IniRules.h"

namespace kelvane {
namespace {

// Large enough to tell whether a stored value was longer than the 50-byte buffer.
constexpr DWORD ProbeBufferBytes = 4096;

struct ProfileRead {
  std::string bytes;  // what the 50-byte buffer received, up to its terminator
  bool cut = false;   // the stored value was longer
};

// Through the 8-bit call, as the store has always been read, when the path has an
// exact ANSI form.
ProfileRead readAnsi(const std::string& section, const std::string& key, const std::string& path) {
  std::string buffer(ProfileBufferBytes, ' ');
  GetPrivateProfileStringA(section.c_str(), key.c_str(), ProfileDefault.data(), buffer.data(), ProfileBufferBytes,
                           path.c_str());
  ProfileRead read{buffer.substr(0, buffer.find('\0')), false};
  // A full buffer may hold a cut value. Systems differ in how they cut (some stop
  // before a character that does not fit, leaving a blank of the buffer behind),
  // so a value found to be longer is cut here, the same way everywhere.
  if (read.bytes.size() + 2 >= ProfileBufferBytes) {
    std::string probe(ProbeBufferBytes, ' ');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), ProfileDefault.data(), probe.data(),
                                                  ProbeBufferBytes, path.c_str());
    constexpr size_t kept = ProfileBufferBytes - 1;
    if (length > kept) read = ProfileRead{probe.substr(0, kept), true};
  }
  return read;
}

// Through the wide call when the application directory has characters outside
// the code page: the same bytes, cut the same way.
ProfileRead readWide(std::wstring_view section, std::wstring_view key, const std::wstring& path) {
  std::wstring buffer(ProbeBufferBytes, L'\0');
  const std::wstring sectionText(section), keyText(key);
  const DWORD length = GetPrivateProfileStringW(sectionText.c_str(), keyText.c_str(), L"Failed", buffer.data(),
                                                ProbeBufferBytes, path.c_str());
  std::string bytes = wideToAnsi(std::wstring_view(buffer.data(), length));
  constexpr size_t kept = ProfileBufferBytes - 1;
  ProfileRead read{bytes.substr(0, kept), bytes.size() > kept};
  return read;
}

}  // namespace

modIni::modIni(std::wstring appDirectory, MessageBoxes& messageBoxes, std::function<void()> endProcess)
    : path_(appPath(appDirectory, SolutionIni)), messageBoxes_(messageBoxes), endProcess_(std::move(endProcess)) {}

std::wstring modIni::IniAccess(std::wstring_view mode, std::wstring_view section, std::wstring_view key,
                               const std::optional<std::wstring>& value) {
  try {
    if (std::optional<std::wstring> error = iniArgumentError(mode, section, key, value)) return *error;
    switch (iniMode(mode)) {
      case IniMode::Write:
        write(section, key, *value);
        return {};
      case IniMode::Get:
        return get(section, key);
      case IniMode::Other:
        return {};
    }
  } catch (const std::exception& failure) {
    // Nothing the routine does should fail; if something does, the program cannot
    // trust its data any more: say what happened and end.
    messageBoxes_.show(nullptr, ansiToWide(failure.what()), L"", MbOk);
    if (endProcess_) endProcess_();
  }
  return {};
}

std::wstring modIni::get(std::wstring_view section, std::wstring_view key) const {
  const std::optional<std::string> ansiPath = exactAnsi(path_);
  const ProfileRead read = ansiPath ? readAnsi(wideToAnsi(section), wideToAnsi(key), *ansiPath)
                                    : readWide(section, key, path_);
  return ansiToWide(profileValue(read.bytes, read.cut));
}

void modIni::write(std::wstring_view section, std::wstring_view key, const std::wstring& value) const {
  // Whether the write succeeded is not examined: the routine's callers only read.
  if (const std::optional<std::string> ansiPath = exactAnsi(path_)) {
    WritePrivateProfileStringA(wideToAnsi(section).c_str(), wideToAnsi(key).c_str(), wideToAnsi(value).c_str(),
                               ansiPath->c_str());
  } else {
    WritePrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(), value.c_str(),
                               path_.c_str());
  }
}

}  // namespace kelvane
