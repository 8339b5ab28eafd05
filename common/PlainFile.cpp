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

std::wstring withoutLongPrefix(std::wstring path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}


bool equalNames(const std::wstring& first, const std::wstring& second) {
  return CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                              static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

bool setAttributes(HANDLE file, DWORD attributes) {
  FILE_BASIC_INFO basic{};  // times of zero stay as they are
  basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
  return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

}  // namespace

std::wstring finalPathOf(HANDLE file) {
  constexpr DWORD Flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
  std::wstring buffer(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), Flags);
  if (length >= buffer.size()) {  // too small: the answer is the size it needs
    buffer.resize(length);
    length = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), Flags);
    if (length >= buffer.size()) return {};
  }
  buffer.resize(length);
  return withoutLongPrefix(std::move(buffer));
}

std::wstring fullPathOf(const std::wstring& path) {
  std::wstring buffer(MAX_PATH, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (length >= buffer.size()) {
    buffer.resize(length);
    length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size()) return {};
  }
  buffer.resize(length);
  return withoutLongPrefix(std::move(buffer));
}

bool isSamePlace(const std::wstring& finalPath, const std::wstring& expected) {
  if (finalPath.empty() || expected.empty()) return false;
  if (equalNames(finalPath, expected)) return true;
  // The file exists now (it is open), so every folder of the path can be looked up.
  std::wstring longer(MAX_PATH, L'\0');
  DWORD length = GetLongPathNameW(expected.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
  if (length >= longer.size()) {
    longer.resize(length);
    length = GetLongPathNameW(expected.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    if (length >= longer.size()) return false;
  }
  longer.resize(length);
  return length > 0 && equalNames(finalPath, withoutLongPrefix(std::move(longer)));
}

bool SystemHandleInspector::inspect(HANDLE file, HandleFacts& facts) {
  FILE_BASIC_INFO basic{};
  FILE_STANDARD_INFO standard{};
  if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard)) {
    return false;
  }
  std::wstring finalPath = finalPathOf(file);
  if (finalPath.empty()) return false;
  facts = HandleFacts{basic.FileAttributes, standard.NumberOfLinks, static_cast<uint64_t>(standard.EndOfFile.QuadPart),
                      static_cast<uint64_t>(basic.LastWriteTime.QuadPart), std::move(finalPath)};
  return true;
}

UniqueFile PlainFiles::openChecked(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                                   PlainFileError& error, HandleFacts& facts, bool* created, DWORD flags,
                                   SECURITY_ATTRIBUTES* security) {
  // Where the open must end: the path made full, "." and ".." resolved as the system resolves them.
  const std::wstring expected = fullPathOf(path);
  UniqueFile file(CreateFileW(path.c_str(), access | FILE_READ_ATTRIBUTES, share, security, disposition,
                              (flags ? flags : FILE_ATTRIBUTE_NORMAL) | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) {
    error = failureOpening(path, GetLastError());
    return {};
  }
  // OPEN_ALWAYS says ERROR_ALREADY_EXISTS when the file was there, and success when it made it.
  const bool made = disposition == OPEN_ALWAYS && GetLastError() != ERROR_ALREADY_EXISTS;
  if (created) *created = made;
  if (!inspector_.inspect(file.get(), facts)) {
    error = PlainFileError{FileRefusal::None, GetLastError()};
  } else {
    FileRefusal refusal = refusalOf(facts);
    if (refusal == FileRefusal::None && !isSamePlace(facts.finalPath, expected)) refusal = FileRefusal::Elsewhere;
    if (refusal == FileRefusal::None) return file;
    error = PlainFileError{refusal, ERROR_ACCESS_DENIED};
  }
  // A file this open made where it should not be goes again, through the handle
  // that made it, so a refused open leaves nothing behind.
  if (made && (access & DELETE)) {
    FILE_DISPOSITION_INFO deletion{TRUE};
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &deletion, sizeof deletion);
  }
  return {};
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

UniqueFile PlainFiles::createAside(const std::wstring& path, SECURITY_ATTRIBUTES* security, PlainFileError& error) {
  // CREATE_NEW fails on anything at the name, a link planted there included; a
  // refused file goes when its handle closes.
  HandleFacts facts;
  return openChecked(path, GENERIC_READ | GENERIC_WRITE | DELETE, 0, CREATE_NEW, error, facts, nullptr,
                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, security);
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
