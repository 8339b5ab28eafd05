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

// Nothing for a record without a TAB (a blank line, a stray comma): it names no tool.
std::optional<ToolRecord> parseToolRecord(std::wstring_view record);

// The entries of a catalogue in file order: records without a TAB are skipped and
// at most MaxToolEntries are kept.
std::vector<ToolRecord> toolEntries(const std::vector<std::wstring>& records);

}  // namespace kelvane
