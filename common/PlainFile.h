#pragma once
// Writing, emptying and deleting files as administrator without being turned
// against anyone's files.
//
// The program runs elevated, and some of the files it writes live in folders
// that people without those rights can write to (the program's own folder). A
// name there may have been taken by something planted: a hard link to one of the
// user's files, a symbolic link, a junction or a mount point. Writing or deleting
// through it would change or delete a file elsewhere with the administrator's
// rights. So a path is opened as itself (FILE_FLAG_OPEN_REPARSE_POINT) and never
// emptied by the open (OPEN_ALWAYS or OPEN_EXISTING, not CREATE_ALWAYS, which
// would empty a hard-linked file before anyone looks); the handle obtained is
// then checked (a file, not a folder, not a reparse point, with one name, and
// found where the path says: a junction, a symbolic link or a drive mapping
// anywhere on the way lands the open elsewhere, and the handle's final path then
// differs) and only that same handle is emptied, written or marked for deletion.
// The path is never checked first and opened again afterwards.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Handles.h"

namespace kelvane {

// Why a path is not taken as a plain file of the program's.
// Elsewhere: the open ended at another path than the one asked for.
enum class FileRefusal { None, Directory, ReparsePoint, HardLinks, ReadOnly, Elsewhere };

// What went wrong: a refusal, or else the system's error code.
struct PlainFileError {
  FileRefusal refusal = FileRefusal::None;
  DWORD code = ERROR_SUCCESS;
};

// What an opened handle is. The system answers from the handle's basic and
// standard information and its final path (GetFileInformationByHandle is not
// used: under Wine its volume query costs a quarter of a millisecond, and the
// deep tick opens 22 files a second); tests answer with a fake for what Wine
// cannot make (reparse points, paths that land elsewhere).
struct HandleFacts {
  DWORD attributes = 0;
  DWORD links = 0;
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // a FILETIME as one number
  std::wstring finalPath;  // where the handle ended up, a full path without "\\?\"
};
class HandleInspector {
 public:
  virtual ~HandleInspector() = default;
  virtual bool inspect(HANDLE file, HandleFacts& facts) = 0;
};
class SystemHandleInspector final : public HandleInspector {
 public:
  bool inspect(HANDLE file, HandleFacts& facts) override;
};

class PlainFiles {
 public:
  explicit PlainFiles(HandleInspector& inspector) : inspector_(inspector) {}

  // The plain file at `path`, opened for reading; others may go on reading,
  // writing and deleting it. `facts` tells what the file is.
  UniqueFile openForReading(const std::wstring& path, PlainFileError& error, HandleFacts& facts);
  UniqueFile openForReading(const std::wstring& path, PlainFileError& error) {
    HandleFacts facts;
    return openForReading(path, error, facts);
  }
  // The plain file at `path` (made when there is none), checked and then emptied,
  // ready to be written. A read-only file is refused: its owner asked for it to
  // stay as it is (Wine run as root would otherwise write it). The file keeps
  // its attributes. `created` tells whether this open made the file.
  UniqueFile openForReplacing(const std::wstring& path, PlainFileError& error, bool& created);
  UniqueFile openForReplacing(const std::wstring& path, PlainFileError& error) {
    bool created = false;
    return openForReplacing(path, error, created);
  }
  // Replaces the content of the plain file at `path` with `bytes`. A file that
  // cannot be written whole is emptied, so no half-written copy is taken for one;
  // one that this call made is deleted again, so a failure leaves nothing behind.
  bool write(const std::wstring& path, std::string_view bytes, PlainFileError& error);
  // Deletes the plain file at `path` through its handle; a file that has gone
  // already counts as deleted. A read-only file of the program's is deleted too.
  bool remove(const std::wstring& path, PlainFileError& error);
  // A new file at `path`, for reading and writing by this handle alone, with the
  // given security (none: the folder's), deleted when the handle closes. Refused
  // when anything stands at the path already, or the new file is not there.
  UniqueFile createAside(const std::wstring& path, SECURITY_ATTRIBUTES* security, PlainFileError& error);

 private:
  UniqueFile openChecked(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                         PlainFileError& error, HandleFacts& facts, bool* created = nullptr, DWORD flags = 0,
                         SECURITY_ATTRIBUTES* security = nullptr);

  HandleInspector& inspector_;
};

// Writes all of `bytes` through `file` at its current position.
bool writeAll(HANDLE file, std::string_view bytes, DWORD& errorCode);

// `path` as a full path without the "\\?\" or "\\?\UNC\" prefix; empty when it has none.
std::wstring fullPathOf(const std::wstring& path);
// Whether a handle's final path is the full path that was asked for. Names are
// compared without regard to case; a short (8.3) name in the path asked for is
// lengthened first, and only then, as that costs a look at every folder.
bool isSamePlace(const std::wstring& finalPath, const std::wstring& expected);
// The handle's final path with links resolved and long names, without "\\?\";
// empty when the system cannot tell.
std::wstring finalPathOf(HANDLE file);

}  // namespace kelvane
