#include "common/Launcher.h"

#include <algorithm>

namespace kelvane {
namespace {

wchar_t asciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// The extension with its dot, in lower case; empty when the name has none.
std::wstring extensionOf(std::wstring_view file) {
  const size_t dot = file.find_last_of(L".\\/:");
  if (dot == std::wstring_view::npos || file[dot] != L'.') return {};
  std::wstring extension(file.substr(dot));
  std::transform(extension.begin(), extension.end(), extension.begin(), asciiLower);
  return extension;
}

// "C:\..." or "\\server\...".
bool isFullPath(std::wstring_view path) {
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return true;
  return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
}

std::wstring quoted(std::wstring_view text) { return L"\"" + std::wstring(text) + L"\""; }

std::wstring withParameters(std::wstring commandLine, std::wstring_view parameters) {
  if (!parameters.empty()) commandLine += L" " + std::wstring(parameters);
  return commandLine;
}

std::optional<ProcessRequest> byProgram(const std::wstring& program, std::wstring commandLine) {
  if (!isFullPath(program)) return std::nullopt;
  return ProcessRequest{program, std::move(commandLine), L"", ShowNormal};
}

}  // namespace

std::wstring quotedCommandLine(const std::wstring& application) { return quoted(application); }

Starter starterFor(std::wstring_view file) {
  const std::wstring extension = extensionOf(file);
  if (extension == L".cmd" || extension == L".bat") return Starter::CommandScript;
  if (extension == L".exe") return Starter::Program;
  if (extension == L".msc") return Starter::ManagementConsole;
  if (extension == L".chm") return Starter::CompiledHelp;
  return Starter::Association;
}

std::optional<ProcessRequest> startRequest(std::wstring_view file, std::wstring_view parameters,
                                           const StarterPrograms& programs, const AssociationLookup& association) {
  if (!isFullPath(file)) return std::nullopt;
  switch (starterFor(file)) {
    case Starter::CommandScript:
      // /d: no AutoRun command of the registry runs first.
      return byProgram(programs.commandInterpreter,
                       withParameters(quoted(programs.commandInterpreter) + L" /d /c " + quoted(file), parameters));
    case Starter::Program:
      return byProgram(std::wstring(file), withParameters(quoted(file), parameters));
    case Starter::ManagementConsole:
      return byProgram(programs.managementConsole,
                       withParameters(quoted(programs.managementConsole) + L" " + quoted(file), parameters));
    case Starter::CompiledHelp:
      return byProgram(programs.helpViewer, quoted(programs.helpViewer) + L" " + quoted(file));
    case Starter::Association:
      break;
  }
  const std::wstring extension = extensionOf(file);
  if (extension.empty() || !association) return std::nullopt;
  const std::optional<std::wstring> command = association(extension);
  if (!command) return std::nullopt;
  return associationRequest(*command, file, parameters);
}

std::optional<ProcessRequest> associationRequest(std::wstring_view command, std::wstring_view file,
                                                 std::wstring_view parameters) {
  std::wstring commandLine;
  bool filePlaced = false;
  for (size_t i = 0; i < command.size(); ++i) {
    if (command[i] != L'%' || i + 1 == command.size()) {
      commandLine += command[i];
      continue;
    }
    const wchar_t code = command[++i];
    if (code == L'1' || code == L'l' || code == L'L') {
      commandLine += file;
      filePlaced = true;
    } else if (code == L'*') {
      commandLine += parameters;
    } else if (code == L'%') {
      commandLine += L'%';
    } else if (code < L'0' || code > L'9') {
      commandLine += L'%';
      commandLine += code;
    }
  }
  if (!filePlaced) commandLine += L" " + quoted(file);
  const size_t start = commandLine.find_first_not_of(L' ');
  if (start == std::wstring::npos) return std::nullopt;
  std::wstring program;
  if (commandLine[start] == L'"') {
    const size_t close = commandLine.find(L'"', start + 1);
    if (close == std::wstring::npos) return std::nullopt;
    program = commandLine.substr(start + 1, close - start - 1);
  } else {
    program = commandLine.substr(start, commandLine.find(L' ', start) - start);
  }
  return byProgram(program, commandLine.substr(start));
}

std::wstring safeCopyName(std::wstring_view name) {
  std::wstring safe(name);
  for (wchar_t& c : safe) {
    if (c < 0x20 || std::wstring_view(L" &|<>^%!()\"=;,").find(c) != std::wstring_view::npos) c = L'_';
  }
  return safe;
}

std::wstring copyFolderName(const unsigned char (&random)[16]) {
  static constexpr wchar_t Digits[] = L"0123456789abcdef";
  std::wstring name(CopyFolderPrefix);
  for (const unsigned char byte : random) {
    name += Digits[byte >> 4];
    name += Digits[byte & 15];
  }
  return name;
}

bool isCopyFolderName(std::wstring_view name) {
  if (name.size() != CopyFolderPrefix.size() + 32 || !name.starts_with(CopyFolderPrefix)) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(CopyFolderPrefix.size()), name.end(),
                     [](wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); });
}

std::optional<std::wstring> makeCopyFolder(CopyFolderSystem& system, const std::wstring& parent,
                                           std::wstring_view name) {
  if (parent.empty()) return std::nullopt;
  std::wstring path = parent;
  if (path.back() != L'\\') path += L'\\';
  path += name;
  // A name that exists was not made by this run: it may be someone's link or a
  // folder they can write. It is refused, never reused.
  if (system.makeFolder(path, CopyFolderSecurity) != CopyFolderSystem::Made::Created) return std::nullopt;
  if (!system.isPlainFolder(path)) return std::nullopt;
  return path;
}

}  // namespace kelvane
