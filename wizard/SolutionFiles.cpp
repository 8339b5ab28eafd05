#include "wizard/SolutionFiles.h"

#include "common/AppPath.h"
#include "common/Ansi.h"
#include "common/Files.h"
#include "wizard/RecordText.h"

namespace kelvane {

std::wstring SolutionFiles::recordPath(const std::wstring& topic) const {
  return appPath(appDirectory_, L"\\data\\" + topic + L".Rd");
}

std::optional<std::wstring> SolutionFiles::recordText(const std::wstring& topic) {
  // A record file larger than its limit reads as unreadable, never as megabytes of text.
  const std::optional<std::string> bytes = readFileBytes(recordPath(topic), MaxRecordBytes);
  if (!bytes) return std::nullopt;
  return recordDisplayText(*bytes, gbkToWide);
}

std::optional<uint64_t> SolutionFiles::fileSize(const std::wstring& path) const { return kelvane::fileSize(path); }

}  // namespace kelvane
