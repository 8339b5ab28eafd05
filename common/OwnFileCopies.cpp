#define _CRT_RAND_S  // rand_s: random numbers from the system's generator
#include "common/OwnFileCopies.h"

#include <aclapi.h>
#include <sddl.h>

#include <cstdlib>

#include "common/AppPath.h"
#include "common/PlainFile.h"

namespace kelvane {
namespace {

constexpr wchar_t InUseName[] = L"\\in-use";
// Larger than any help file or repair program; a bigger "program" is refused
// rather than read into memory.
constexpr LONGLONG MaxCopyBytes = 64LL * 1024 * 1024;

std::wstring withoutTrailingBackslash(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring directoryFinalPath(const std::wstring& directory) {
  const UniqueFile handle(CreateFileW(directory.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return handle ? finalPathOf(handle.get()) : std::wstring();
}

bool readAll(HANDLE file, std::string& bytes) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart > MaxCopyBytes) return false;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr) || read == 0) {
      return false;
    }
    done += read;
  }
  return true;
}

UniqueFile openFolder(const std::wstring& path, DWORD access) {
  return UniqueFile(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool isPlainDirectory(HANDLE folder) {
  BY_HANDLE_FILE_INFORMATION facts{};
  return GetFileInformationByHandle(folder, &facts) && (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(facts.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Deletes what is in `folder` and then the folder. A link is removed as
// itself and never entered, so nothing outside the folder is touched; below
// `depth` levels nothing is entered at all.
void removeTree(const std::wstring& folder, int depth) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                         nullptr, 0);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring_view name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + found.cFileName;
      const bool directory = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      const bool link = found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
      if (directory && !link && depth > 0) {
        removeTree(path, depth - 1);
      } else if (directory) {
        RemoveDirectoryW(path.c_str());
      } else {
        if (!link && (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
          SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

bool isAccountOfThisProcess(PSID owner) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const UniqueKernelHandle tokenHandle(token);
  alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) return false;
  return EqualSid(owner, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

// Administrators or SYSTEM, as the folder of copies is made; or this account,
// which is what the system records where it keeps no owner of its own choosing
// (Wine). A folder of anyone else is not ours, whatever its name.
bool ownedByUs(HANDLE folder) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR security = nullptr;
  if (GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                      &security) != ERROR_SUCCESS) {
    return false;
  }
  const bool ours = owner && (IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                              IsWellKnownSid(owner, WinLocalSystemSid) || isAccountOfThisProcess(owner));
  LocalFree(security);
  return ours;
}

}  // namespace

std::wstring systemFolder() {
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return withoutTrailingBackslash(std::wstring(system, length));
}

std::wstring nativeSystemFolder() {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return systemFolder();
  // There the system directory is redirected to the 32-bit one, which lacks
  // some programs (the defragmenter and backup are 64-bit only).
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return withoutTrailingBackslash(std::wstring(windows, length)) + L"\\Sysnative";
}

StarterPrograms systemStarterPrograms() {
  StarterPrograms programs;
  if (const std::wstring native = nativeSystemFolder(); !native.empty()) {
    programs.commandInterpreter = native + L"\\cmd.exe";
    programs.managementConsole = native + L"\\mmc.exe";
  }
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    programs.helpViewer = withoutTrailingBackslash(std::wstring(windows, length)) + L"\\hh.exe";
  }
  return programs;
}

std::optional<std::wstring> machineAssociation(std::wstring_view extension) {
  const auto read = [](const std::wstring& key) -> std::optional<std::wstring> {
    wchar_t value[2048];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::wstring text(value);
    if (text.empty()) return std::nullopt;
    return text;
  };
  // HKLM alone: HKCU\Software\Classes, which any program of the user may
  // write, is what the merged view (HKEY_CLASSES_ROOT) would ask first.
  const std::optional<std::wstring> progId = read(L"Software\\Classes\\" + std::wstring(extension));
  if (!progId || progId->find(L'\\') != std::wstring::npos) return std::nullopt;
  return read(L"Software\\Classes\\" + *progId + L"\\shell\\open\\command");
}

bool handleIsAt(HANDLE file, std::wstring_view path) {
  return isSamePlace(finalPathOf(file), std::wstring(path));
}

std::optional<std::string> readOwnFile(const std::wstring& directory, std::wstring_view relative) {
  SystemHandleInspector inspector;
  PlainFileError error;
  const UniqueFile file = PlainFiles(inspector).openForReading(appPath(directory, relative), error);
  if (!file) return std::nullopt;
  // The directory itself may lie anywhere; below it, no link may lead the
  // file elsewhere (a "tooll" made a junction, for one).
  const std::wstring base = withoutTrailingBackslash(directoryFinalPath(directory));
  if (base.empty() || !handleIsAt(file.get(), base + std::wstring(relative))) return std::nullopt;
  std::string bytes;
  if (!readAll(file.get(), bytes)) return std::nullopt;
  return bytes;
}

CopyFolderSystem::Made SystemCopyFolderSystem::makeFolder(const std::wstring& path, const wchar_t* security) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(security, SDDL_REVISION_1, &descriptor, nullptr)) {
    return Made::Failed;
  }
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  const BOOL made = CreateDirectoryW(path.c_str(), &attributes);
  const DWORD error = GetLastError();
  LocalFree(descriptor);
  if (made) return Made::Created;
  return error == ERROR_ALREADY_EXISTS ? Made::Exists : Made::Failed;
}

bool SystemCopyFolderSystem::isPlainFolder(const std::wstring& path) {
  const UniqueFile folder = openFolder(path, FILE_READ_ATTRIBUTES);
  return folder && isPlainDirectory(folder.get()) && handleIsAt(folder.get(), path);
}

std::wstring CopyFolder::parentFolder() {
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return withoutTrailingBackslash(std::wstring(windows, length)) + L"\\Temp";
}

bool CopyFolder::ensureFolder() {
  if (!folder_.empty()) return true;
  unsigned char random[16];
  for (size_t i = 0; i < sizeof random; i += sizeof(unsigned int)) {
    unsigned int value = 0;
    if (rand_s(&value) != 0) return false;
    memcpy(random + i, &value, sizeof value);
  }
  SystemCopyFolderSystem system;
  const std::optional<std::wstring> made = makeCopyFolder(system, parentFolder(), copyFolderName(random));
  if (!made) return false;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};  // given only to our own starts
  inUse_.reset(CreateFileW((*made + InUseName).c_str(), GENERIC_WRITE | DELETE, 0, &inheritable, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  folder_ = *made;
  return true;
}

std::optional<std::wstring> CopyFolder::store(std::wstring_view name, std::string_view bytes) {
  if (name.empty() || !ensureFolder()) return std::nullopt;
  const std::wstring launch = folder_ + L"\\" + std::to_wstring(++stored_);
  // Inside a folder that only administrators can write, a name this run has
  // not used yet: made new, never opened as something that was there.
  if (!CreateDirectoryW(launch.c_str(), nullptr)) return std::nullopt;
  const std::wstring copy = launch + L"\\" + std::wstring(name);
  UniqueFile file(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD error = ERROR_SUCCESS;
  if (!file || !writeAll(file.get(), bytes, error)) {
    file.reset();
    removeTree(launch, 0);
    return std::nullopt;
  }
  launches_.push_back({launch, UniqueKernelHandle()});
  return copy;
}

void CopyFolder::keepWhileRunning(const std::wstring& copy, UniqueKernelHandle process) {
  for (Launch& launch : launches_) {
    if (copy.starts_with(launch.folder + L"\\")) launch.process = std::move(process);
  }
}

void CopyFolder::removeCopies() {
  if (folder_.empty()) return;
  std::vector<Launch> running;
  for (Launch& launch : launches_) {
    if (launch.process && WaitForSingleObject(launch.process.get(), 0) == WAIT_TIMEOUT) {
      running.push_back(std::move(launch));
    } else {
      removeTree(launch.folder, 0);
    }
  }
  launches_ = std::move(running);
  if (!launches_.empty()) return;
  inUse_.reset();
  RemoveDirectoryW(folder_.c_str());
  folder_.clear();
}

void CopyFolder::removeLeftovers(const std::wstring& parent) {
  if (parent.empty()) return;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW((parent + L"\\" + std::wstring(CopyFolderPrefix) + L"*").c_str(),
                                         FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!isCopyFolderName(found.cFileName) || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      continue;
    }
    const std::wstring path = parent + L"\\" + found.cFileName;
    {
      const UniqueFile folder = openFolder(path, READ_CONTROL | FILE_READ_ATTRIBUTES);
      if (!folder || !isPlainDirectory(folder.get()) || !ownedByUs(folder.get())) continue;
    }
    // A run that lives holds its "in-use" open without sharing.
    if (!UniqueFile(CreateFileW((path + InUseName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr)) &&
        GetLastError() == ERROR_SHARING_VIOLATION) {
      continue;
    }
    removeTree(path, 1);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace kelvane
