// A stand-in program for launch tests: it leaves "<its own name>.ran" beside
// itself, holding its command line, so a test can tell which program ran and how.
// With KELVANE_MARKER_LOG set it also adds "<own path> TAB <current folder> TAB <command line>" there.
#include <windows.h>

#include <string>

void write(const std::wstring& path, DWORD disposition, DWORD access, const std::wstring& text) {
  HANDLE file = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
}

int wmain() {
  wchar_t self[MAX_PATH * 4], log[MAX_PATH * 4], current[MAX_PATH * 4];
  const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH * 4));
  write(path.substr(0, path.size() - 4) + L".ran", CREATE_ALWAYS, GENERIC_WRITE, GetCommandLineW());  // drop ".exe"
  if (GetEnvironmentVariableW(L"KELVANE_MARKER_LOG", log, MAX_PATH * 4) && GetCurrentDirectoryW(MAX_PATH * 4, current)) {
    write(log, OPEN_ALWAYS, FILE_APPEND_DATA, path + L"\t" + current + L"\t" + GetCommandLineW() + L"\n");
  }
  return 0;
}
