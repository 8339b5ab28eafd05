#include "common/ItemReader.h"

#include <algorithm>

namespace kelvane {
namespace {

bool isSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }

}  // namespace

std::vector<std::string> readItems(std::string_view bytes) {
  ItemReader reader;
  reader.append(bytes);
  reader.finish();
  std::vector<std::string> items;
  while (std::optional<ItemReader::Item> item = reader.next()) items.push_back(std::move(item->text));
  return items;
}

void ItemReader::keep(std::string_view bytes) {
  const size_t room = maxItemBytes_ - std::min(maxItemBytes_, item_.text.size());
  if (bytes.size() > room) item_.whole = false;
  item_.text.append(bytes.substr(0, std::min(room, bytes.size())));
}

void ItemReader::endItem() {
  ready_.push_back(std::move(item_));
  item_ = Item{};
  blanksSkipped_ = false;
}

void ItemReader::endAtSeparator(char separator) {
  endItem();
  afterComma_ = separator == ',';
  state_ = separator == '\r' ? State::AfterCr : State::Start;
}

void ItemReader::append(std::string_view piece) {
  size_t pos = 0;
  while (pos < piece.size()) {
    const char c = piece[pos];
    switch (state_) {
      case State::AfterCr:
        state_ = State::Start;
        if (c == '\n') ++pos;
        break;
      case State::Start:
        if (c == ' ') {
          blanksSkipped_ = true;
          ++pos;
        } else if (c == '"') {
          state_ = State::Quoted;
          ++pos;
        } else {
          state_ = State::Plain;  // a separator here ends an empty item
        }
        break;
      case State::Plain: {
        // Whole runs at a time: the bytes up to the next separator belong to the item.
        const auto end = std::find_if(piece.begin() + static_cast<std::ptrdiff_t>(pos), piece.end(), isSeparator);
        const size_t stop = static_cast<size_t>(end - piece.begin());
        keep(piece.substr(pos, stop - pos));
        pos = stop;
        if (pos < piece.size()) endAtSeparator(piece[pos++]);
        break;
      }
      case State::Quoted: {
        const size_t close = std::min(piece.find('"', pos), piece.size());
        keep(piece.substr(pos, close - pos));
        pos = close;
        if (pos < piece.size()) {
          state_ = State::AfterQuote;
          ++pos;
        }
        break;
      }
      case State::AfterQuote: {
        const auto end = std::find_if(piece.begin() + static_cast<std::ptrdiff_t>(pos), piece.end(), isSeparator);
        pos = static_cast<size_t>(end - piece.begin());
        if (pos < piece.size()) endAtSeparator(piece[pos++]);
        break;
      }
    }
  }
}

void ItemReader::finish() {
  if (finished_) return;
  finished_ = true;
  switch (state_) {
    case State::Start:
      // After a comma, or after blanks, the data's end closes one more (empty) item;
      // after a line end it opens none.
      if (afterComma_ || blanksSkipped_) endItem();
      break;
    case State::AfterCr:
      break;
    case State::Plain:
    case State::Quoted:  // never closed: the item runs to the end
    case State::AfterQuote:
      endItem();
      break;
  }
  state_ = State::Start;
  afterComma_ = false;
}

std::optional<ItemReader::Item> ItemReader::next() {
  if (ready_.empty()) return std::nullopt;
  Item item = std::move(ready_.front());
  ready_.pop_front();
  return item;
}

}  // namespace kelvane
