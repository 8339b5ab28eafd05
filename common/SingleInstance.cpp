#include "common/SingleInstance.h"

#include <iterator>
#include <optional>

#include "common/Files.h"

namespace kelvane {
namespace {

// One copy per session: two copies would plant, compare and delete the same bait
// files and backups, and one's stop would make the other report every file
// missing. The name is fixed, not derived from the folder, so a copy started
// from another folder is caught too. It lives in a private namespace bound to
// the Administrators group, which a program without those rights can neither
// make nor open, so no such program can hold the name and keep this one from
// starting.
constexpr wchar_t NamespaceName[] = L"Kelvane";
constexpr wchar_t SingleInstanceName[] = L"Kelvane\\Frmmain.SingleInstance";
// Where the system has no private namespaces.
constexpr wchar_t SessionInstanceName[] = L"Local\\Kelvane.Frmmain.SingleInstance";

struct BoundaryTraits {
  using Handle = HANDLE;
  static Handle invalid() { return nullptr; }
  static void close(Handle h) { DeleteBoundaryDescriptor(h); }
};

// Wine has none: its CreatePrivateNamespaceW is a stub that ends the process
// when called, so it must not be called at all there.
bool systemHasPrivateNamespaces() {
  return !GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
}

// This run's private namespace, made or opened; none where it cannot be had.
UniquePrivateNamespace openInstanceNamespace() {
  if (!systemHasPrivateNamespaces()) return {};
  UniqueHandle<BoundaryTraits> boundary(CreateBoundaryDescriptorW(NamespaceName, 0));
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  if (!boundary || !CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size)) return {};
  HANDLE descriptor = boundary.release();
  const BOOL added = AddSIDToBoundaryDescriptor(&descriptor, administrators);  // may move the descriptor
  boundary.reset(descriptor);
  if (!added) return {};
  UniquePrivateNamespace made(CreatePrivateNamespaceW(nullptr, boundary.get(), NamespaceName));
  if (made) return made;
  return UniquePrivateNamespace(OpenPrivateNamespaceW(boundary.get(), NamespaceName));
}

// The full path of the program a process runs; empty when it cannot be asked.
std::wstring imageOf(HANDLE process) {
  wchar_t path[MAX_PATH * 4];
  DWORD length = static_cast<DWORD>(std::size(path));
  return QueryFullProcessImageNameW(process, 0, path, &length) ? std::wstring(path, length) : std::wstring();
}

// Whether the window belongs to a process that runs this program: the same
// program file, or a byte-for-byte copy of it in another folder. A window of
// that class made by any other program is never brought forward.
bool runsThisProgram(HWND window, const std::wstring& ownImage) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  const std::wstring image = process ? imageOf(process.get()) : std::wstring();
  if (image.empty() || ownImage.empty()) return false;
  if (CompareStringOrdinal(image.c_str(), static_cast<int>(image.size()), ownImage.c_str(),
                           static_cast<int>(ownImage.size()), TRUE) == CSTR_EQUAL) {
    return true;
  }
  constexpr uint64_t LargestProgram = 64u << 20;
  const std::optional<std::string> theirs = readFileBytes(image, LargestProgram);
  return theirs && theirs == readFileBytes(ownImage, LargestProgram);
}

HWND runningCopyWindow(const wchar_t* windowClass, const std::wstring& ownImage) {
  for (HWND window = FindWindowExW(nullptr, nullptr, windowClass, nullptr); window;
       window = FindWindowExW(nullptr, window, windowClass, nullptr)) {
    if (runsThisProgram(window, ownImage)) return window;
  }
  return nullptr;
}

// Brings the running copy's window to the front: restored if minimised, and the
// dialog it has open, if any, above it. The running copy may still be starting,
// so its window is awaited for a few seconds. False when no window came.
}  // namespace

bool bringRunningCopyForward(const wchar_t* windowClass) {
  const std::wstring ownImage = imageOf(GetCurrentProcess());
  HWND running = nullptr;
  for (int waited = 0; waited < 10000 && !(running = runningCopyWindow(windowClass, ownImage)); waited += 50) {
    Sleep(50);
  }
  if (!running) return false;
  if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
  // This copy was just started by the user, so the system lets it hand the
  // foreground on; the running copy could not take it by itself.
  SetForegroundWindow(GetLastActivePopup(running));
  return true;
}

SingleInstanceLock::SingleInstanceLock()
    : namespace_(openInstanceNamespace()),
      mutex_(CreateMutexW(nullptr, FALSE, namespace_ ? SingleInstanceName : SessionInstanceName)),
      heldByAnother_(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {}  // nothing in between sets the error


}  // namespace kelvane
