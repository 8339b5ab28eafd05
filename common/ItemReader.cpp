#include "common/ItemReader.h"

namespace kelvane {
namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Steps over the separator that ends an item: a comma, or one line end where
// CR LF counts as one.
size_t skipSeparator(std::string_view bytes, size_t pos) {
  if (pos >= bytes.size()) return pos;
  if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') return pos + 2;
  return pos + 1;
}

size_t findItemEnd(std::string_view bytes, size_t pos) {
  while (pos < bytes.size() && bytes[pos] != ',' && !isLineEnd(bytes[pos])) ++pos;
  return pos;
}

}  // namespace

std::vector<std::string> readItems(std::string_view bytes) {
  std::vector<std::string> items;
  size_t pos = 0;
  bool afterComma = false;  // a comma always opens another item, even at the end
  while (pos < bytes.size() || afterComma) {
    while (pos < bytes.size() && bytes[pos] == ' ') ++pos;
    if (pos < bytes.size() && bytes[pos] == '"') {
      const size_t close = bytes.find('"', pos + 1);
      const size_t textEnd = close == std::string_view::npos ? bytes.size() : close;
      items.emplace_back(bytes.substr(pos + 1, textEnd - pos - 1));
      pos = findItemEnd(bytes, textEnd == bytes.size() ? textEnd : textEnd + 1);
    } else {
      const size_t end = findItemEnd(bytes, pos);
      items.emplace_back(bytes.substr(pos, end - pos));
      pos = end;
    }
    afterComma = pos < bytes.size() && bytes[pos] == ',';
    pos = skipSeparator(bytes, pos);
  }
  return items;
}

}  // namespace kelvane
