#pragma once
// Starting other programs: documents and addresses through the shell, programs by
// path. Pages talk to this interface so tests can record what would be launched;
// the program uses SystemLauncher (ShellExecuteW / CreateProcessW).
#include <string>

namespace kelvane {

using WindowHandle = void*;  // an HWND; kept opaque so the logic builds without windows.h

// Show commands, with their Win32 values.
inline constexpr int ShowNormal = 1;     // SW_SHOWNORMAL
inline constexpr int ShowMinimized = 2;  // SW_SHOWMINIMIZED: minimised with focus

struct ShellRequest {
  WindowHandle owner = nullptr;
  std::wstring verb;        // empty: the default verb
  std::wstring file;
  std::wstring parameters;  // empty: none
  std::wstring directory;   // empty: none
  int show = ShowNormal;

  bool operator==(const ShellRequest&) const = default;
};

struct ProcessRequest {
  std::wstring application;  // full path of the executable
  std::wstring commandLine;  // as the program sees it; starts with the quoted path
  std::wstring directory;    // empty: the current directory of this process
  int show = ShowNormal;

  bool operator==(const ProcessRequest&) const = default;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Each returns whether the system accepted the launch.
  virtual bool shellExecute(const ShellRequest& request) = 0;
  virtual bool startProcess(const ProcessRequest& request) = 0;
};

// The command line that starts a program by its full path: the path in quotes, so a
// blank in it ("C:\Program Files\...") is never taken as the end of the program name.
std::wstring quotedCommandLine(const std::wstring& application);

}  // namespace kelvane
