#pragma once
// What the wizard's text box shows for a record file: the file's items, each on a
// line of its own (a comma in the file shows as a line break), in whichever
// encoding the file is (common/TextEncoding.h).
#include <cstddef>
#include <string>
#include <string_view>

#include "common/TextEncoding.h"

namespace kelvane {

// Record files are a few kilobytes. Anything larger than this is not a record
// file, and a multi-line text box takes ever longer to wrap it: under Wine 256 KB
// shows in about a second, while 1 MB held the window unanswering for over 10 s.
inline constexpr size_t MaxRecordBytes = 256 * 1024;

// The items joined with CR LF after each. A NUL would end the text box's text
// early and hide everything after it, so it shows as a blank.
std::wstring recordDisplayText(std::string_view fileBytes, GbkDecoder gbk);
// The same for the bytes of an 8-bit file, left undecoded.
std::string recordDisplayBytes(std::string_view fileBytes);

}  // namespace kelvane
