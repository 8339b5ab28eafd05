#include "detector/DetectorSystem.h"

#include <array>

namespace kelvane {
namespace {

// Bait files are compared a block at a time; bytes past a file's end read as zero.
constexpr DWORD BlockSize = 1024;

// How often a quiet watch checks that its folder is still there.
constexpr ULONGLONG FolderCheckIntervalMs = 1000;

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool sameFile(HANDLE first, HANDLE second) {
  BY_HANDLE_FILE_INFORMATION a{}, b{};
  if (!GetFileInformationByHandle(first, &a) || !GetFileInformationByHandle(second, &b)) return true;  // cannot tell
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

std::wstring queryDirectory(UINT (WINAPI* query)(LPWSTR, UINT)) {
  std::wstring buffer(MAX_PATH, L'\0');
  UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
  if (length > buffer.size()) {  // too small: the answer is the size it needs
    buffer.resize(length);
    length = query(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) return {};
  }
  buffer.resize(length);
  return buffer;
}

FileFailure failureOf(DWORD code) {
  return FileFailure{describeError(code), code == ERROR_ACCESS_DENIED || code == ERROR_PRIVILEGE_NOT_HELD};
}

// The 32-bit program on 64-bit Windows: file-system redirection would send every
// access to the system directory into SysWOW64, so the bait files would not be
// where the system directory query (and every message) says they are, and the
// 32- and 64-bit programs would plant them in different folders. File accesses
// of the bait files therefore run with redirection off for this thread, only
// for the length of each call (nothing else, and no library load, happens then).
// The functions are looked up at run time: 32-bit Windows without WOW64 lacks them.
class RedirectionOff {
 public:
  RedirectionOff() {
#if !defined(_WIN64)
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    static const auto disable = reinterpret_cast<DisableFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "Wow64DisableWow64FsRedirection")));
    active_ = disable && disable(&previous_);
#endif
  }
  ~RedirectionOff() {
#if !defined(_WIN64)
    using RevertFn = BOOL(WINAPI*)(PVOID);
    static const auto revert = reinterpret_cast<RevertFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "Wow64RevertWow64FsRedirection")));
    if (active_ && revert) revert(previous_);
#endif
  }
  RedirectionOff(const RedirectionOff&) = delete;
  RedirectionOff& operator=(const RedirectionOff&) = delete;

 private:
  [[maybe_unused]] PVOID previous_ = nullptr;
  [[maybe_unused]] bool active_ = false;
};

UniqueFile openForReading(const std::wstring& path) {
  RedirectionOff redirection;
  // Others may go on reading, writing and deleting: the comparison only looks.
  return UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, ShareAll,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

// Fills the block with the file's next bytes and zeros after its end; false when
// the read fails.
bool readBlock(HANDLE file, std::array<char, BlockSize>& block) {
  block.fill(0);
  DWORD total = 0;
  while (total < BlockSize) {
    DWORD read = 0;
    if (!ReadFile(file, block.data() + total, BlockSize - total, &read, nullptr)) return false;
    if (read == 0) break;
    total += read;
  }
  return true;
}

}  // namespace

std::wstring systemDirectory() { return queryDirectory(GetSystemDirectoryW); }
std::wstring windowsDirectory() { return queryDirectory(GetWindowsDirectoryW); }

std::wstring describeError(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = L"错误代码 " + std::to_wstring(code);
  return text;
}

FileOutcome ChangeNotificationWatch::open(const std::wstring& folder) {
  close();
  // Reading attributes too lets the watch tell whether its folder is still there.
  folder_.reset(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
  if (!folder_) return failureOf(GetLastError());
  path_ = folder;
  checkedAt_ = GetTickCount64();
  event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event_ || !request()) {
    const DWORD error = GetLastError();
    close();
    return failureOf(error);
  }
  return std::nullopt;
}

bool ChangeNotificationWatch::request() {
  overlapped_ = OVERLAPPED{};
  overlapped_.hEvent = event_.get();
  ResetEvent(event_.get());
  DWORD unused = 0;
  pending_ = ReadDirectoryChangesW(folder_.get(), buffer_, sizeof buffer_, FALSE, Filter, &unused, &overlapped_,
                                   nullptr) != 0;
  return pending_;
}

bool ChangeNotificationWatch::rearm() {
  if (!folder_ || pending_) return false;
  return request();
}

