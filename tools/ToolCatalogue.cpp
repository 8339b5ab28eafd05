#include "tools/ToolCatalogue.h"

namespace kelvane {
namespace {

bool isAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::wstring shortenedText(std::wstring_view text, size_t maxChars) {
  if (text.size() <= maxChars) return std::wstring(text);
  if (maxChars == 0) return {};
  size_t kept = maxChars - 1;
  if (kept > 0 && text[kept - 1] >= 0xD800 && text[kept - 1] <= 0xDBFF) --kept;  // a lead surrogate alone
  return std::wstring(text.substr(0, kept)) + L"…";
}

std::optional<ToolRecord> parseToolRecord(std::wstring_view record) {
  const size_t tab = record.find(L'\t');
  if (tab == std::wstring_view::npos) return std::nullopt;
  size_t start = tab;
  while (start < record.size() && !isAsciiLetter(record[start])) ++start;
  if (start == record.size()) start = tab;  // no letter: the rest, TAB included
  if (record.size() - start > MaxToolFileChars) return std::nullopt;
  return ToolRecord{shortenedText(record.substr(0, tab), MaxToolCaptionChars), std::wstring(record.substr(start))};
}

bool ToolCatalogueLoader::take(std::wstring_view record, bool whole) {
  if (entries_.size() >= static_cast<size_t>(MaxToolEntries)) {
    // Blank lines after the last entry leave nothing out; anything else does.
    restLeftOut_ = !record.empty();
    return !restLeftOut_;
  }
  if (!whole) return true;
  if (std::optional<ToolRecord> entry = parseToolRecord(record)) entries_.push_back(std::move(*entry));
  return true;
}

std::vector<ToolRecord> toolEntries(const std::vector<std::wstring>& records) {
  ToolCatalogueLoader loader;
  for (const std::wstring& record : records) {
    if (!loader.take(record)) break;
  }
  return loader.takeEntries();
}

}  // namespace kelvane
