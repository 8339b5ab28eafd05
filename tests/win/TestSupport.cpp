#include "tests/win/TestSupport.h"

#include <thread>
#include <vector>

#include "common/AppPath.h"
#include "common/Files.h"
#include "common/Handles.h"
#include "common/TextEncoding.h"
#include "controls/WindowClass.h"

namespace kelvane::testing {

std::wstring binaryDirectory() {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  return directoryOfModule(std::wstring(path, length));
}

HostWindow::HostWindow(DWORD style, int width, int height) {
  registerWindowClass(L"KelvaneTestHost", windowProcedure<HostWindow>);
  window_.reset(CreateWindowExW(WS_EX_CONTROLPARENT, L"KelvaneTestHost", L"host", style, 10, 10, width, height,
                                nullptr, nullptr, GetModuleHandleW(nullptr), this));
}

std::wstring installedAppDirectory() { return directoryOfModule(binaryDirectory()) + L"\\app"; }

ScratchDirectory::ScratchDirectory(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"kelvane-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
  removeTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() { removeTree(path_); }

void removeTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (!RemoveDirectoryW(child.c_str())) DeleteFileW(child.c_str());
      } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(child);
      } else {
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

DWORD runToEnd(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return 1;
  UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  DWORD exitCode = STILL_ACTIVE;
  if (WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0) GetExitCodeProcess(process.get(), &exitCode);
  if (exitCode == STILL_ACTIVE) TerminateProcess(process.get(), 1);
  return exitCode;
}

// Runs a host program on Unix paths. Wine starts it from drive Z:, the Unix root,
// and hands back no process to wait for: callers wait for its effect.
bool startOnUnixPaths(std::wstring commandLine, const std::vector<std::wstring>& paths) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  for (const std::wstring& path : paths) {
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name) return false;
    commandLine += L" \"" + utf8ToWide(name) + L"\"";
    HeapFree(GetProcessHeap(), 0, name);
  }
  return runToEnd(commandLine) != 1;  // 1: not started
}

UnixLink::UnixLink(const std::wstring& target, const std::wstring& link) : path(link) {
  made = startOnUnixPaths(L"Z:\\bin\\ln -s", {target, link}) && waitUntil([&] {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  });
}
UnixLink::~UnixLink() {
  if (made && startOnUnixPaths(L"Z:\\bin\\rm", {path})) waitUntil([&] { return !fileExists(path); });
}

MarkerLog::MarkerLog(const std::wstring& folder) : path(folder + L"\\markers.log") {
  SetEnvironmentVariableW(L"KELVANE_MARKER_LOG", path.c_str());
}
MarkerLog::~MarkerLog() { SetEnvironmentVariableW(L"KELVANE_MARKER_LOG", nullptr); }

std::vector<MarkerLog::Run> MarkerLog::runs() const {
  const std::string bytes = readFileBytes(path).value_or("");
  const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  std::vector<Run> runs;
  for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    const std::wstring line = text.substr(start, end - start);
    const size_t first = line.find(L'\t'), second = line.find(L'\t', first + 1);
    runs.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1), line.substr(second + 1)});
  }
  return runs;
}

UserClassOverride::UserClassOverride(const std::vector<std::pair<std::wstring, std::wstring>>& defaults) {
  for (const auto& [key, value] : defaults) {
    RegSetKeyValueW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key).c_str(), nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    topKeys.push_back(key.substr(0, key.find(L'\\')));
  }
}
UserClassOverride::~UserClassOverride() {
  for (const std::wstring& key : topKeys) RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key).c_str());
}

void pumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    pumpMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::wstring windowText(HWND hwnd) {
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, static_cast<int>(std::size(text)));
  return text;
}

