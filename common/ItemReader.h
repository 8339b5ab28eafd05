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
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

std::vector<std::string> readItems(std::string_view bytes);

}  // namespace kelvane
