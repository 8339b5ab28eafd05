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

// A GET of a missing file, section or key yields this text, and a value that
// begins with it (case-sensitively) reads as empty too.
inline constexpr std::wstring_view ProfileDefault = L"Failed";
// Values have always been read through a 50-byte buffer of GBK text: at most 49
// bytes of a value and the terminator.
inline constexpr size_t ProfileValueBytes = 49;

enum class IniMode { Get, Write, Other };

// "GET" and "WRITE" in any mix of case.
IniMode iniMode(std::wstring_view mode);

// The result for bad arguments, checked in this order: mode, section, key, and for
// a write the value; nothing when the arguments are good.
std::optional<std::wstring> iniArgumentError(std::wstring_view mode, std::wstring_view section,
                                             std::wstring_view key,
                                             const std::optional<std::wstring>& value);

// The profile file, decoded, read as the system's profile functions read it:
// "[name]" starts a section, "key = value" lines follow; names match without
// regard to ASCII case; a value loses the blanks around it and one pair of
// enclosing quotes (double or single). Only the first section of a name counts,
// and in it the first line of a key. Lines end at CR LF, CR or LF; a line without
// an equals sign holds no value. Nothing when the section or key is missing.
std::optional<std::wstring> profileLookup(std::wstring_view text, std::wstring_view section, std::wstring_view key);

// The text with `key` of `section` set to `value`: the key's line replaced, or a
// line added after the section's last, or the section added at the end.
std::wstring profileWithValue(std::wstring_view text, std::wstring_view section, std::wstring_view key,
                              std::wstring_view value);

// What a GET returns for a stored value: empty for none, for an empty one and for
// one beginning with "Failed"; otherwise the value cut to ProfileValueBytes.
std::wstring profileResult(const std::optional<std::wstring>& stored);

// The text cut to at most `maxBytes` bytes of GBK, never inside a character, so a
// caption is cut at the same character whichever encoding its file is in. Told
// without the code page's table: an ASCII character and the euro sign (one byte
// in code page 936) take one byte, every other character two; a character GBK
// lacks counts as two as well (a surrogate pair is one such character).
std::wstring cutToGbkBytes(std::wstring_view text, size_t maxBytes);

// The number of solutions of a topic: a whole number from 0 to 4, blanks around
// it allowed; nothing for anything else.
std::optional<int> solutionCount(std::wstring_view text);

inline constexpr int MaxSolutions = 4;

}  // namespace kelvane
