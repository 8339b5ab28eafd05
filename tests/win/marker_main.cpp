// A stand-in program for launch tests: it leaves "<its own name>.ran" beside
// itself, holding its command line, so a test can tell which program ran and how.
#include <windows.h>

#include <string>

int wmain() {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring marker(path, length);
  marker = marker.substr(0, marker.size() - 4) + L".ran";  // drop ".exe"
  HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const std::wstring commandLine = GetCommandLineW();
  DWORD written = 0;
  WriteFile(file, commandLine.data(), static_cast<DWORD>(commandLine.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  return 0;
}
