// Fuzzes the tool catalogue parser on the records the program reads: the items of
// the item reader, widened as code page 936 widens them (FuzzSupport.h: ASCII stays
// ASCII, a double-byte character becomes one non-ASCII unit).
//
// Every input checks that the entries are exactly the records with a TAB, at most
// MaxToolEntries of them. Reaching the cap takes 32,768 records, far past the
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
  if (std::any_of(afterTab.begin(), afterTab.end(), isAsciiLetter)) {
    require(isAsciiLetter(entry.file.front()));
  } else {
    require(entry.file == afterTab);
  }
}

void checkCatalogue(const std::vector<std::wstring>& records) {
  const std::vector<ToolRecord> entries = kelvane::toolEntries(records);
  require(entries.size() <= static_cast<size_t>(kelvane::MaxToolEntries));
  // Entries keep file order and skip exactly the records without a TAB.
  size_t next = 0;
  for (const std::wstring& record : records) {
    if (next == entries.size()) break;
    const std::optional<ToolRecord> parsed = kelvane::parseToolRecord(record);
    require(parsed.has_value() == (record.find(L'\t') != std::wstring::npos));
    if (parsed) require(*parsed == entries[next++]);
  }
  const auto withTab = static_cast<size_t>(std::count_if(
      records.begin(), records.end(), [](const std::wstring& r) { return r.find(L'\t') != std::wstring::npos; }));
  require(entries.size() == std::min(withTab, static_cast<size_t>(kelvane::MaxToolEntries)));
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