std::wstring controlText(HWND control) {
  const LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(control, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

namespace {

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK collectProcessWindow(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, 64);
  if (owner == search->processId && lstrcmpiW(className, search->className) == 0 && IsWindowVisible(hwnd)) {
    search->found.push_back(hwnd);
  }
  return TRUE;
}

struct ChildSearch {
  const wchar_t* className;
  const std::wstring* text;
  HWND found = nullptr;
};

BOOL CALLBACK findChild(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<ChildSearch*>(data);
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, 64);
  if (lstrcmpiW(className, search->className) == 0 && windowText(hwnd) == *search->text) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> visibleWindows(DWORD processId, const wchar_t* className) {
  WindowSearch search{processId, className};
  EnumWindows(collectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND findVisibleWindow(DWORD processId, const wchar_t* className) {
  const std::vector<HWND> windows = visibleWindows(processId, className);
  return windows.empty() ? nullptr : windows.front();
}

HWND openDialog(DWORD processId) { return findVisibleWindow(processId, L"#32770"); }

namespace {

BOOL CALLBACK collectStaticText(HWND hwnd, LPARAM param) {
  wchar_t className[32] = {};
  GetClassNameW(hwnd, className, 32);
  if (lstrcmpiW(className, L"Static") != 0) return TRUE;
  const std::wstring text = controlText(hwnd);  // a long message is cut by windowText
  if (text.empty()) return TRUE;
  auto* joined = reinterpret_cast<std::wstring*>(param);
  if (!joined->empty()) *joined += L"\n";
  *joined += text;
  return TRUE;
}

}  // namespace

std::wstring dialogText(HWND dialog) {
  std::wstring joined;
  EnumChildWindows(dialog, collectStaticText, reinterpret_cast<LPARAM>(&joined));
  return joined;
}

bool answerDialog(DWORD processId, const std::wstring& text, int button) {
  HWND dialog = nullptr;
  if (!waitUntil([&] {
        dialog = openDialog(processId);
        return dialog && dialogText(dialog).find(text) != std::wstring::npos;
      })) {
    return false;
  }
  PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
  return waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

RunningApp::RunningApp(const std::wstring& appDirectory) {
  const std::wstring exe = appDirectory + L"\\Kelvane.exe";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return;
  }
  process_ = info.hProcess;
  CloseHandle(info.hThread);
  waitUntil([&] { return (main_ = findVisibleWindow(info.dwProcessId, L"KelvaneFrmmain")) != nullptr; });
  // The pages not on show are made just after the window has painted; tests
  // start once the program has all four.
  if (main_) waitUntil([&] { return FindWindowExW(main_, nullptr, L"KelvanePanel", L"病毒探测") != nullptr; });
}

RunningApp::~RunningApp() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
  CloseHandle(process_);
}

HWND RunningApp::findDescendant(HWND parent, const wchar_t* className, const std::wstring& text) {
  ChildSearch search{className, &text};
  EnumChildWindows(parent, findChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

PrefixDpi::PrefixDpi(int dpi) {
  for (Setting& setting : settings_) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, setting.key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      continue;
    }
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key, L"LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD) {
      setting.old = value;
    }
    const DWORD wanted = static_cast<DWORD>(dpi);
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&wanted), sizeof wanted);
    RegCloseKey(key);
  }
}

PrefixDpi::~PrefixDpi() {
  for (const Setting& setting : settings_) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, setting.key, 0, KEY_WRITE, &key) != ERROR_SUCCESS) continue;
    if (setting.old) {
      RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*setting.old), sizeof(DWORD));
    } else {
      RegDeleteValueW(key, L"LogPixels");
    }
    RegCloseKey(key);
  }
}

DpiChangeSender::DpiChangeSender(HANDLE process) : process_(process) {
  // An address taken in the other process is kept here until the search ends,
  // so the next attempt gets another one.
  std::vector<void*> taken;
  for (int attempt = 0; attempt < 32 && !place_; ++attempt) {
    void* const local = VirtualAlloc(nullptr, 1 << 20, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!local) break;
    if (VirtualAllocEx(process_, local, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) == local) {
      place_ = local;
    } else {
      taken.push_back(local);
    }
  }
  for (void* region : taken) VirtualFree(region, 0, MEM_RELEASE);
}

DpiChangeSender::~DpiChangeSender() {
  if (place_) VirtualFree(place_, 0, MEM_RELEASE);
}

bool DpiChangeSender::send(HWND window, int dpi, const RECT& suggested) {
  if (!place_) return false;
  *static_cast<RECT*>(place_) = suggested;
  if (!WriteProcessMemory(process_, place_, &suggested, sizeof suggested, nullptr)) return false;
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(place_));
  return true;
}

}  // namespace kelvane::testing
