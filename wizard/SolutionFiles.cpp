#include "wizard/SolutionFiles.h"

#include "common/AppPath.h"
#include "common/Files.h"

namespace kelvane {

std::wstring SolutionFiles::recordPath(const std::wstring& topic) const {
  return appPath(appDirectory_, L"\\data\\" + topic + L".Rd");
}

std::optional<std::wstring> SolutionFiles::recordText(const std::wstring& topic) {
  const std::optional<std::vector<std::wstring>> items = readItemFile(recordPath(topic));
  if (!items) return std::nullopt;
  // Each item on a line of its own: a comma in the file shows as a line break.
  std::wstring text;
  for (const std::wstring& item : *items) {
    text += item;
    text += L"\r\n";
  }
  return text;
}

}  // namespace kelvane
