#include "common/PlainFile.h"

#include <algorithm>

namespace kelvane {
namespace {

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileRefusal refusalOf(const HandleFacts& facts) {
  // A reparse point is refused before anything else: a junction is a folder too.
  if (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return FileRefusal::ReparsePoint;
  if (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) return FileRefusal::Directory;
  if (facts.links != 1) return FileRefusal::HardLinks;
  return FileRefusal::None;
}

// Windows answers "access denied" when a folder, a junction or a read-only file
// stands at the path; the user is told which, since administrator rights would
// not help there. The attributes only explain a failure; nothing is opened on them.
PlainFileError failureOpening(const std::wstring& path, DWORD code) {
  PlainFileError error{FileRefusal::None, code};
  if (code != ERROR_ACCESS_DENIED) return error;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return error;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) error.refusal = FileRefusal::ReparsePoint;
  else if (attributes & FILE_ATTRIBUTE_DIRECTORY) error.refusal = FileRefusal::Directory;
  else if (attributes & FILE_ATTRIBUTE_READONLY) error.refusal = FileRefusal::ReadOnly;
  return error;
}

bool setAttributes(HANDLE file, DWORD attributes) {
  FILE_BASIC_INFO basic{};  // times of zero stay as they are
  basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
  return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

}  // namespace

bool SystemHandleInspector::inspect(HANDLE file, HandleFacts& facts) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file, &information)) return false;
  facts = HandleFacts{information.dwFileAttributes, information.nNumberOfLinks, information};
  return true;
}

UniqueFile PlainFiles::openChecked(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                                   PlainFileError& error, HandleFacts& facts, bool* created) {
  UniqueFile file(CreateFileW(path.c_str(), access | FILE_READ_ATTRIBUTES, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) {
    error = failureOpening(path, GetLastError());
    return {};
  }
  // OPEN_ALWAYS says ERROR_ALREADY_EXISTS when the file was there, and success when it made it.
  if (created) *created = disposition == OPEN_ALWAYS && GetLastError() != ERROR_ALREADY_EXISTS;
  if (!inspector_.inspect(file.get(), facts)) {
    error = PlainFileError{FileRefusal::None, GetLastError()};
    return {};
  }
  if (const FileRefusal refusal = refusalOf(facts); refusal != FileRefusal::None) {
    error = PlainFileError{refusal, ERROR_ACCESS_DENIED};
    return {};
  }
  return file;
}

UniqueFile PlainFiles::openForReading(const std::wstring& path, PlainFileError& error, HandleFacts& facts) {
  return openChecked(path, GENERIC_READ, ShareAll, OPEN_EXISTING, error, facts);
}

UniqueFile PlainFiles::openForReplacing(const std::wstring& path, PlainFileError& error, bool& created) {
  HandleFacts facts;
  // Nobody else reads a half-written file. DELETE lets a file this open made go
  // again through the same handle when it cannot be written.
  UniqueFile file = openChecked(path, GENERIC_WRITE | DELETE, 0, OPEN_ALWAYS, error, facts, &created);
  if (!file) return {};
  if (facts.attributes & FILE_ATTRIBUTE_READONLY) {
    error = PlainFileError{FileRefusal::ReadOnly, ERROR_ACCESS_DENIED};
    return {};
  }
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get())) {
    error = PlainFileError{FileRefusal::None, GetLastError()};
    return {};
  }
  return file;
}

bool writeAll(HANDLE file, std::string_view bytes, DWORD& errorCode) {
  while (!bytes.empty()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), want, &written, nullptr)) {
      errorCode = GetLastError();
      return false;
    }
    if (written == 0) {  // a full disk
      errorCode = ERROR_DISK_FULL;
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

bool PlainFiles::write(const std::wstring& path, std::string_view bytes, PlainFileError& error) {
  bool created = false;
  UniqueFile file = openForReplacing(path, error, created);
  if (!file) return false;
  DWORD code = ERROR_SUCCESS;
  if (writeAll(file.get(), bytes, code)) return true;
  error = PlainFileError{FileRefusal::None, code};
  // A file this call made goes again (a full disk would otherwise leave an empty
  // file nobody knows of); one that was there is emptied.
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (created && SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition)) {
    return false;
  }
  LARGE_INTEGER start{};
  SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN);
  SetEndOfFile(file.get());
  return false;
}

bool PlainFiles::remove(const std::wstring& path, PlainFileError& error) {
  HandleFacts facts;
  PlainFileError opening;
  UniqueFile file =
      openChecked(path, DELETE | FILE_WRITE_ATTRIBUTES, ShareAll, OPEN_EXISTING, opening, facts);
  if (!file) {
    if (opening.refusal == FileRefusal::None &&
        (opening.code == ERROR_FILE_NOT_FOUND || opening.code == ERROR_PATH_NOT_FOUND)) {
      return true;
    }
    error = opening;
    return false;
  }
  // Windows (and Wine) will not delete a read-only file: the attribute goes
  // first, through the same handle, and comes back if the deletion fails.
  const bool readOnly = (facts.attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !setAttributes(file.get(), facts.attributes & ~FILE_ATTRIBUTE_READONLY)) {
    error = PlainFileError{FileRefusal::None, GetLastError()};
    return false;
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition)) return true;
  error = PlainFileError{FileRefusal::None, GetLastError()};
  if (readOnly) setAttributes(file.get(), facts.attributes);
  return false;
}

}  // namespace kelvane
