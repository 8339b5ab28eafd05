#pragma once
// GBK (code page 936), the encoding the data files ship in, converted with the
// system's table for that code page, never the system's ANSI code page: the text
// is the same on every Windows, whatever its language setting.
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

inline constexpr unsigned GbkCodePage = 936;

// A GbkDecoder (common/TextEncoding.h).
std::wstring gbkToWide(std::string_view bytes);
// The text in GBK, or nothing when some character has no exact form there (it
// would turn into '?' or a look-alike).
std::optional<std::string> exactGbk(std::wstring_view text);

}  // namespace kelvane
