#pragma once
// Starting other programs. Pages talk to this interface so tests can record what
// would be launched; the program uses SystemLauncher (common/SystemServices.h).
//
// The program runs as administrator from a folder that others may be able to
// write, so nothing it starts may be chosen by anyone without those rights:
// - a file of its own folder is read through a checked handle, copied into a
//   folder only SYSTEM and Administrators can write, and the copy is started
//   (startOwnFile);
// - every kind of file is started by its own program, named by full path
//   (startRequest below); the per-user associations of HKCU are never asked;
// - web pages and mail open through the unelevated desktop shell
//   (openUnelevated), elevated only when the user agrees.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

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

// A file of the application directory to start: `directory` + `relative`
// ("\tooll\x.cmd"), joined as every data path is.
struct OwnFileRequest {
  WindowHandle owner = nullptr;
  std::wstring directory;
  std::wstring relative;
  int show = ShowNormal;

  bool operator==(const OwnFileRequest&) const = default;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Each returns whether the system accepted the launch.
  virtual bool shellExecute(const ShellRequest& request) = 0;
  virtual bool startProcess(const ProcessRequest& request) = 0;
  // Checks the file, copies it where only administrators can write and starts
  // the copy by its own program. False when the file is missing, not a plain
  // file at that very path, or has no program to start it.
  virtual bool startOwnFile(const OwnFileRequest& request) = 0;
  // Asks the desktop shell, which runs without administrator rights, to open an
  // address. False when there is no such shell or it refused.
  virtual bool openUnelevated(const std::wstring& address) = 0;
};

// The command line that starts a program by its full path: the path in quotes, so a
// blank in it ("C:\Program Files\...") is never taken as the end of the program name.
std::wstring quotedCommandLine(const std::wstring& application);

// ---- Which program starts a file --------------------------------------------

enum class Starter { CommandScript, Program, ManagementConsole, CompiledHelp, Association };

// By the file's extension, in any case: .cmd and .bat, .exe, .msc, .chm; any
// other type goes to its machine-wide association.
Starter starterFor(std::wstring_view file);

// The full paths of the programs that start scripts, consoles and help files
// (empty: not on this system).
struct StarterPrograms {
  std::wstring commandInterpreter;  // cmd.exe of the native system folder
  std::wstring managementConsole;   // mmc.exe of the native system folder
  std::wstring helpViewer;          // hh.exe of the Windows folder
};

// The open command registered for an extension (".txt") in the machine-wide
// classes, environment variables already expanded; nothing when there is none.
using AssociationLookup = std::function<std::optional<std::wstring>(std::wstring_view extension)>;

// The process that starts `file` (a full path) with `parameters` (empty: none);
// directory and show command are the caller's. Nothing when the file's starter
// is missing or its association is unusable.
std::optional<ProcessRequest> startRequest(std::wstring_view file, std::wstring_view parameters,
                                           const StarterPrograms& programs, const AssociationLookup& association);

// An association's command with the file put in: %1 and %L become the file,
// %* the parameters, %% a percent sign and any other %<digit> nothing; a
// command without %1 or %L gets the quoted file at its end. The program is the
// first word (in quotes, or up to a blank) and must be a full path.
std::optional<ProcessRequest> associationRequest(std::wstring_view command, std::wstring_view file,
                                                 std::wstring_view parameters);

// The name a copy is stored under: the original's, with every character that
// cmd treats specially (blanks, & | < > ^ % ! ( ) " = ; , and control
// characters) replaced by "_", so the copy's path needs no quoting rule.
std::wstring safeCopyName(std::wstring_view name);

// ---- The folder of copies -----------------------------------------------------

// Owner Administrators, and a protected access list that lets SYSTEM and
// Administrators, and nobody else, do anything; everything made inside
// inherits it.
inline constexpr wchar_t CopyFolderSecurity[] = L"O:BAG:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
inline constexpr std::wstring_view CopyFolderPrefix = L"Kelvane-";

// "Kelvane-" and 32 hexadecimal digits of the 16 random bytes.
std::wstring copyFolderName(const unsigned char (&random)[16]);
// Whether a folder's name is one copyFolderName makes.
bool isCopyFolderName(std::wstring_view name);

// The file system as the copy folder needs it; tests answer with fakes.
class CopyFolderSystem {
 public:
  enum class Made { Created, Exists, Failed };
  virtual ~CopyFolderSystem() = default;
  // Makes a new folder with that security description; never takes one that
  // exists (of any kind, a link included).
  virtual Made makeFolder(const std::wstring& path, const wchar_t* security) = 0;
  // Whether `path` is a folder of its own: a directory, not a link or mount
  // point, whose handle's final path is `path`.
  virtual bool isPlainFolder(const std::wstring& path) = 0;
};

// Makes `parent`\`name` as the folder of copies. Nothing when the name is taken
// or what was made is not a plain folder at that path.
std::optional<std::wstring> makeCopyFolder(CopyFolderSystem& system, const std::wstring& parent,
                                           std::wstring_view name);

}  // namespace kelvane
