#pragma once
// The application directory and whole-file reading. Paths are wide throughout, so
// an installation folder whose name lies outside the ANSI code page still works.
#include <cstdint>
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

// The file read with the item reader, each item decoded from the ANSI code page;
// nothing when the file cannot be read.
std::optional<std::vector<std::wstring>> readItemFile(const std::wstring& path);

}  // namespace kelvane
