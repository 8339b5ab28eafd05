#pragma once
// The rules of IniAccess that need no Win32 call: the argument checks and their
// result texts, the modes, how a value comes out of the profile buffer, and how
// a solution count is read.
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

inline constexpr std::wstring_view ErrorMode = L"ERROR MODE";
inline constexpr std::wstring_view ErrorSection = L"ERROR Secname";
inline constexpr std::wstring_view ErrorKey = L"ERROR Keyname";
inline constexpr std::wstring_view ErrorValue = L"ERROR KeyValue";

// The default GetPrivateProfileString gives for a missing file, section or key.
inline constexpr std::string_view ProfileDefault = "Failed";
// Values are read through a 50-byte buffer: at most 49 bytes and the terminator.
inline constexpr int ProfileBufferBytes = 50;

enum class IniMode { Get, Write, Other };

// "GET" and "WRITE" in any mix of case.
IniMode iniMode(std::wstring_view mode);

// The result for bad arguments, checked in this order: mode, section, key, and for
// a write the value; nothing when the arguments are good.
std::optional<std::wstring> iniArgumentError(std::wstring_view mode, std::wstring_view section,
                                             std::wstring_view key,
                                             const std::optional<std::wstring>& value);

// What a GET returns for the bytes the profile call put in the buffer (up to its
// terminator): empty when they begin with "Failed" (a missing key, or a value
// beginning with those letters, in that case only), otherwise the bytes.
// `cut` says the stored value was longer than the buffer: then a GBK lead byte
// left dangling at the end by the cut is dropped.
std::string profileValue(std::string_view bytes, bool cut);

// Drops a final GBK lead byte whose trail byte was cut off. Scans from the start,
// because a byte in the lead range may be the trail of the character before it.
std::string dropDanglingLeadByte(std::string_view bytes);

// The number of solutions of a topic: a whole number from 0 to 4, blanks around
// it allowed; nothing for anything else.
std::optional<int> solutionCount(std::wstring_view text);

inline constexpr int MaxSolutions = 4;

}  // namespace kelvane
