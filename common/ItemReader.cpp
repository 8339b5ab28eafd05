#include "common/ItemReader.h"

#include <algorithm>

namespace kelvane {
namespace {

template <typename Unit>
bool isSeparator(Unit c) {
  return c == Unit(',') || c == Unit('\r') || c == Unit('\n');
}

}  // namespace

std::vector<std::string> readItems(std::string_view bytes) {
  ItemReader reader;
  reader.append(bytes);
  reader.finish();
  std::vector<std::string> items;
  while (std::optional<ItemReader::Item> item = reader.next()) items.push_back(std::move(item->text));
  return items;
}

template <typename Unit>
void BasicItemReader<Unit>::keep(View bytes) {
  const size_t room = maxItemBytes_ - std::min(maxItemBytes_, item_.text.size());
  if (bytes.size() > room) item_.whole = false;
  item_.text.append(bytes.substr(0, std::min(room, bytes.size())));
}

template <typename Unit>
void BasicItemReader<Unit>::endItem() {
  ready_.push_back(std::move(item_));
  item_ = Item{};
  blanksSkipped_ = false;
}

template <typename Unit>
void BasicItemReader<Unit>::endAtSeparator(Unit separator) {
  endItem();
  afterComma_ = separator == Unit(',');
  state_ = separator == Unit('\r') ? State::AfterCr : State::Start;
}

template <typename Unit>
void BasicItemReader<Unit>::append(View piece) {
  size_t pos = 0;
  while (pos < piece.size()) {
    const Unit c = piece[pos];
    switch (state_) {
      case State::AfterCr:
        state_ = State::Start;
        if (c == Unit('\n')) ++pos;
        break;
      case State::Start:
        if (c == Unit(' ')) {
          blanksSkipped_ = true;
          ++pos;
        } else if (c == Unit('"')) {
          state_ = State::Quoted;
          ++pos;
        } else {
          state_ = State::Plain;  // a separator here ends an empty item
        }
        break;
      case State::Plain: {
        // Whole runs at a time: the bytes up to the next separator belong to the item.
        const auto end = std::find_if(piece.begin() + static_cast<std::ptrdiff_t>(pos), piece.end(), isSeparator<Unit>);
        const size_t stop = static_cast<size_t>(end - piece.begin());
        keep(piece.substr(pos, stop - pos));
        pos = stop;
        if (pos < piece.size()) endAtSeparator(piece[pos++]);
        break;
      }
      case State::Quoted: {
        const size_t close = std::min(piece.find(Unit('"'), pos), piece.size());
        keep(piece.substr(pos, close - pos));
        pos = close;
        if (pos < piece.size()) {
          state_ = State::AfterQuote;
          ++pos;
        }
        break;
      }
      case State::AfterQuote: {
        const auto end = std::find_if(piece.begin() + static_cast<std::ptrdiff_t>(pos), piece.end(), isSeparator<Unit>);
        pos = static_cast<size_t>(end - piece.begin());
        if (pos < piece.size()) endAtSeparator(piece[pos++]);
        break;
      }
    }
  }
}

template <typename Unit>
void BasicItemReader<Unit>::finish() {
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

template <typename Unit>
std::optional<typename BasicItemReader<Unit>::Item> BasicItemReader<Unit>::next() {
  if (ready_.empty()) return std::nullopt;
  Item item = std::move(ready_.front());
  ready_.pop_front();
  return item;
}

template class BasicItemReader<char>;
template class BasicItemReader<wchar_t>;

TextItemReader::TextItemReader(DetectedEncoding encoding, GbkDecoder gbk, size_t maxItemBytes)
    : encoding_(encoding),
      gbk_(gbk),
      markLeft_(encoding.markBytes),
      bytes_(maxItemBytes),
      units_(maxItemBytes / 2) {}

void TextItemReader::append(std::string_view fileBytes) {
  const size_t skipped = std::min(markLeft_, fileBytes.size());
  markLeft_ -= skipped;
  fileBytes.remove_prefix(skipped);
  if (encoding_.encoding != TextEncoding::Utf16Le) {
    bytes_.append(fileBytes);
    return;
  }
  // A unit may be split between two pieces: its first byte waits for the next.
  std::wstring units;
  if (!oddByte_.empty() && !fileBytes.empty()) {
    units = utf16LeToWide(oddByte_ + fileBytes.front());
    oddByte_.clear();
    fileBytes.remove_prefix(1);
  }
  const size_t even = fileBytes.size() & ~static_cast<size_t>(1);
  units += utf16LeToWide(fileBytes.substr(0, even));
  oddByte_.append(fileBytes.substr(even));
  units_.append(units);
}

void TextItemReader::finish() {
  if (encoding_.encoding != TextEncoding::Utf16Le) {
    bytes_.finish();
    return;
  }
  if (!oddByte_.empty()) units_.append(utf16LeToWide(oddByte_));  // a half unit: U+FFFD
  oddByte_.clear();
  units_.finish();
}

std::optional<TextItemReader::Item> TextItemReader::next() {
  if (encoding_.encoding == TextEncoding::Utf16Le) {
    std::optional<WideItemReader::Item> item = units_.next();
    if (!item) return std::nullopt;
    return Item{std::move(item->text), item->whole};
  }
  std::optional<ItemReader::Item> item = bytes_.next();
  if (!item) return std::nullopt;
  return Item{decodeBytes(item->text, encoding_.encoding, gbk_), item->whole};
}

std::vector<std::wstring> readTextItems(std::string_view fileBytes, GbkDecoder gbk) {
  TextItemReader reader(detectEncoding(fileBytes), gbk);
  reader.append(fileBytes);
  reader.finish();
  std::vector<std::wstring> items;
  while (std::optional<TextItemReader::Item> item = reader.next()) items.push_back(std::move(item->text));
  return items;
}

}  // namespace kelvane
