#include "common/SystemServices.h"

#include <windows.h>

#include <vector>

#include "common/AppPath.h"
#include "common/Handles.h"
#include "common/OwnFileCopies.h"
#include "common/ShellDesktop.h"

namespace kelvane {
namespace {

const wchar_t* orNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

// The started process, or none. `inherited`, when given, is the one handle the
// process inherits (and, through it, what it starts in turn).
UniqueKernelHandle createProcess(const ProcessRequest& request, HANDLE inherited = nullptr) {
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup.StartupInfo;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = static_cast<WORD>(request.show);
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> list(inherited ? size : 0);
  if (inherited && InitializeProcThreadAttributeList(reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data()), 1, 0, &size)) {
    startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
    if (!UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &inherited,
                                   sizeof inherited, nullptr, nullptr)) {
      DeleteProcThreadAttributeList(startup.lpAttributeList);
      startup.lpAttributeList = nullptr;
    }
  }
  if (startup.lpAttributeList) startup.StartupInfo.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring commandLine = request.commandLine;
  const bool started = CreateProcessW(orNull(request.application), commandLine.data(), nullptr, nullptr,
                                      startup.lpAttributeList != nullptr,
                                      startup.lpAttributeList ? EXTENDED_STARTUPINFO_PRESENT : 0, nullptr,
                                      orNull(request.directory), &startup.StartupInfo, &process);
  if (startup.lpAttributeList) DeleteProcThreadAttributeList(startup.lpAttributeList);
  if (!started) return inherited ? createProcess(request) : UniqueKernelHandle();  // then without it
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
  if (!shell32_) shell32_ = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!shell32_) return false;
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  const auto shellExecuteW = reinterpret_cast<ShellExecuteFn>(
      reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(shell32_), "ShellExecuteW")));
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
