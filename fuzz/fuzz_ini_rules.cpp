// Fuzzes how a value comes out of the 50-byte profile buffer and how a solution
// count is read from it. The first byte of the input says whether the value was
// cut (bit 0); the rest are the bytes the profile call left in the buffer.
#include <algorithm>
#include <optional>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "wizard/IniRules.h"

namespace {

using kelvane::fuzz::require;

// Whether GBK text ends in a lead byte whose trail is missing. From the start,
// since a byte in the lead range may be the trail of the character before it.
bool endsInDanglingLead(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) i += kelvane::fuzz::isGbkLead(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
  return i > bytes.size();
}

void checkCut(std::string_view bytes) {
  const std::string kept = kelvane::dropDanglingLeadByte(bytes);
  require(bytes.starts_with(kept));
  require(kept.size() + 1 >= bytes.size());
  require(!endsInDanglingLead(kept));
  // A value that ends on a whole character keeps every byte.
  if (!endsInDanglingLead(bytes)) require(kept.size() == bytes.size());
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
  if (size == 0) return 0;
  const bool cut = (data[0] & 1) != 0;
  const std::string_view bytes = kelvane::fuzz::asBytes(data + 1, size - 1);

  checkCut(bytes);
  const std::string value = kelvane::profileValue(bytes, cut);
  require(bytes.starts_with(value));
  if (bytes.starts_with(kelvane::ProfileDefault)) {
    require(value.empty());
  } else if (cut) {
    require(value == kelvane::dropDanglingLeadByte(bytes));
  } else {
    require(value == bytes);
  }

  // As the wizard reads "totalcount": the value widened, then counted.
  checkCount(kelvane::fuzz::widenAnsi(value));
  checkCount(asUtf16(bytes));
  return 0;
}
