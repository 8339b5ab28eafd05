#include "wizard/IniRules.h"

#include <algorithm>
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

bool equalsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
  for (size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f'; }

std::wstring_view trimmed(std::wstring_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// One line of a profile, as found by scanProfile.
struct ProfileLine {
  size_t start = 0, end = 0;      // the line in the text, without its line end
  bool inSection = false;         // within the first section of the name looked for
  bool sectionHeader = false;     // a "[name]" line
  std::wstring_view key, value;   // for a "key = value" line, both trimmed
};

// Calls `onLine` for each line until it returns false; tells whether the section
// named `section` was found.
template <typename OnLine>
bool scanProfile(std::wstring_view text, std::wstring_view section, OnLine onLine) {
  bool found = false, inside = false;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find_first_of(L"\r\n", start), text.size());
    ProfileLine line{start, end};
    const std::wstring_view content = trimmed(text.substr(start, end - start));
    if (content.starts_with(L'[')) {
      const size_t close = content.rfind(L']');
      const std::wstring_view name =
          trimmed(content.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1));
      // Only the first section of a name is read; a later one is ignored.
      inside = !found && equalsIgnoringAsciiCase(name, section);
      found = found || inside;
      line.sectionHeader = true;
    } else if (const size_t equals = content.find(L'='); equals != std::wstring_view::npos) {
      line.key = trimmed(content.substr(0, equals));
      line.value = trimmed(content.substr(equals + 1));
    }
    line.inSection = inside;
    if (!onLine(line)) break;
    start = end;
    if (start < text.size() && text[start] == L'\r') ++start;
    if (start < text.size() && text[start] == L'\n') ++start;
  }
  return found;
}

std::wstring_view withoutQuotes(std::wstring_view value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

size_t gbkBytes(wchar_t c) { return c < 0x80 || c == L'\x20AC' ? 1 : 2; }

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

std::optional<std::wstring> profileLookup(std::wstring_view text, std::wstring_view section, std::wstring_view key) {
  std::optional<std::wstring> value;
  scanProfile(text, section, [&](const ProfileLine& line) {
    if (!line.inSection || line.sectionHeader || !equalsIgnoringAsciiCase(line.key, key)) return true;
    value = std::wstring(withoutQuotes(line.value));
    return false;
  });
  return value;
}

std::wstring profileWithValue(std::wstring_view text, std::wstring_view section, std::wstring_view key,
                              std::wstring_view value) {
  std::optional<ProfileLine> keyLine;
  size_t sectionEnd = std::wstring_view::npos;  // after the section's last line that is not blank
  const bool found = scanProfile(text, section, [&](const ProfileLine& line) {
    if (!line.inSection) return true;
    if (!line.sectionHeader && equalsIgnoringAsciiCase(line.key, key)) {
      keyLine = line;
      return false;
    }
    if (!trimmed(text.substr(line.start, line.end - line.start)).empty()) sectionEnd = line.end;
    return true;
  });
  const std::wstring entry = std::wstring(keyLine ? keyLine->key : key) + L"=" + std::wstring(value);
  std::wstring result(text);
  if (keyLine) return result.replace(keyLine->start, keyLine->end - keyLine->start, entry);
  if (found) return result.insert(sectionEnd, L"\r\n" + entry);
  if (!result.empty() && result.back() != L'\n' && result.back() != L'\r') result += L"\r\n";
  return result + L"[" + std::wstring(section) + L"]\r\n" + entry + L"\r\n";
}

std::wstring profileResult(const std::optional<std::wstring>& stored) {
  if (!stored || stored->starts_with(ProfileDefault)) return {};
  return cutToGbkBytes(*stored, ProfileValueBytes);
}

std::wstring cutToGbkBytes(std::wstring_view text, size_t maxBytes) {
  size_t bytes = 0, kept = 0;
  while (kept < text.size()) {
    const bool pair = (text[kept] & 0xFC00) == 0xD800 && kept + 1 < text.size() && (text[kept + 1] & 0xFC00) == 0xDC00;
    bytes += gbkBytes(text[kept]);
    if (bytes > maxBytes) break;
    kept += pair ? 2 : 1;
  }
  return std::wstring(text.substr(0, kept));
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
