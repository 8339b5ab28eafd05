#include "detector/DetectorSystem.h"

#include <sddl.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "detector/DetectorText.h"

namespace kelvane {
namespace {

// Files are read and compared a block at a time.
constexpr DWORD BlockSize = 64 * 1024;

// How often a quiet watch checks that its folder is still there.
constexpr ULONGLONG FolderCheckIntervalMs = 1000;

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Which file a handle is: its volume and index. GetFileInformationByHandle is
// slow under Wine (its volume query), so only what needs identity asks for it.
struct FileIdentity {
  DWORD volume = 0, indexHigh = 0, indexLow = 0;
  bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> identityOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(handle, &information)) return std::nullopt;
  return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

bool sameFile(HANDLE first, HANDLE second) {
  const std::optional<FileIdentity> a = identityOf(first), b = identityOf(second);
  return !a || !b || *a == *b;  // cannot tell: taken as the same
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
    case FileRefusal::Elsewhere: return FileFailure{std::wstring(detector_text::ElsewhereReason)};
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
// (replaced, written, resized) between two calls makes the comparison begin
// again. Its identity is asked for only once a comparison goes on past one call.
struct FileStamp {
  uint64_t size = 0;
  uint64_t written = 0;
  std::optional<FileIdentity> identity;
};

bool stillThe(const FileStamp& stamp, HANDLE file, const HandleFacts& facts) {
  return stamp.identity && facts.size == stamp.size && facts.lastWrite == stamp.written && identityOf(file) == stamp.identity;
}

bool seekTo(HANDLE file, uint64_t offset) {
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != 0;
}

// Measures a bait against what the pair should hold (the content itself when
// small, its digest when large) and, block for block, its backup against the
// bait: a bait is judged by what was kept, never by a backup that anyone may
// rewrite to match it, and a backup that differs is a change too. A large file
// takes several calls, one or more a tick; between them the files are closed,
// so nobody else is kept from writing, replacing or holding them, and each call
// opens them again where it stopped.
class DiskPairComparison final : public PairComparison {
 public:
  DiskPairComparison(PlainFiles& files, CryptoProvider& crypto, const BaitPair& pair, const KeptContent& kept)
      : files_(files), crypto_(crypto), pair_(pair), kept_(kept) {}

  std::optional<Comparison> advance(uint64_t bytes) override {
    if (verdict_) return verdict_;
    // A comparison from the start may need a digest: it is made now, before
    // redirection goes off.
    if (!kept_.whole() && !spareDigest_) spareDigest_ = std::make_unique<Sha256>(crypto_.get());
    RedirectionOff redirection;
    if (!begun_ || !reopen()) begin();
    while (!verdict_ && done_ < size_ && bytes > 0) {
      const DWORD block = static_cast<DWORD>(std::min<uint64_t>({BlockSize, size_ - done_, bytes}));
      compareBlock(block);
      done_ += block;
      bytes -= block;
    }
    if (!verdict_ && done_ >= size_) verdict_ = finalVerdict();
    if (!verdict_ && !baitStamp_.identity) {  // goes on next call: note which files these are
      baitStamp_.identity = identityOf(bait_.get());
      if (backup_) backupStamp_.identity = identityOf(backup_.get());
    }
    bait_.reset();
    backup_.reset();
    return verdict_;
  }

 private:
  Comparison changed() const { return backupReadable_ ? Comparison::Changed : Comparison::ChangedBackupUnreadable; }

  UniqueFile open(const std::wstring& path, HandleFacts& facts) {
    PlainFileError ignored;
    return files_.openForReading(path, ignored, facts);
  }

  void begin() {
    begun_ = true;
    done_ = 0;
    digest_ = std::move(spareDigest_);
    HandleFacts baitFacts, backupFacts;
    bait_ = open(pair_.bait, baitFacts);
    backup_ = open(pair_.backup, backupFacts);
    backupReadable_ = static_cast<bool>(backup_);
    baitStamp_ = FileStamp{baitFacts.size, baitFacts.lastWrite, std::nullopt};
    backupStamp_ = FileStamp{backupFacts.size, backupFacts.lastWrite, std::nullopt};
    size_ = baitFacts.size;
    if (!bait_) {
      verdict_ = backupReadable_ ? Comparison::BaitUnreadable : Comparison::BothUnreadable;
    } else if (size_ != kept_.size) {
      verdict_ = changed();  // bytes appended, zero bytes too, change a bait
    } else if (backupReadable_ && backupFacts.size != size_) {
      verdict_ = Comparison::Changed;  // the backup was changed
    } else if (!kept_.whole() && !digest_) {
      verdict_ = changed();  // not reached: the digest is made before every call
    }
  }

  // Opens the files again where the last call stopped; false when either is no
  // longer the file it was.
  bool reopen() {
    HandleFacts facts;
    bait_ = open(pair_.bait, facts);
    if (!bait_ || !stillThe(baitStamp_, bait_.get(), facts) || !seekTo(bait_.get(), done_)) return false;
    if (!backupReadable_) return true;
    backup_ = open(pair_.backup, facts);
    return backup_ && stillThe(backupStamp_, backup_.get(), facts) && seekTo(backup_.get(), done_);
  }

  void compareBlock(DWORD block) {
    if (baitBlock_.size() < block) baitBlock_.resize(block);
    switch (readExactly(bait_.get(), baitBlock_.data(), block)) {
      case ReadResult::Failed:
        verdict_ = backupReadable_ ? Comparison::BaitUnreadable : Comparison::BothUnreadable;
        return;
      case ReadResult::Short: verdict_ = changed(); return;
      case ReadResult::Full: break;
    }
    if (kept_.whole() ? std::memcmp(baitBlock_.data(), kept_.bytes.data() + done_, block) != 0
                      : !digest_->add(baitBlock_.data(), block)) {  // a digest that cannot be made reports a change
      verdict_ = changed();
      return;
    }
    if (!backupReadable_) return;
    if (backupBlock_.size() < block) backupBlock_.resize(block);
    switch (readExactly(backup_.get(), backupBlock_.data(), block)) {
      case ReadResult::Failed:  // the bait is still measured against what was kept
        backupReadable_ = false;
        backup_.reset();
        return;
      case ReadResult::Short: verdict_ = Comparison::Changed; return;
      case ReadResult::Full: break;
    }
    if (std::memcmp(baitBlock_.data(), backupBlock_.data(), block) != 0) verdict_ = Comparison::Changed;
  }

  Comparison finalVerdict() {
    if (!kept_.whole() && digest_->finish() != kept_.digest) return changed();
    return backupReadable_ ? Comparison::Same : Comparison::BackupUnreadable;
  }

  PlainFiles& files_;
  CryptoProvider& crypto_;
  const BaitPair pair_;
  const KeptContent kept_;  // a copy: small, or only a size and digest
  bool begun_ = false;
  bool backupReadable_ = false;
  UniqueFile bait_, backup_;  // open only within a call
  FileStamp baitStamp_, backupStamp_;
  uint64_t size_ = 0;
  uint64_t done_ = 0;
  std::unique_ptr<Sha256> digest_;  // only for a content kept by its digest
  std::unique_ptr<Sha256> spareDigest_;  // made outside redirection, for digest_
  std::vector<char> baitBlock_, backupBlock_;
  std::optional<Comparison> verdict_;
};

// Copies `size` bytes from `source` to `target`, each at its current position,
// adding them to `digest` and `content` where given. A file that keeps growing
// while it is read would make a copy endless: `size` is the size it had when
// opened. False with `code` set when reading, writing or the digest failed.
bool copyBytes(HANDLE source, uint64_t size, HANDLE target, Sha256* digest, KeptContent* content, DWORD& code) {
  std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(BlockSize, std::max<uint64_t>(size, 1))));
  for (uint64_t left = size; left > 0;) {
    DWORD read = 0;
    if (!ReadFile(source, buffer.data(), static_cast<DWORD>(std::min<uint64_t>(buffer.size(), left)), &read, nullptr)) {
      code = GetLastError();
      return false;
    }
    if (read == 0) break;  // it shrank
    left -= read;
    if (!writeAll(target, std::string_view(buffer.data(), read), code)) return false;
    if (digest && !digest->add(buffer.data(), read)) {
      code = ERROR_INVALID_FUNCTION;
      return false;
    }
    if (content) {
      content->size += read;
      // Kept whole while small; beyond that only the digest goes on.
      if (content->size <= KeptBytesLimit) content->bytes.append(buffer.data(), read);
    }
  }
  return true;
}

void empty(HANDLE file) {
  LARGE_INTEGER start{};
  SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
  SetEndOfFile(file);
}

// Copies the content alone: the attributes of `from` (read-only, hidden) stay
// behind, so they cannot stand in the way of a later write or deletion. On
// failure the target is emptied, so no half copy is taken for one.
bool copyContent(PlainFiles& files, const std::wstring& from, const std::wstring& to, Sha256& digest,
                 KeptContent& copied, PlainFileError& error) {
  HandleFacts facts;
  const UniqueFile source = files.openForReading(from, error, facts);
  if (!source) return false;
  const UniqueFile target = files.openForReplacing(to, error);
  if (!target) return false;
  KeptContent content;
  DWORD code = ERROR_SUCCESS;
  if (copyBytes(source.get(), facts.size, target.get(), &digest, &content, code) && content.size > KeptBytesLimit) {
    content.bytes.clear();
    content.digest = digest.finish();
    if (content.digest.empty()) code = ERROR_INVALID_FUNCTION;
  }
  if (code != ERROR_SUCCESS) {
    empty(target.get());
    error = PlainFileError{FileRefusal::None, code};
    return false;
  }
  copied = std::move(content);
  return true;
}

// Lets only the system and administrators in: for the copy set aside before a
// restore and for the lock of deep detection.
class AdministratorsOnly {
 public:
  AdministratorsOnly() {
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;GA;;;SY)(A;;GA;;;BA)", SDDL_REVISION_1,
                                                              &descriptor_, nullptr)) {
      descriptor_ = nullptr;
    }
    attributes_ = SECURITY_ATTRIBUTES{sizeof attributes_, descriptor_, FALSE};
  }
  ~AdministratorsOnly() {
    if (descriptor_) LocalFree(descriptor_);
  }
  AdministratorsOnly(const AdministratorsOnly&) = delete;
  AdministratorsOnly& operator=(const AdministratorsOnly&) = delete;
  // Null when the descriptor could not be made.
  SECURITY_ATTRIBUTES* attributes() { return descriptor_ ? &attributes_ : nullptr; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{};
};

