#pragma once
// Helpers for the tests that run under Wine: scratch folders, the build folder,
// waiting on another process's windows, and pumping this thread's messages.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/Handles.h"

namespace kelvane::testing {

// The folder that holds the running test executable (and the programs built beside it).
std::wstring binaryDirectory();
// The laid-out application directory of this build (Kelvane.exe with its data).
std::wstring installedAppDirectory();

// A fresh folder under %TEMP% that is removed with everything in it afterwards.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::wstring& name);
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// Removes a folder with everything in it; a link in it goes itself, never entered.
void removeTree(const std::wstring& path);
bool writeFile(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);
// Runs a command line to its end: the exit code (STILL_ACTIVE, ended, after ten seconds).
DWORD runToEnd(std::wstring commandLine);
// A Unix symbolic link at `path` to `target`, which Wine shows as a link (Wine 8
// makes none itself), removed again afterwards; `made` tells whether it came.
struct UnixLink {
  UnixLink(const std::wstring& target, const std::wstring& link);
  ~UnixLink();
  const std::wstring path;
  bool made = false;
};

// The runs of the marker program while this lives: KELVANE_MARKER_LOG is set
// for this process and everything it starts, and unset afterwards.
struct MarkerLog {
  explicit MarkerLog(const std::wstring& folder);
  ~MarkerLog();
  struct Run { std::wstring program, folder, commandLine; };  // its own full path, its current folder
  std::vector<Run> runs() const;
  const std::wstring path;
};

// Per-user class settings in HKCU\Software\Classes, as any program of the user
// can write them: each key's default value, deleted with the top keys afterwards.
struct UserClassOverride {
  explicit UserClassOverride(const std::vector<std::pair<std::wstring, std::wstring>>& defaults);
  ~UserClassOverride();
  std::vector<std::wstring> topKeys;
};

// Processes this thread's pending messages once.
void pumpMessages();
// Pumps messages and polls until `done` holds or `timeout` passes; returns `done()`.
bool waitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));

std::wstring windowText(HWND hwnd);
// The whole text of a control, also of another process's edit control, whose
// text GetWindowText does not fetch.
std::wstring controlText(HWND control);

// The visible top-level windows of that process with that window class, in
// stacking order, and the first of them, if any.
std::vector<HWND> visibleWindows(DWORD processId, const wchar_t* className);
HWND findVisibleWindow(DWORD processId, const wchar_t* className);

// The program's open message box, if any (a visible #32770 dialog of that process).
HWND openDialog(DWORD processId);
// The texts of a dialog's Static children joined by line breaks: what the message says.
std::wstring dialogText(HWND dialog);
// Waits for a dialog of that process whose message contains `text`, presses the
// button with this ID (IDOK, IDYES, ...) and waits for the dialog to close.
bool answerDialog(DWORD processId, const std::wstring& text, int button);

// A visible top-level window that hosts controls and pages under test; it hands
// its children's notifications back to them like every host of the program.
class HostWindow {
 public:
  explicit HostWindow(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, int width = 700, int height = 600);
  HWND hwnd() const { return window_.get(); }
  LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

 private:
  UniqueWindow window_;
};

// The real program started from an application directory, as a user starts it;
// ended at the end of the test if it still runs.
class RunningApp {
 public:
  explicit RunningApp(const std::wstring& appDirectory = installedAppDirectory());
  ~RunningApp();
  RunningApp(const RunningApp&) = delete;
  RunningApp& operator=(const RunningApp&) = delete;

  // The visible main window once the program has started with all its pages
  // (null if it never appeared).
  HWND mainWindow() const { return main_; }
  HANDLE process() const { return process_; }
  // A child window of `parent` (at any depth) with this class and text.
  static HWND findDescendant(HWND parent, const wchar_t* className, const std::wstring& text);

 private:
  HANDLE process_ = nullptr;
  HWND main_ = nullptr;
};

// The DPI Wine gives programs started while this lives: Wine 8 reads it from
// HKCU\Control Panel\Desktop (the font engine from HKCU\Software\Wine\Fonts).
// Both are put back afterwards, so every other suite runs at 96.
class PrefixDpi {
 public:
  explicit PrefixDpi(int dpi);
  ~PrefixDpi();
  PrefixDpi(const PrefixDpi&) = delete;
  PrefixDpi& operator=(const PrefixDpi&) = delete;

 private:
  struct Setting {
    const wchar_t* key;
    std::optional<DWORD> old;
  };
  Setting settings_[2] = {{L"Control Panel\\Desktop", std::nullopt}, {L"Software\\Wine\\Fonts", std::nullopt}};
};

// Sends another process's window WM_DPICHANGED as the system does when the
// window moves to a monitor of another DPI. The suggested rectangle travels by
// address; it is placed at the same address in both processes, so it arrives
// whether or not the message is marshalled.
class DpiChangeSender {
 public:
  explicit DpiChangeSender(HANDLE process);
  ~DpiChangeSender();
  DpiChangeSender(const DpiChangeSender&) = delete;
  DpiChangeSender& operator=(const DpiChangeSender&) = delete;

  // False when no address free in both processes was found.
  bool ready() const { return place_ != nullptr; }
  // Returns once the window has handled the message; false when it could not be sent.
  bool send(HWND window, int dpi, const RECT& suggested);

 private:
  HANDLE process_;
  void* place_ = nullptr;
};

}  // namespace kelvane::testing
