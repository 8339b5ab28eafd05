#pragma once
// The real launcher and message boxes the program uses; tests use fakes of the
// same interfaces.
#include "common/Launcher.h"
#include "common/MessageBox.h"

namespace kelvane {

// ShellExecuteW for documents and addresses, CreateProcessW for programs. The wide
// calls keep any path intact, also outside the ANSI code page.
//
// The shell library is large and slow to load, and only a launch needs it, so it is
// loaded from the system directory on the first shell launch rather than at start-up.
class SystemLauncher final : public Launcher {
 public:
  SystemLauncher() = default;
  SystemLauncher(const SystemLauncher&) = delete;
  SystemLauncher& operator=(const SystemLauncher&) = delete;
  ~SystemLauncher() override;

  bool shellExecute(const ShellRequest& request) override;
  bool startProcess(const ProcessRequest& request) override;

 private:
  void* shell32_ = nullptr;  // HMODULE, freed with the launcher
};

class SystemMessageBoxes final : public MessageBoxes {
 public:
  int show(WindowHandle owner, std::wstring_view text, std::wstring_view title,
           unsigned flags) override;
};

}  // namespace kelvane
