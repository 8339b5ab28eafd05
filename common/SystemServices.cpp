#include "common/SystemServices.h"

#include <windows.h>

#include "common/Handles.h"

namespace kelvane {
namespace {

const wchar_t* orNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

SystemLauncher::~SystemLauncher() {
  if (shell32_) FreeLibrary(static_cast<HMODULE>(shell32_));
}

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

bool SystemLauncher::startProcess(const ProcessRequest& request) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(request.show);
  PROCESS_INFORMATION process{};
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring commandLine = request.commandLine;
  const BOOL started = CreateProcessW(orNull(request.application), commandLine.data(), nullptr,
                                      nullptr, FALSE, 0, nullptr, orNull(request.directory),
                                      &startup, &process);
  if (!started) return false;
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  return true;
}

int SystemMessageBoxes::show(WindowHandle owner, std::wstring_view text, std::wstring_view title,
                             unsigned flags) {
  const std::wstring textCopy(text);
  const std::wstring titleCopy(title.empty() ? ApplicationTitle : title);
  return MessageBoxW(static_cast<HWND>(owner), textCopy.c_str(), titleCopy.c_str(), flags);
}

}  // namespace kelvane
