// Fuzzes the profile reader on any text (the input as UTF-8, and as UTF-16 units): lookups,
// writes that read back, the 49-byte cut, and how a solution count is read from a value.
#include <algorithm>
#include <optional>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "common/TextEncoding.h"
#include "wizard/IniRules.h"

namespace {

using kelvane::fuzz::require;

size_t gbkBytes(std::wstring_view text) {
  size_t bytes = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    bytes += text[i] < 0x80 || text[i] == L'\x20AC' ? 1 : 2;
    i += (text[i] & 0xFC00) == 0xD800 && i + 1 < text.size() && (text[i + 1] & 0xFC00) == 0xDC00 ? 1 : 0;
  }
  return bytes;
}

// The cut keeps a prefix that fits, and the character after it would not fit.
void checkCut(std::wstring_view text) {
  const std::wstring kept = kelvane::cutToGbkBytes(text, kelvane::ProfileValueBytes);
  require(text.starts_with(kept));
  require(gbkBytes(kept) <= kelvane::ProfileValueBytes);
  if (kept.size() < text.size()) {
    const bool pair = (text[kept.size()] & 0xFC00) == 0xD800 && kept.size() + 1 < text.size();
    require(gbkBytes(text.substr(0, kept.size() + (pair ? 2 : 1))) > kelvane::ProfileValueBytes);
  }
}

// Whatever the profile holds, a value found is one line, and a value written
// reads back as written.
void checkProfile(std::wstring_view text) {
  const std::optional<std::wstring> found = kelvane::profileLookup(text, L"sys2", L"caption1");
  if (found) require(found->find_first_of(L"\r\n") == std::wstring::npos);
  const std::wstring written = kelvane::profileWithValue(text, L"sys2", L"caption1", L"重启电脑");
  require(kelvane::profileLookup(written, L"SYS2", L"Caption1") == L"重启电脑");
}

// Blanks and tabs around one or two ASCII digits whose value is at most 4.
std::optional<int> expectedCount(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  if (text.empty() || text.size() > 2) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) return std::nullopt;
  const int value = text.size() == 1 ? text[0] - L'0' : (text[0] - L'0') * 10 + (text[1] - L'0');
  if (value > kelvane::MaxSolutions) return std::nullopt;
  return value;
}

void checkCount(std::wstring_view text) {
  const std::optional<int> count = kelvane::solutionCount(text);
  if (count) require(*count >= 0 && *count <= kelvane::MaxSolutions);
  require(count == expectedCount(text));
}

// The bytes as UTF-16 units, so wide characters the code page never yields (full
// width digits, U+3000) reach the count too.
std::wstring asUtf16(std::string_view bytes) {
  std::wstring text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = kelvane::fuzz::asBytes(data, size);
  const std::wstring text = kelvane::utf8ToWide(bytes);
  checkProfile(text);
  checkProfile(asUtf16(bytes));
  checkCut(text);
  checkCut(asUtf16(bytes));

  // As the wizard reads "totalcount": the value looked up, then counted.
  const std::wstring value = kelvane::profileResult(text);
  require(value.empty() || !text.starts_with(kelvane::ProfileDefault));
  checkCount(value);
  checkCount(asUtf16(bytes));
  return 0;
}
