#pragma once
// The item reader: the one way the program reads its text files (the wizard's
// record files, the tool catalogue). An 8-bit file (GBK or UTF-8) is split on its
// bytes: a byte of a GBK or UTF-8 multi-byte character is never an ASCII comma,
// quote, blank, CR or LF, so splitting there never cuts a character in two. A
// UTF-16 file is split on its 16-bit code units by the same rules.
//
// Rules:
// - an item ends at an ASCII comma or at a line end (CR LF, CR or LF); the end of
//   the data ends the last item; a line end just before the end starts no new item,
//   a comma there starts an empty one;
// - blanks before an item are skipped;
// - an item that begins with a double quote runs to the next double quote (commas
//   and line ends inside belong to it), the quotes are dropped, and whatever follows
//   the closing quote up to the next comma or line end is skipped;
// - a line without commas is one item; an empty line is one empty item.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextEncoding.h"

namespace kelvane {

// The items of data held whole in memory.
std::vector<std::string> readItems(std::string_view bytes);

// The same rules over data that arrives in pieces of any size, so a large file is
// read a piece at a time: an item is handed out once its end has been seen (for
// the last one, at finish()). Where a piece ends makes no difference to the items.
// `Unit` is char for bytes, wchar_t for UTF-16 code units.
template <typename Unit>
class BasicItemReader {
 public:
  using Text = std::basic_string<Unit>;
  using View = std::basic_string_view<Unit>;

  // An item longer than `maxItemUnits` keeps only its first `maxItemUnits` units
  // (and says so), so one huge item cannot take the memory; its end is found all
  // the same, and the items after it are exact.
  explicit BasicItemReader(size_t maxItemUnits = static_cast<size_t>(-1)) : maxItemBytes_(maxItemUnits) {}

  void append(View piece);
  // The data has ended: the last item ends here.
  void finish();

  struct Item {
    Text text;
    bool whole = true;  // false when cut to maxItemUnits
  };
  // The next complete item; nothing when more data is needed or all was handed out.
  std::optional<Item> next();

 private:
  enum class State {
    Start,       // before an item: blanks are skipped
    Plain,       // in an item that did not begin with a quote
    Quoted,      // between an item's quotes
    AfterQuote,  // after the closing quote, skipping to the separator
    AfterCr,     // a CR ended the item; an LF right after belongs to it
  };
  void keep(View units);
  void endItem();
  void endAtSeparator(Unit separator);

  size_t maxItemBytes_;
  State state_ = State::Start;
  bool blanksSkipped_ = false;  // blanks at Start open an item (empty at the end)
  bool afterComma_ = false;     // a comma opens another item, even at the end
  bool finished_ = false;
  Item item_;
  std::deque<Item> ready_;
};

using ItemReader = BasicItemReader<char>;
using WideItemReader = BasicItemReader<wchar_t>;

// The items of a whole file in whichever encoding it is (TextEncoding.h), as text.
std::vector<std::wstring> readTextItems(std::string_view fileBytes, GbkDecoder gbk);

// The items of a file whose encoding is known, as text, from its bytes arriving in
// pieces of any size (from the file's first byte: the mark is skipped here).
class TextItemReader {
 public:
  // `maxItemBytes` bounds an item's size in the file's encoding, as ItemReader does.
  TextItemReader(DetectedEncoding encoding, GbkDecoder gbk, size_t maxItemBytes = static_cast<size_t>(-1));

  void append(std::string_view fileBytes);
  void finish();

  struct Item {
    std::wstring text;
    bool whole = true;
  };
  std::optional<Item> next();

 private:
  DetectedEncoding encoding_;
  GbkDecoder gbk_;
  size_t markLeft_;
  ItemReader bytes_;
  WideItemReader units_;
  std::string oddByte_;  // the first byte of a unit whose second is in the next piece
};

}  // namespace kelvane
