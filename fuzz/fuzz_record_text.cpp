// Fuzzes what the wizard's text box shows for a record file: never a NUL (it would
// cut the text short), every line ended by CR LF, growth bounded by the separators.
#include <algorithm>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "wizard/RecordText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using kelvane::fuzz::require;
  const std::string_view bytes = kelvane::fuzz::asBytes(data, size);
  const std::string text = kelvane::recordDisplayBytes(bytes);

  require(text.find('\0') == std::string::npos);
  // Any byte at all is at least one (perhaps empty) item, and so one line.
  require(text.empty() == bytes.empty());
  require(text.empty() || text.ends_with("\r\n"));

  // Each item adds one CR LF, and there is at most one item more than separators.
  const auto separators = static_cast<size_t>(
      std::count_if(bytes.begin(), bytes.end(), [](char c) { return c == ',' || c == '\r' || c == '\n'; }));
  require(text.size() <= bytes.size() + 2 * (separators + 1));

  // Outside quotes a comma always shows as a line break.
  if (bytes.find('"') == std::string_view::npos) require(text.find(',') == std::string::npos);
  return 0;
}
