#include "detector/DetectorSystem.h"

#include <wincrypt.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "detector/DetectorText.h"

namespace kelvane {
namespace {

// Files are read and compared a block at a time.
constexpr DWORD BlockSize = 64 * 1024;

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

FileFailure failureOf(const PlainFileError& error) {
  switch (error.refusal) {
    case FileRefusal::Directory: return FileFailure{std::wstring(detector_text::DirectoryReason)};
    case FileRefusal::ReparsePoint: return FileFailure{std::wstring(detector_text::ReparsePointReason)};
    case FileRefusal::HardLinks: return FileFailure{std::wstring(detector_text::HardLinksReason)};
    case FileRefusal::ReadOnly: return FileFailure{std::wstring(detector_text::ReadOnlyReason)};
    case FileRefusal::None: break;
  }
  return failureOf(error.code);
}

// SHA-256 through the system's cryptographic provider (present since Windows XP
// SP3). A digest is always made before file-system redirection goes off: the
// provider's library then loads from the right folder (see CryptoProvider).
class Sha256 {
 public:
  explicit Sha256(HCRYPTPROV provider) {
    if (!provider || !CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash_)) hash_ = 0;
  }
  ~Sha256() {
    if (hash_) CryptDestroyHash(hash_);
  }
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  bool add(const char* bytes, DWORD size) {
    return hash_ && CryptHashData(hash_, reinterpret_cast<const BYTE*>(bytes), size, 0);
  }
  // The digest, or empty text when it could not be made.
  std::string finish() {
    std::string digest(32, '\0');
    DWORD size = static_cast<DWORD>(digest.size());
    if (!hash_ || !CryptGetHashParam(hash_, HP_HASHVAL, reinterpret_cast<BYTE*>(digest.data()), &size, 0)) return {};
    digest.resize(size);
    return digest;
  }

