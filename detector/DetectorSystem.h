#pragma once
// The detector's Win32 side: the change-notification watch, the bait files on
// disk, and the two folder queries. Paths are wide throughout.
#include <windows.h>

#include <string>

#include "common/Handles.h"
#include "common/PlainFile.h"
#include "detector/Detector.h"

namespace kelvane {

// GetSystemDirectoryW / GetWindowsDirectoryW as they come, without a trailing
// backslash added or removed; empty when the query fails.
std::wstring systemDirectory();
std::wstring windowsDirectory();

// The system's description of an error code, in its own language.
std::wstring describeError(DWORD code);

// A watch of one folder, not its subfolders, for file names, attributes and last
// writes. It reads the folder's changes (ReadDirectoryChangesW) rather than only
// waiting for a change notification: the system then keeps the changes that
// happen between one signal and the next request (while the alert is open) and
// reports them at once when the watch is armed again, also under Wine, whose
// plain change notifications lose them.
//
// A watched folder that is moved away sends no further changes, and the watch
// would follow it: the run would go on while the folder it names has gone. Once
// a second of quiet the watch checks that its folder is still there under its
// name and not marked for deletion, and its wait fails when not. (Wine keeps a
// deleted folder, unmarked, until the watch lets go of it: there the run goes on.)
class ChangeNotificationWatch final : public FolderWatch {
 public:
  static constexpr DWORD Filter =
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_LAST_WRITE;

  ChangeNotificationWatch() = default;
  ChangeNotificationWatch(const ChangeNotificationWatch&) = delete;
  ChangeNotificationWatch& operator=(const ChangeNotificationWatch&) = delete;
  ~ChangeNotificationWatch() override { close(); }

  FileOutcome open(const std::wstring& folder) override;
  bool rearm() override;
  WaitResult wait(unsigned milliseconds) override;
  void close() override;

 private:
  bool request();
  bool folderStillThere() const;

  std::wstring path_;
  ULONGLONG checkedAt_ = 0;  // GetTickCount64 of the last check of the folder
  UniqueFile folder_;
  UniqueKernelHandle event_;
  OVERLAPPED overlapped_{};
  bool pending_ = false;  // a request is under way: the system may still write into buffer_
  alignas(DWORD) char buffer_[16 * 1024];
};

// The system's cryptographic provider (for SHA-256), acquired on first use and
// kept while the files are: every use comes before redirection goes off.
class CryptoProvider {
 public:
  CryptoProvider() = default;
  CryptoProvider(const CryptoProvider&) = delete;
  CryptoProvider& operator=(const CryptoProvider&) = delete;
  ~CryptoProvider();
  // The provider (an HCRYPTPROV); 0 when the system gives none.
  ULONG_PTR get();

 private:
  ULONG_PTR handle_ = 0;
};

// The bait files and backups on disk, each written, copied over and deleted only
// as a plain file at its very path (common/PlainFile.h). The 32-bit program on
// 64-bit Windows works on the system directory the query names, not on the
// folder that file-system redirection would substitute (see DetectorSystem.cpp).
class DiskBaitFiles final : public BaitFiles {
 public:
  // The inspector tells what an opened handle is; tests give a fake one.
  explicit DiskBaitFiles(HandleInspector& inspector) : files_(inspector) {}

  FileOutcome write(const std::wstring& path, std::string_view bytes) override;
  std::unique_ptr<PairComparison> compare(const BaitPair& pair, const KeptContent& kept) override;
  FileOutcome copy(const std::wstring& from, const std::wstring& to, KeptContent& copied) override;
  // The copy goes into the Windows directory's own Temp folder, not the user's
  // (which the user's programs may redirect), under a random name that must be
  // new, so nothing planted there stands in its place; it is made with a
  // descriptor that lets in only the system and administrators, opened without
  // sharing and deleted when closed.
  FileOutcome stage(const std::wstring& from, const KeptContent& kept, std::unique_ptr<StagedContent>& staged) override;
  FileOutcome remove(const std::wstring& path) override;
  bool sameFolder(const std::wstring& first, const std::wstring& second) override;
  // A named file mapping in the global namespace (see DetectorSystem.cpp).
  bool lockDeepDetection() override;
  void unlockDeepDetection() override { deepLock_.reset(); }

 private:
  std::wstring asidePath();

  PlainFiles files_;
  CryptoProvider crypto_;  // the comparisons use it; the detector lets them go before these files go
  UniqueKernelHandle deepLock_;
};

}  // namespace kelvane
