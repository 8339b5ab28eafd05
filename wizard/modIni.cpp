#include "wizard/modIni.h"

#include <windows.h>

#include <exception>

#include "common/Ansi.h"
#include "common/AppPath.h"
#include "common/Files.h"
#include "common/PlainFile.h"
#include "common/TextEncoding.h"
#include "wizard/IniRules.h"

namespace kelvane {
namespace {

// The store is a few kilobytes; a file past this is no profile, and would be read
// whole on every lookup. It reads as one without the topic.
constexpr uint64_t MaxProfileBytes = 16 << 20;

std::optional<std::string> encoded(std::wstring_view text, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return wideToUtf8(text);
    case TextEncoding::Utf16Le:
      return wideToUtf16Le(text);
    case TextEncoding::Gbk:
      break;
  }
  return exactGbk(text);
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
    messageBoxes_.show(nullptr, utf8ToWide(failure.what()), L"", MbOk);
    if (endProcess_) endProcess_();
  }
  return {};
}

std::wstring modIni::get(std::wstring_view section, std::wstring_view key) const {
  // Read and decoded by the program itself rather than the system's profile
  // functions, which would decode through the ANSI code page.
  const std::optional<std::string> bytes = readFileBytes(path_, MaxProfileBytes);
  if (!bytes) return {};
  return profileResult(profileLookup(decodeText(*bytes, gbkToWide), section, key));
}

void modIni::write(std::wstring_view section, std::wstring_view key, const std::wstring& value) const {
  // Whether the write succeeded is not examined: the routine's callers only read.
  // The file keeps its encoding and mark; a value GBK cannot hold is not written
  // into a GBK file, where it would turn into question marks.
  std::string bytes;
  if (fileSize(path_)) {
    std::optional<std::string> existing = readFileBytes(path_, MaxProfileBytes);
    if (!existing) return;  // never replace a file that could not be read
    bytes = std::move(*existing);
  }
  const DetectedEncoding detected = detectEncoding(bytes);
  const std::string_view mark = std::string_view(bytes).substr(0, detected.markBytes);
  const std::wstring text = decodeBytes(std::string_view(bytes).substr(detected.markBytes), detected.encoding, gbkToWide);
  const std::optional<std::string> body = encoded(profileWithValue(text, section, key, value), detected.encoding);
  if (!body) return;
  SystemHandleInspector inspector;
  PlainFileError error;
  PlainFiles(inspector).write(path_, std::string(mark) + *body, error);
}

}  // namespace kelvane