 private:
  HCRYPTHASH hash_ = 0;
};

enum class ReadResult { Full, Short, Failed };

// Reads `size` bytes, or fewer when the file ends first (it shrank).
ReadResult readExactly(HANDLE file, char* buffer, DWORD size) {
  DWORD total = 0;
  while (total < size) {
    DWORD read = 0;
    if (!ReadFile(file, buffer + total, size - total, &read, nullptr)) return ReadResult::Failed;
    if (read == 0) return ReadResult::Short;
    total += read;
  }
  return ReadResult::Full;
}

// What a file was when a comparison began. A file that is no longer that
// (replaced, written, resized) between two ticks makes the comparison begin again.
struct FileStamp {
  DWORD volume = 0, indexHigh = 0, indexLow = 0;
  uint64_t size = 0;
  uint64_t written = 0;
  bool operator==(const FileStamp&) const = default;
};

uint64_t sizeOf(const BY_HANDLE_FILE_INFORMATION& information) {
  return (static_cast<uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
}

FileStamp stampOf(const BY_HANDLE_FILE_INFORMATION& information) {
  return FileStamp{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow,
                    sizeOf(information),
                    (static_cast<uint64_t>(information.ftLastWriteTime.dwHighDateTime) << 32) |
                        information.ftLastWriteTime.dwLowDateTime};
}

bool seekTo(HANDLE file, uint64_t offset) {
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != 0;
}

// Compares a bait with its backup of the same size, or, when the backup cannot
// be read, with what the pair should hold: the content itself (small) or its
// digest. A large file takes several calls, one or more a tick; between them
// the files are closed, so nobody else is kept from writing, replacing or
// holding them, and each call opens them again where it stopped.
class DiskPairComparison final : public PairComparison {
 public:
  DiskPairComparison(PlainFiles& files, CryptoProvider& crypto, const BaitPair& pair, const KeptContent& kept)
      : files_(files), crypto_(crypto), pair_(pair), kept_(kept) {}

  std::optional<Comparison> advance(uint64_t bytes) override {
    if (verdict_) return verdict_;
    // A call measures against the kept digest at most once from the start: the
    // digest it may need is made now, before redirection goes off.
    if (!kept_.whole() && !spareDigest_) spareDigest_ = std::make_unique<Sha256>(crypto_.get());
    RedirectionOff redirection;
    if (!begun_ || !reopen()) begin();
    while (!verdict_ && done_ < size_ && bytes > 0) {
      const DWORD block = static_cast<DWORD>(std::min<uint64_t>({BlockSize, size_ - done_, bytes}));
      if (compareBlock(block)) done_ += block;
      bytes -= block;
    }
    if (!verdict_ && done_ >= size_) verdict_ = finalVerdict();
    bait_.reset();
    backup_.reset();
    return verdict_;
  }

 private:
  enum class Against { Backup, KeptBytes, KeptDigest };

  Comparison changed() const {
    return against_ == Against::Backup ? Comparison::Changed : Comparison::ChangedBackupUnreadable;
  }

  UniqueFile open(const std::wstring& path, FileStamp& stamp) {
    PlainFileError ignored;
    HandleFacts facts;
    UniqueFile file = files_.openForReading(path, ignored, facts);
    if (file) stamp = stampOf(facts.details);
    return file;
  }

  void begin() {
    begun_ = true;
    done_ = 0;
    against_ = Against::Backup;
    digest_.reset();
    bait_ = open(pair_.bait, baitStamp_);
    backup_ = open(pair_.backup, backupStamp_);
    size_ = baitStamp_.size;
    if (!bait_) {
      verdict_ = backup_ ? Comparison::BaitUnreadable : Comparison::BothUnreadable;
    } else if (!backup_) {
      compareWithKept();
    } else if (size_ != backupStamp_.size) {
      verdict_ = Comparison::Changed;  // bytes appended, zero bytes too, change a bait
    }
  }

  // Opens the files again where the last call stopped; false when either is no
  // longer the file it was.
  bool reopen() {
    FileStamp stamp;
    bait_ = open(pair_.bait, stamp);
    if (!bait_ || !(stamp == baitStamp_) || !seekTo(bait_.get(), done_)) return false;
    if (against_ != Against::Backup) return true;
    backup_ = open(pair_.backup, stamp);
    return backup_ && stamp == backupStamp_ && seekTo(backup_.get(), done_);
  }

  // The backup is not there or not to be trusted: the bait is measured against
  // what was kept, from its start.
  void compareWithKept() {
    backup_.reset();
    done_ = 0;
    if (!seekTo(bait_.get(), 0)) {
      verdict_ = Comparison::BothUnreadable;
      return;
    }
    against_ = kept_.whole() ? Against::KeptBytes : Against::KeptDigest;
    if (against_ == Against::KeptDigest) digest_ = std::move(spareDigest_);
    if (!digest_) digest_ = std::make_unique<Sha256>(0);  // not reached; a digest that cannot be made reports a change
    if (size_ != kept_.size) verdict_ = Comparison::ChangedBackupUnreadable;
  }

  // Compares the next block; false when the backup failed and the comparison
  // began again against what was kept.
  bool compareBlock(DWORD block) {
    baitBlock_.resize(BlockSize);
    switch (readExactly(bait_.get(), baitBlock_.data(), block)) {
      case ReadResult::Failed:
        verdict_ = against_ == Against::Backup ? Comparison::BaitUnreadable : Comparison::BothUnreadable;
        return true;
      case ReadResult::Short: verdict_ = changed(); return true;
      case ReadResult::Full: break;
    }
    switch (against_) {
      case Against::Backup:
        backupBlock_.resize(BlockSize);
        switch (readExactly(backup_.get(), backupBlock_.data(), block)) {
          case ReadResult::Failed: compareWithKept(); return false;
          case ReadResult::Short: verdict_ = changed(); return true;
          case ReadResult::Full: break;
        }
        if (std::memcmp(baitBlock_.data(), backupBlock_.data(), block) != 0) verdict_ = changed();
        return true;
      case Against::KeptBytes:
        if (std::memcmp(baitBlock_.data(), kept_.bytes.data() + done_, block) != 0) verdict_ = changed();
        return true;
      case Against::KeptDigest:
        if (!digest_->add(baitBlock_.data(), block)) verdict_ = changed();  // cannot tell: reported
        return true;
    }
    return true;
  }

  Comparison finalVerdict() {
    switch (against_) {
      case Against::Backup: return Comparison::Same;
      case Against::KeptBytes: return Comparison::BackupUnreadable;
      case Against::KeptDigest: break;
    }
    return digest_->finish() == kept_.digest ? Comparison::BackupUnreadable : Comparison::ChangedBackupUnreadable;
  }

  PlainFiles& files_;
  CryptoProvider& crypto_;
  const BaitPair pair_;
  const KeptContent kept_;  // a copy: small, or only a size and digest
  bool begun_ = false;
  UniqueFile bait_, backup_;  // open only within a call
  FileStamp baitStamp_, backupStamp_;
  uint64_t size_ = 0;
  uint64_t done_ = 0;
  Against against_ = Against::Backup;
  std::unique_ptr<Sha256> digest_;  // only for a content kept by its digest
  std::unique_ptr<Sha256> spareDigest_;  // made outside redirection, for digest_
  std::vector<char> baitBlock_, backupBlock_;
  std::optional<Comparison> verdict_;
};

// Copies the content alone: the attributes of `from` (read-only, hidden) stay
// behind, so they cannot stand in the way of a later write or deletion. A file
// that keeps growing while it is read would make the copy endless: no more is
// copied than the size it had when opened. On failure the target is emptied, so
// no half copy is taken for one.
bool copyContent(PlainFiles& files, const std::wstring& from, const std::wstring& to, Sha256& digest,
                 KeptContent& copied, PlainFileError& error) {
  HandleFacts facts;
  const UniqueFile source = files.openForReading(from, error, facts);
  if (!source) return false;
  const UniqueFile target = files.openForReplacing(to, error);
  if (!target) return false;
  KeptContent content;
  std::vector<char> buffer(BlockSize);
  DWORD code = ERROR_SUCCESS;
  for (uint64_t left = sizeOf(facts.details); left > 0 && code == ERROR_SUCCESS;) {
    DWORD read = 0;
    if (!ReadFile(source.get(), buffer.data(), static_cast<DWORD>(std::min<uint64_t>(BlockSize, left)), &read,
                  nullptr)) {
      code = GetLastError();
      break;
    }
    if (read == 0) break;  // it shrank
    left -= read;
    if (!writeAll(target.get(), std::string_view(buffer.data(), read), code)) break;
    content.size += read;
    // Kept whole while small; beyond that only the digest goes on.
    if (content.size <= KeptBytesLimit) content.bytes.append(buffer.data(), read);
    if (!digest.add(buffer.data(), read)) code = ERROR_INVALID_FUNCTION;
  }
  if (code == ERROR_SUCCESS && content.size > KeptBytesLimit) {
    content.bytes.clear();
    content.digest = digest.finish();
    if (content.digest.empty()) code = ERROR_INVALID_FUNCTION;
  }
  if (code != ERROR_SUCCESS) {
    LARGE_INTEGER start{};
    SetFilePointerEx(target.get(), start, nullptr, FILE_BEGIN);
    SetEndOfFile(target.get());
    error = PlainFileError{FileRefusal::None, code};
    return false;
  }
  copied = std::move(content);
  return true;
}

// The identity of an existing file or folder: its volume and index.
bool identityOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& information) {
  const UniqueFile handle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return handle && GetFileInformationByHandle(handle.get(), &information);
}

std::wstring withoutTrailingBackslashes(std::wstring path) {
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
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

// The cryptographic provider is a library that loads when first acquired; with
// redirection off, the 32-bit program would look for it in the 64-bit system
// folder and never get it. It is therefore acquired before any file access.
CryptoProvider::~CryptoProvider() {
  if (handle_) CryptReleaseContext(handle_, 0);
}

ULONG_PTR CryptoProvider::get() {
  if (!handle_) {
    HCRYPTPROV provider = 0;
    if (CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
      handle_ = provider;
    }
  }
  return handle_;
}

// Every file access below runs while redirection is off, and nothing else does:
// the failure is described (FormatMessageW may load message files) only once
// redirection is back.
FileOutcome DiskBaitFiles::write(const std::wstring& path, std::string_view bytes) {
  PlainFileError error;
  bool written = false;
  {
    RedirectionOff redirection;
    written = files_.write(path, bytes, error);
  }
  if (!written) return failureOf(error);
  return std::nullopt;
}

std::unique_ptr<PairComparison> DiskBaitFiles::compare(const BaitPair& pair, const KeptContent& kept) {
  return std::make_unique<DiskPairComparison>(files_, crypto_, pair, kept);
}

FileOutcome DiskBaitFiles::copy(const std::wstring& from, const std::wstring& to, KeptContent& copied) {
  Sha256 digest(crypto_.get());
  PlainFileError error;
  bool done = false;
  {
    RedirectionOff redirection;
    done = copyContent(files_, from, to, digest, copied, error);
  }
  if (!done) return failureOf(error);
  return std::nullopt;
}

FileOutcome DiskBaitFiles::remove(const std::wstring& path) {
  PlainFileError error;
  bool removed = false;
  {
    RedirectionOff redirection;
    removed = files_.remove(path, error);
  }
  if (!removed) return failureOf(error);
  return std::nullopt;
}

bool DiskBaitFiles::sameFolder(const std::wstring& first, const std::wstring& second) {
  RedirectionOff redirection;
  BY_HANDLE_FILE_INFORMATION a{}, b{};
  if (identityOf(first, a) && identityOf(second, b)) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
  }
  return CompareStringOrdinal(withoutTrailingBackslashes(first).c_str(), -1,
                              withoutTrailingBackslashes(second).c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace kelvane
