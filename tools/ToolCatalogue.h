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

// The shell starts nothing whose path is longer than MAX_PATH (260) characters,
// and the path is the application directory + "\tooll\" + the file name: a
// longer file name can never start, and would only take memory.
inline constexpr size_t MaxToolFileChars = 260;
// A record the reader keeps whole: room for a caption of a megabyte before the
// TAB. A longer record is cut by the reader and names no tool.
inline constexpr size_t MaxToolRecordBytes = 4 << 20;

// Nothing for a record without a TAB (a blank line, a stray comma) or with a file
// name longer than MaxToolFileChars: it names no tool. The caption is shortened
// to MaxToolCaptionChars.
std::optional<ToolRecord> parseToolRecord(std::wstring_view record);

// The entries of a catalogue as its records arrive, in file order: records that
// name no tool are skipped, and at most MaxToolEntries are kept.
class ToolCatalogueLoader {
 public:
  // Takes the next record (`whole` false: the reader cut it, so it names no
  // tool). False once no more records are wanted: the entries are complete, and
  // a record that is not empty follows them, so the rest of the file was left out.
  bool take(std::wstring_view record, bool whole = true);

  const std::vector<ToolRecord>& entries() const { return entries_; }
  std::vector<ToolRecord> takeEntries() { return std::move(entries_); }
  // The catalogue went on past the last entry the page can hold.
  bool restLeftOut() const { return restLeftOut_; }

 private:
  std::vector<ToolRecord> entries_;
  bool restLeftOut_ = false;
};

// The entries of a catalogue's records, loaded as above.
std::vector<ToolRecord> toolEntries(const std::vector<std::wstring>& records);

}  // namespace kelvane
