// A stand-in program for launch tests: it leaves "<its own name>.ran" beside
// itself, holding its command line, so a test can tell which program ran and how.
// With KELVANE_MARKER_LOG set it also adds a line to that file: its own path,
// its current folder and its command line, separated by tabs; so a test finds
// copies that ran from folders it does not know.
#include <windows.h>

#include <string>

namespace {

void write(const std::wstring& path, DWORD disposition, DWORD access, const std::wstring& text) {
  HANDLE file = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int wmain() {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  const std::wstring self(path, length);
  const std::wstring commandLine = GetCommandLineW();
  write(self.substr(0, self.size() - 4) + L".ran", CREATE_ALWAYS, GENERIC_WRITE, commandLine);  // drop ".exe"
  wchar_t log[MAX_PATH * 4];
  wchar_t current[MAX_PATH * 4];
  if (GetEnvironmentVariableW(L"KELVANE_MARKER_LOG", log, static_cast<DWORD>(std::size(log))) &&
      GetCurrentDirectoryW(static_cast<DWORD>(std::size(current)), current)) {
    write(log, OPEN_ALWAYS, FILE_APPEND_DATA, self + L"\t" + current + L"\t" + commandLine + L"\n");
  }
  return 0;
}
