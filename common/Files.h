#pragma once
// The application directory and whole-file reading. Paths are wide throughout, so
// an installation folder whose name lies outside the ANSI code page still works.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// The folder of the running executable (see AppPath.h for the form).
std::wstring applicationDirectory();

// The file's bytes, or nothing when it cannot be opened or read, or holds more
// than `maxBytes` (then nothing of it is read).
std::optional<std::string> readFileBytes(const std::wstring& path, uint64_t maxBytes = 0x7FFFFFFF);

// The size of a file, or nothing when there is no file at that path (a folder
// is no file).
std::optional<uint64_t> fileSize(const std::wstring& path);

// The file read with the item reader in whichever encoding it is (TextEncoding.h);
// nothing when the file cannot be read.
std::optional<std::vector<std::wstring>> readItemFile(const std::wstring& path);

// The file read a piece at a time with the item reader: each item, decoded as
// readItemFile decodes it, goes to `onItem` with whether it is whole (an item longer
// than `maxItemBytes` arrives cut), until `onItem` returns false or the file ends.
// Memory stays at one piece and one item whatever the file's size. False when the
// file cannot be opened or a read fails (the items before it have been handed on).
bool readItemFileInPieces(const std::wstring& path, size_t maxItemBytes,
                          const std::function<bool(std::wstring_view item, bool whole)>& onItem);

}  // namespace kelvane
