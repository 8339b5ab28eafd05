#pragma once
// Which encoding a data file is in, and decoding the encodings that need no table.
//
// The data files (sol.ini, the .Rd records, tooll\tool.txt) ship in GBK, but a
// user may save them again with any editor: today's Notepad writes UTF-8 without
// a byte-order mark, older ones UTF-16 LE or UTF-8 with one. A file is taken as
//   - UTF-16 LE when it starts with FF FE;
//   - UTF-8 when it starts with EF BB BF, or when all of it is valid UTF-8 and it
//     holds at least one multi-byte sequence;
//   - GBK (code page 936) otherwise: an ASCII-only file reads the same either way.
// Never by the system's code page, so the text is the same on every Windows.
//
// GBK needs the code page's table, which only Windows has: decoding it is left to
// a GbkDecoder the Windows side supplies (common/Ansi.h). Wide text holds UTF-16
// code units on every platform, so the logic behaves alike natively.
#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

enum class TextEncoding { Gbk, Utf8, Utf16Le };

struct DetectedEncoding {
  TextEncoding encoding = TextEncoding::Gbk;
  size_t markBytes = 0;  // the byte-order mark at the start, skipped when decoding

  bool operator==(const DetectedEncoding&) const = default;
};

// Decides the encoding of data that arrives in pieces, so a large file is looked
// at without holding it: a byte-order mark, else whether all of it is UTF-8.
class EncodingSniffer {
 public:
  void append(std::string_view piece);
  // Once true, no further data changes the answer (a mark, or invalid UTF-8).
  bool decided() const;
  // The encoding, given that all the data has been appended.
  DetectedEncoding result() const;

 private:
  void checkUtf8(unsigned char byte);

  std::string head_;           // the first bytes, up to a mark's length
  bool invalid_ = false;       // not UTF-8
  bool multiByte_ = false;     // a sequence of two or more bytes was seen
  int pending_ = 0;            // continuation bytes still expected
  unsigned char low_ = 0x80;   // the range the next continuation byte must lie in
  unsigned char high_ = 0xBF;  // (narrower after E0, ED, F0 and F4)
};

DetectedEncoding detectEncoding(std::string_view bytes);

// UTF-8 as UTF-16 units; a byte that starts no valid sequence becomes U+FFFD.
std::wstring utf8ToWide(std::string_view bytes);
std::string wideToUtf8(std::wstring_view text);
// UTF-16 LE bytes as units; an odd last byte becomes U+FFFD.
std::wstring utf16LeToWide(std::string_view bytes);
std::string wideToUtf16Le(std::wstring_view text);

// Decodes GBK bytes (given without a mark); supplied by the Windows side.
using GbkDecoder = std::wstring (*)(std::string_view bytes);

// The text of a whole file, its mark dropped.
std::wstring decodeText(std::string_view fileBytes, GbkDecoder gbk);
// Bytes of an 8-bit encoding (the mark already dropped) as text.
std::wstring decodeBytes(std::string_view bytes, TextEncoding encoding, GbkDecoder gbk);

}  // namespace kelvane
