#pragma once
// The tool catalogue "\tooll\tool.txt": one record per item of the item reader,
// each "caption<TAB>[filler]file". The caption is everything before the first TAB;
// the file name starts at the first ASCII letter at or after that TAB, so digits,
// blanks, punctuation and further TABs between the two are dropped. A record with
// no ASCII letter after its TAB keeps the TAB as the start of its file name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Button indices are 16-bit: element 0 is the template, entries are 1..32767.
inline constexpr int16_t MaxToolEntries = 32767;

struct ToolRecord {
  std::wstring caption;
  std::wstring file;  // relative to the tooll folder

  bool operator==(const ToolRecord&) const = default;
};

// A button fits its caption, and two columns share the page: with captions of
// at most 18 Chinese characters two fitted buttons still stand side by side on
// it. A longer caption is cut to this many characters, the last an ellipsis, so
// a damaged catalogue cannot make a button wider than the page.
inline constexpr size_t MaxToolCaptionChars = 18;

// The text itself when it has at most `maxChars` characters; otherwise its start
// and "…", `maxChars` in all, never ending in half a surrogate pair.
std::wstring shortenedText(std::wstring_view text, size_t maxChars);

// Nothing for a record without a TAB (a blank line, a stray comma): it names no
// tool. The caption is shortened to MaxToolCaptionChars.
std::optional<ToolRecord> parseToolRecord(std::wstring_view record);

// The entries of a catalogue in file order: records without a TAB are skipped and
// at most MaxToolEntries are kept.
std::vector<ToolRecord> toolEntries(const std::vector<std::wstring>& records);

}  // namespace kelvane
