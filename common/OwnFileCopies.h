#pragma once
// Copies of the application directory's files, made where only administrators
// can write, so what starts with this program's rights is what was checked.
//
// The application directory may be writable by anyone, and cmd reads a batch
// file line by line while it runs: a file started in place could be changed
// after the click, even while it waits at a question. So the file is read once,
// through a handle that is checked to be the plain file at the expected path,
// and its bytes are written into this run's folder of copies:
// %SystemRoot%\Temp\Kelvane-<32 random hex digits>, made fresh with an access
// list of SYSTEM and Administrators alone (refused if the name exists). Each
// launch gets its own numbered subfolder, so a second click never rewrites a
// copy that still runs. Only the file itself is copied: the shipped repair
// programs work from the system folder and need nothing beside them.
//
// The folder holds "in-use", open without sharing and deleted on close, for as
// long as the run lives: a later run then knows the folder is not a leftover.
// Copies are removed when the program ends (a copy whose program still runs is
// left for the next start); folders that a crashed run left are removed at the
// next start, without following any link inside them.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Handles.h"
#include "common/Launcher.h"

namespace kelvane {

// The folder of the system's own programs, without a trailing backslash: the
// system directory, or for a 32-bit process on 64-bit Windows the 64-bit one as
// it reaches it ("Sysnative"). Empty when the system does not say.
std::wstring nativeSystemFolder();
// The system directory as this process names it ("C:\Windows\System32").
std::wstring systemFolder();
// cmd.exe and mmc.exe of the native system folder, hh.exe of the Windows folder.
StarterPrograms systemStarterPrograms();
// The open command of an extension in HKLM\Software\Classes alone, expanded.
std::optional<std::wstring> machineAssociation(std::wstring_view extension);

// Whether the handle's final path is `path` (letter case aside).
bool handleIsAt(HANDLE file, std::wstring_view path);
// The bytes of `directory` + `relative`, read through a handle that is a plain
// file (not a folder, link or second name of another file) whose final path is
// the directory's own followed by `relative`. Nothing otherwise.
std::optional<std::string> readOwnFile(const std::wstring& directory, std::wstring_view relative);

class SystemCopyFolderSystem final : public CopyFolderSystem {
 public:
  Made makeFolder(const std::wstring& path, const wchar_t* security) override;
  bool isPlainFolder(const std::wstring& path) override;
};

class CopyFolder {
 public:
  CopyFolder() = default;
  ~CopyFolder() { removeCopies(); }
  CopyFolder(const CopyFolder&) = delete;
  CopyFolder& operator=(const CopyFolder&) = delete;

  // Writes `bytes` as a new copy called `name` (a safeCopyName); its full path.
  std::optional<std::wstring> store(std::wstring_view name, std::string_view bytes);
  // The process started on the copy at `copy`: its copy stays while it runs.
  void keepWhileRunning(const std::wstring& copy, UniqueKernelHandle process);
  // The inheritable handle that marks the folder as in use, for the programs
  // started from it; null before the first copy.
  HANDLE inUse() const { return inUse_ ? inUse_.get() : nullptr; }
  // Removes every copy whose program has ended, and the folder once empty.
  void removeCopies();

  // %SystemRoot%\Temp, where the folders of copies are made.
  static std::wstring parentFolder();
  // Removes the folders of copies in `parent` that no running copy of the
  // program holds: named as copyFolderName makes them, a plain folder, owned
  // by Administrators, SYSTEM or this account.
  static void removeLeftovers(const std::wstring& parent);

 private:
  bool ensureFolder();

  std::wstring folder_;
  UniqueFile inUse_;
  int stored_ = 0;
  struct Launch {
    std::wstring folder;
    UniqueKernelHandle process;
  };
  std::vector<Launch> launches_;
};

}  // namespace kelvane
