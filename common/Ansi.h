#pragma once
// Conversion between the program's wide text and the system's ANSI code page (GBK
// on Chinese systems), in which the data files and 8-bit Win32 calls hold text.
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

std::wstring ansiToWide(std::string_view text);
std::string wideToAnsi(std::wstring_view text);
// The text in the ANSI code page, or nothing when some character has no exact form
// there (it would turn into '?' or a look-alike).
std::optional<std::string> exactAnsi(std::wstring_view text);

}  // namespace kelvane