WaitResult ChangeNotificationWatch::wait(unsigned milliseconds) {
  if (!folder_ || !pending_) return WaitResult::Failed;
  switch (WaitForSingleObject(event_.get(), milliseconds)) {
    case WAIT_OBJECT_0: {
      DWORD bytes = 0;
      pending_ = false;
      // Zero bytes means more changed than the buffer holds: still a change.
      if (!GetOverlappedResult(folder_.get(), &overlapped_, &bytes, FALSE) && GetLastError() != ERROR_NOTIFY_ENUM_DIR) {
        return WaitResult::Failed;
      }
      return WaitResult::Signalled;
    }
    case WAIT_TIMEOUT: {
      const ULONGLONG now = GetTickCount64();
      if (now - checkedAt_ < FolderCheckIntervalMs) return WaitResult::TimedOut;
      checkedAt_ = now;
      return folderStillThere() ? WaitResult::TimedOut : WaitResult::Failed;
    }
    default: return WaitResult::Failed;
  }
}

bool ChangeNotificationWatch::folderStillThere() const {
  // A deleted folder that the watch still holds open is marked delete-pending.
  FILE_STANDARD_INFO standard{};
  if (GetFileInformationByHandleEx(folder_.get(), FileStandardInfo, &standard, sizeof standard) &&
      standard.DeletePending) {
    return false;
  }
  // A folder moved away leaves its name free, or to another folder.
  const UniqueFile named(CreateFileW(path_.c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!named) return GetLastError() == ERROR_SHARING_VIOLATION;  // held by another program, but there
  return sameFile(folder_.get(), named.get());
}

void ChangeNotificationWatch::close() {
  if (folder_ && pending_) {
    // The buffer must outlive the request: cancel it and wait until it has ended.
    CancelIoEx(folder_.get(), &overlapped_);
    DWORD bytes = 0;
    GetOverlappedResult(folder_.get(), &overlapped_, &bytes, TRUE);
  }
  pending_ = false;
  folder_.reset();
  event_.reset();
}

FileOutcome DiskBaitFiles::write(const std::wstring& path, std::string_view bytes) {
  RedirectionOff redirection;
  // A read-only file in the way stays as it is. Windows refuses to open it for
  // writing anyway; Wine run with root rights would truncate it.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return failureOf(ERROR_ACCESS_DENIED);
  }
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return failureOf(GetLastError());
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    const DWORD error = GetLastError();
    file.reset();
    DeleteFileW(path.c_str());
    return failureOf(error);
  }
  if (written != bytes.size()) {  // a full disk
    file.reset();
    DeleteFileW(path.c_str());
    return failureOf(ERROR_DISK_FULL);
  }
  return std::nullopt;
}

Comparison DiskBaitFiles::compare(const std::wstring& bait, const std::wstring& backup) {
  const UniqueFile baitFile = openForReading(bait);
  const UniqueFile backupFile = openForReading(backup);
  LARGE_INTEGER baitSize{}, backupSize{};
  const bool baitReadable = baitFile && GetFileSizeEx(baitFile.get(), &baitSize);
  const bool backupReadable = backupFile && GetFileSizeEx(backupFile.get(), &backupSize);
  if (!baitReadable) return backupReadable ? Comparison::BaitUnreadable : Comparison::BothUnreadable;
  if (!backupReadable) return Comparison::BackupUnreadable;
  // Bytes appended to the bait file, zero bytes too, change it, although they
  // would compare equal with the zeros that stand past the backup's end.
  if (baitSize.QuadPart != backupSize.QuadPart) return Comparison::Changed;
  std::array<char, BlockSize> baitBlock, backupBlock;
  for (LONGLONG done = 0; done < baitSize.QuadPart; done += BlockSize) {
    if (!readBlock(baitFile.get(), baitBlock)) return Comparison::BaitUnreadable;
    if (!readBlock(backupFile.get(), backupBlock)) return Comparison::BackupUnreadable;
    if (baitBlock != backupBlock) return Comparison::Changed;
  }
  return Comparison::Same;
}

FileOutcome DiskBaitFiles::copy(const std::wstring& from, const std::wstring& to) {
  RedirectionOff redirection;
  if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) return failureOf(GetLastError());
  return std::nullopt;
}

FileOutcome DiskBaitFiles::remove(const std::wstring& path) {
  RedirectionOff redirection;
  if (DeleteFileW(path.c_str())) return std::nullopt;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
  return failureOf(error);
}

}  // namespace kelvane