// A content set aside in a file that only administrators can write, opened
// without sharing and deleted when closed; it was checked against what was kept.
class DiskStagedContent final : public StagedContent {
 public:
  DiskStagedContent(PlainFiles& files, UniqueFile aside, uint64_t size)
      : files_(files), aside_(std::move(aside)), size_(size) {}

  FileOutcome writeTo(const std::wstring& path) override {
    PlainFileError error;
    bool written = false;
    {
      RedirectionOff redirection;
      written = writeFrom(path, error);
    }
    if (!written) return failureOf(error);
    return std::nullopt;
  }

 private:
  bool writeFrom(const std::wstring& path, PlainFileError& error) {
    if (!seekTo(aside_.get(), 0)) {
      error = PlainFileError{FileRefusal::None, GetLastError()};
      return false;
    }
    const UniqueFile target = files_.openForReplacing(path, error);
    if (!target) return false;
    DWORD code = ERROR_SUCCESS;
    if (copyBytes(aside_.get(), size_, target.get(), nullptr, nullptr, code)) return true;
    empty(target.get());
    error = PlainFileError{FileRefusal::None, code};
    return false;
  }

  PlainFiles& files_;
  UniqueFile aside_;
  uint64_t size_;
};

// The identity of an existing file or folder.
std::optional<FileIdentity> identityOf(const std::wstring& path) {
  const UniqueFile handle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  return identityOf(handle.get());
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

std::wstring DiskBaitFiles::asidePath() {
  BYTE random[16] = {};
  const HCRYPTPROV provider = crypto_.get();
  const std::wstring windows = windowsDirectory();
  if (!provider || windows.empty() || !CryptGenRandom(provider, sizeof random, random)) return {};
  std::wstring path = windows + L"\\Temp\\Kelvane-";
  for (const BYTE byte : random) {
    path += L"0123456789abcdef"[byte >> 4];
    path += L"0123456789abcdef"[byte & 15];
  }
  return path + L".tmp";
}

FileOutcome DiskBaitFiles::stage(const std::wstring& from, const KeptContent& kept,
                                 std::unique_ptr<StagedContent>& staged) {
  // Everything that may load a library comes before redirection goes off.
  Sha256 digest(crypto_.get());
  AdministratorsOnly security;
  const std::wstring aside = asidePath();
  if (aside.empty() || !security.attributes()) return failureOf(GetLastError());
  PlainFileError error;
  bool done = false;
  KeptContent content;
  UniqueFile copy;
  {
    RedirectionOff redirection;
    HandleFacts facts;
    const UniqueFile source = files_.openForReading(from, error, facts);
    if (source) copy = files_.createAside(aside, security.attributes(), error);
    DWORD code = ERROR_SUCCESS;
    done = source && copy && copyBytes(source.get(), facts.size, copy.get(), &digest, &content, code);
    if (source && copy && !done) error = PlainFileError{FileRefusal::None, code};
  }
  if (!done) return failureOf(error);
  if (content.size == kept.size && digest.finish() == kept.digest) {
    staged = std::make_unique<DiskStagedContent>(files_, std::move(copy), content.size);
  }
  return std::nullopt;
}

// Deep detection's machine-wide lock: a named file mapping in the global
// namespace, held while a run lasts. From a user's session only a holder of the
// right to create global objects (administrators and services) can make one,
// so nobody without administrator rights can take it first; and its descriptor
// lets only administrators and the system open it, so nobody else can keep it
// in being once the run lets go. A run in another session finds it there.
bool DiskBaitFiles::lockDeepDetection() {
  AdministratorsOnly security;
  UniqueKernelHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, security.attributes(), PAGE_READONLY, 0, 1,
                                                L"Global\\Kelvane.DeepDetection"));
  const DWORD code = GetLastError();
  // There already: held by a run elsewhere (one that would not let us open it too).
  if (mapping ? code == ERROR_ALREADY_EXISTS : code == ERROR_ACCESS_DENIED) return false;
  // A lock that cannot be made for any other reason holds nobody back: the
  // bait files' own writes then tell what is wrong.
  deepLock_ = std::move(mapping);
  return true;
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
  const std::optional<FileIdentity> a = identityOf(first), b = identityOf(second);
  if (a && b) return *a == *b;
  return CompareStringOrdinal(withoutTrailingBackslashes(first).c_str(), -1,
                              withoutTrailingBackslashes(second).c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace kelvane
