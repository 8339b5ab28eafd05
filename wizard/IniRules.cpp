#include "wizard/IniRules.h"

#include <cwctype>

namespace kelvane {
namespace {

bool equalsIgnoringCase(std::wstring_view text, std::wstring_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (std::towupper(static_cast<wint_t>(text[i])) != static_cast<wint_t>(upper[i])) return false;
  }
  return true;
}

bool isGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace

IniMode iniMode(std::wstring_view mode) {
  if (equalsIgnoringCase(mode, L"GET")) return IniMode::Get;
  if (equalsIgnoringCase(mode, L"WRITE")) return IniMode::Write;
  return IniMode::Other;
}

std::optional<std::wstring> iniArgumentError(std::wstring_view mode, std::wstring_view section,
                                             std::wstring_view key,
                                             const std::optional<std::wstring>& value) {
  if (mode.empty()) return std::wstring(ErrorMode);
  if (section.empty()) return std::wstring(ErrorSection);
  if (key.empty()) return std::wstring(ErrorKey);
  if (iniMode(mode) == IniMode::Write && (!value || value->empty())) return std::wstring(ErrorValue);
  return std::nullopt;
}

std::string dropDanglingLeadByte(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (isGbkLeadByte(static_cast<unsigned char>(bytes[i]))) {
      if (i + 1 == bytes.size()) return std::string(bytes.substr(0, i));
      i += 2;
    } else {
      ++i;
    }
  }
  return std::string(bytes);
}

std::string profileValue(std::string_view bytes, bool cut) {
  // Case-sensitive, as the buffer comparison always was: "failed..." is a value.
  if (bytes.substr(0, ProfileDefault.size()) == ProfileDefault) return {};
  return cut ? dropDanglingLeadByte(bytes) : std::string(bytes);
}

std::optional<int> solutionCount(std::wstring_view text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return std::nullopt;
  const size_t last = text.find_last_not_of(L" \t");
  const std::wstring_view digits = text.substr(first, last - first + 1);
  if (digits.empty() || digits.size() > 2) return std::nullopt;
  int count = 0;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return std::nullopt;
    count = count * 10 + (c - L'0');
  }
  if (count > MaxSolutions) return std::nullopt;
  return count;
}

}  // namespace kelvane
