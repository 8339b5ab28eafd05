// Fuzzes the tool catalogue parser on the records the program reads: the items of
// the item reader, widened as code page 936 widens them (FuzzSupport.h: ASCII stays
// ASCII, a double-byte character becomes one non-ASCII unit).
//
// Every input checks that the entries are exactly the records with a TAB and a
// file name of at most MaxToolFileChars, at most MaxToolEntries of them. Reaching the cap takes 32,768 records, far past the
// fuzzer's input length; repeating an input's records that often cost 0.1 s a run
// and left no time for anything else, so the catalogue's unit tests cover the cap.
#include <algorithm>
#include <string>
#include <vector>

#include "common/ItemReader.h"
#include "fuzz/FuzzSupport.h"
#include "tools/ToolCatalogue.h"

namespace {

using kelvane::ToolRecord;
using kelvane::fuzz::require;

bool isAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// One record's entry: the caption is the text before the first TAB (a long one
// may be cut short, ending in an ellipsis), and the file name is a tail of the
// record that starts at a letter, or at that TAB when no letter follows it.
void checkEntry(std::wstring_view record, const ToolRecord& entry) {
  const size_t tab = record.find(L'\t');
  require(tab != std::wstring_view::npos);
  const std::wstring_view before = record.substr(0, tab);
  if (entry.caption != before) {
    require(entry.caption.ends_with(L'\x2026') && entry.caption.size() <= before.size());
    require(before.starts_with(std::wstring_view(entry.caption).substr(0, entry.caption.size() - 1)));
  }
  require(entry.caption.find(L'\t') == std::wstring::npos);

  const std::wstring_view afterTab = record.substr(tab);
  require(!entry.file.empty() && afterTab.ends_with(entry.file));
  require(entry.file.size() <= kelvane::MaxToolFileChars);
  if (std::any_of(afterTab.begin(), afterTab.end(), isAsciiLetter)) {
    require(isAsciiLetter(entry.file.front()));
  } else {
    require(entry.file == afterTab);
  }
}

// A record names a tool when it has a TAB and a file name the shell could start:
// the tail from the first letter after the TAB (or from the TAB) fits the limit.
bool namesATool(std::wstring_view record) {
  const size_t tab = record.find(L'\t');
  if (tab == std::wstring_view::npos) return false;
  const std::wstring_view afterTab = record.substr(tab);
  const auto letter = std::find_if(afterTab.begin(), afterTab.end(), isAsciiLetter);
  const auto fileStart = letter == afterTab.end() ? afterTab.begin() : letter;
  return static_cast<size_t>(afterTab.end() - fileStart) <= kelvane::MaxToolFileChars;
}

void checkCatalogue(const std::vector<std::wstring>& records) {
  const std::vector<ToolRecord> entries = kelvane::toolEntries(records);
  require(entries.size() <= static_cast<size_t>(kelvane::MaxToolEntries));
  // Entries keep file order and skip exactly the records that name no tool.
  size_t next = 0;
  for (const std::wstring& record : records) {
    if (next == entries.size()) break;
    const std::optional<ToolRecord> parsed = kelvane::parseToolRecord(record);
    require(parsed.has_value() == namesATool(record));
    if (parsed) require(*parsed == entries[next++]);
  }
  const auto named = static_cast<size_t>(std::count_if(
      records.begin(), records.end(), [](const std::wstring& r) { return namesATool(r); }));
  require(entries.size() == std::min(named, static_cast<size_t>(kelvane::MaxToolEntries)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = kelvane::fuzz::asBytes(data, size);
  std::vector<std::wstring> records;
  for (const std::string& item : kelvane::readItems(bytes)) records.push_back(kelvane::fuzz::widenAnsi(item));

  for (const std::wstring& record : records) {
    if (const std::optional<ToolRecord> entry = kelvane::parseToolRecord(record)) checkEntry(record, *entry);
  }
  checkCatalogue(records);
  return 0;
}
