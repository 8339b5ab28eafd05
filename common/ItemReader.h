#pragma once
// The item reader: the one way the program reads its text files (the wizard's
// record files, the tool catalogue). It works on the file's bytes in the ANSI code
// page; a GBK trail byte is never an ASCII comma, quote, CR or LF, so splitting the
// bytes at those characters never cuts a Chinese character in two.
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

namespace kelvane {

// The items of data held whole in memory.
std::vector<std::string> readItems(std::string_view bytes);

// The same rules over data that arrives in pieces of any size, so a large file is
// read a piece at a time: an item is handed out once its end has been seen (for
// the last one, at finish()). Where a piece ends makes no difference to the items.
class ItemReader {
 public:
  // An item longer than `maxItemBytes` keeps only its first `maxItemBytes` bytes
  // (and says so), so one huge item cannot take the memory; its end is found all
  // the same, and the items after it are exact.
  explicit ItemReader(size_t maxItemBytes = static_cast<size_t>(-1)) : maxItemBytes_(maxItemBytes) {}

  void append(std::string_view piece);
  // The data has ended: the last item ends here.
  void finish();

  struct Item {
    std::string text;
    bool whole = true;  // false when cut to maxItemBytes
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
  void keep(std::string_view bytes);
  void endItem();
  void endAtSeparator(char separator);

  size_t maxItemBytes_;
  State state_ = State::Start;
  bool blanksSkipped_ = false;  // blanks at Start open an item (empty at the end)
  bool afterComma_ = false;     // a comma opens another item, even at the end
  bool finished_ = false;
  Item item_;
  std::deque<Item> ready_;
};

}  // namespace kelvane
