#pragma once
// The real launcher and message boxes the program uses; tests use fakes of the
// same interfaces.
#include <memory>

#include "common/Launcher.h"
#include "common/MessageBox.h"

namespace kelvane {

class CopyFolder;

// ShellExecuteW for documents and addresses, CreateProcessW for programs. The wide
// calls keep any path intact, also outside the ANSI code page. Files of the
// application directory start from checked copies (common/OwnFileCopies.h).
//
// The shell library is large and slow to load, and only a launch needs it, so it is
// loaded from the system directory on the first shell launch rather than at start-up.
class SystemLauncher final : public Launcher {
 public:
  SystemLauncher();
  SystemLauncher(const SystemLauncher&) = delete;
  SystemLauncher& operator=(const SystemLauncher&) = delete;
  ~SystemLauncher() override;

  bool shellExecute(const ShellRequest& request) override;
  bool startProcess(const ProcessRequest& request) override;
  bool startOwnFile(const OwnFileRequest& request) override;
  bool openUnelevated(const std::wstring& address) override;

  // Removes this run's copies whose programs have ended, as the program ends.
  void removeCopies();
  // Removes the copies that earlier runs, which crashed, left behind.
  static void removeLeftoverCopies();

 private:
  void* shell32_ = nullptr;  // HMODULE, freed with the launcher
  std::unique_ptr<CopyFolder> copies_;  // made on the first start of an own file
};

class SystemMessageBoxes final : public MessageBoxes {
 public:
  int show(WindowHandle owner, std::wstring_view text, std::wstring_view title,
           unsigned flags) override;
};

}  // namespace kelvane
