#include "common/SystemServices.h"

#include <windows.h>

#include <vector>

#include "common/AppPath.h"
#include "common/DllSafety.h"
#include "common/Handles.h"
#include "common/OwnFileCopies.h"
#include "common/ShellDesktop.h"

namespace kelvane {
namespace {

const wchar_t* orNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

// The attribute list that lets a started process inherit one handle and no other.
class InheritedHandle {
 public:
  explicit InheritedHandle(HANDLE handle) : handle_(handle) {
    if (!handle_) return;
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
    // The list points at handle_, which lives as long as the list.
    if (UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle_, sizeof handle_, nullptr,
                                  nullptr)) {
      list_ = list;
    } else {
      DeleteProcThreadAttributeList(list);
    }
  }
  ~InheritedHandle() {
    if (list_) DeleteProcThreadAttributeList(list_);
  }
  InheritedHandle(const InheritedHandle&) = delete;
  InheritedHandle& operator=(const InheritedHandle&) = delete;
  LPPROC_THREAD_ATTRIBUTE_LIST list() const { return list_; }

 private:
  HANDLE handle_;
  std::vector<char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// The started process, or none. `inherited`, when given, is the one handle the
// process inherits (and, through it, what it starts in turn); where that cannot
// be given, the process starts without it.
UniqueKernelHandle createProcess(const ProcessRequest& request, HANDLE inherited = nullptr) {
  const InheritedHandle inheritance(inherited);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = inheritance.list() ? sizeof startup : sizeof startup.StartupInfo;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = static_cast<WORD>(request.show);
  startup.lpAttributeList = inheritance.list();
  PROCESS_INFORMATION process{};
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring commandLine = request.commandLine;
  if (!CreateProcessW(orNull(request.application), commandLine.data(), nullptr, nullptr, inheritance.list() != nullptr,
                      inheritance.list() ? EXTENDED_STARTUPINFO_PRESENT : 0, nullptr, orNull(request.directory),
                      &startup.StartupInfo, &process)) {
    return inheritance.list() ? createProcess(request) : UniqueKernelHandle();
  }
  const UniqueKernelHandle threadHandle(process.hThread);
  return UniqueKernelHandle(process.hProcess);
}

}  // namespace

SystemLauncher::SystemLauncher() = default;

SystemLauncher::~SystemLauncher() {
  if (shell32_) FreeLibrary(static_cast<HMODULE>(shell32_));
}

bool SystemLauncher::startOwnFile(const OwnFileRequest& request) {
  const std::optional<std::string> bytes = readOwnFile(request.directory, request.relative);
  if (!bytes) return false;
  if (!copies_) copies_ = std::make_unique<CopyFolder>();
  const std::wstring_view name = std::wstring_view(request.relative).substr(request.relative.find_last_of(L'\\') + 1);
  const std::optional<std::wstring> copy = copies_->store(safeCopyName(name), *bytes);
  if (!copy) return false;
  std::optional<ProcessRequest> process = startRequest(*copy, L"", systemStarterPrograms(), machineAssociation);
  if (!process) return false;
  // Never the application directory, which others may write: a program that
  // looks for a file or a DLL in its current folder finds the system's.
  process->directory = systemFolder();
  process->show = request.show;
  // The started program holds this run's "in-use" open as long as it runs, so a
  // later start of Kelvane, after this one ended, never removes a copy in use.
  UniqueKernelHandle started = createProcess(*process, copies_->inUse());
  if (!started) return false;
  copies_->keepWhileRunning(*copy, std::move(started));
  return true;
}

bool SystemLauncher::openUnelevated(const std::wstring& address) { return openThroughDesktopShell(address); }

void SystemLauncher::removeCopies() {
  if (copies_) copies_->removeCopies();
}

void SystemLauncher::removeLeftoverCopies() { CopyFolder::removeLeftovers(CopyFolder::parentFolder()); }

bool SystemLauncher::shellExecute(const ShellRequest& request) {
  if (!shell32_) shell32_ = loadSystemLibrary(L"shell32.dll");
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  const auto shellExecuteW = libraryFunction<ShellExecuteFn>(static_cast<HMODULE>(shell32_), "ShellExecuteW");
  if (!shellExecuteW) return false;
  const HINSTANCE result =
      shellExecuteW(static_cast<HWND>(request.owner), orNull(request.verb), request.file.c_str(),
                    orNull(request.parameters), orNull(request.directory), request.show);
  // Values above 32 mean success.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool SystemLauncher::startProcess(const ProcessRequest& request) { return static_cast<bool>(createProcess(request)); }

int SystemMessageBoxes::show(WindowHandle owner, std::wstring_view text, std::wstring_view title,
                             unsigned flags) {
  const std::wstring textCopy(text);
  const std::wstring titleCopy(title.empty() ? ApplicationTitle : title);
  return MessageBoxW(static_cast<HWND>(owner), textCopy.c_str(), titleCopy.c_str(), flags);
}

}  // namespace kelvane
