#pragma once
// Records launches instead of starting anything.
#include <vector>

#include "common/Launcher.h"

namespace kelvane::testing {

class FakeLauncher : public Launcher {
 public:
  std::vector<ShellRequest> shellRequests;
  std::vector<ProcessRequest> processRequests;
  std::vector<OwnFileRequest> ownFileRequests;
  std::vector<std::wstring> unelevatedAddresses;
  bool accept = true;
  bool desktopShell = true;  // false: a system without one, as under Wine

  bool shellExecute(const ShellRequest& request) override {
    shellRequests.push_back(request);
    return accept;
  }
  bool startProcess(const ProcessRequest& request) override {
    processRequests.push_back(request);
    return accept;
  }
  bool startOwnFile(const OwnFileRequest& request) override {
    ownFileRequests.push_back(request);
    return accept;
  }
  bool openUnelevated(const std::wstring& address) override {
    unelevatedAddresses.push_back(address);
    return desktopShell && accept;
  }
};

}  // namespace kelvane::testing
