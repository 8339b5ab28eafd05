// Fuzzes the item reader, the one reader of the record files and the catalogue.
// Without double quotes the reader must agree with a plain split at commas and
// line ends; with them, only a quoted item may hold a separator. Read in pieces it
// must give the same items as read whole.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/ItemReader.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool isSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }

// The items of quote-free data, written as a split: a final line end opens no
// item, CR LF is one line end, and blanks before an item are dropped.
std::vector<std::string> splitItems(std::string_view bytes) {
  std::vector<std::string> items;
  if (bytes.empty()) return items;
  if (bytes.ends_with("\r\n")) {
    bytes.remove_suffix(2);
  } else if (bytes.back() == '\r' || bytes.back() == '\n') {
    bytes.remove_suffix(1);
  }
  std::string item;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (!isSeparator(bytes[i])) {
      item += bytes[i];
      continue;
    }
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    items.push_back(std::move(item));
    item.clear();
  }
  items.push_back(std::move(item));
  for (std::string& each : items) each.erase(0, std::min(each.find_first_not_of(' '), each.size()));
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using kelvane::fuzz::require;
  const std::string_view bytes = kelvane::fuzz::asBytes(data, size);
  const std::vector<std::string> items = kelvane::readItems(bytes);

  // Read in pieces, as the catalogue is, the items are the same wherever the
  // pieces end: the first byte chooses a piece length from 1 to 256.
  if (!bytes.empty()) {
    const size_t pieceLength = static_cast<unsigned char>(bytes[0]) + 1u;
    kelvane::ItemReader reader;
    std::vector<std::string> pieced;
    for (size_t start = 0; start < bytes.size(); start += pieceLength) {
      reader.append(bytes.substr(start, pieceLength));
      while (std::optional<kelvane::ItemReader::Item> item = reader.next()) pieced.push_back(std::move(item->text));
    }
    reader.finish();
    while (std::optional<kelvane::ItemReader::Item> item = reader.next()) pieced.push_back(std::move(item->text));
    require(pieced == items);
  }

  // As UTF-16 the same rules give the same items, unit for unit.
  const auto units = [](std::string_view text) {
    std::wstring wide;
    for (const char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
  };
  std::vector<std::wstring> wideItems;
  for (const std::string& item : items) wideItems.push_back(units(item));
  require(kelvane::readTextItems("\xFF\xFE" + kelvane::wideToUtf16Le(units(bytes)), nullptr) == wideItems);

  size_t itemBytes = 0;
  for (const std::string& item : items) itemBytes += item.size();
  require(itemBytes <= bytes.size());
  const auto separators = static_cast<size_t>(std::count_if(bytes.begin(), bytes.end(), isSeparator));
  require(items.size() <= separators + 1);

  if (bytes.find('"') == std::string_view::npos) {
    require(items == splitItems(bytes));
    return 0;
  }
  // A separator inside an item is only possible between quotes, right after the
  // opening one.
  for (const std::string& item : items) {
    if (std::none_of(item.begin(), item.end(), isSeparator)) continue;
    require(bytes.find('"' + item) != std::string_view::npos);
  }
  return 0;
}
