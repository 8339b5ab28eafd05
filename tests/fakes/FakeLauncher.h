#pragma once
// Records launches instead of starting anything.
#include <vector>

#include "common/Launcher.h"

namespace kelvane::testing {

class FakeLauncher : public Launcher {
 public:
  std::vector<ShellRequest> shellRequests;
  std::vector<ProcessRequest> processRequests;
  bool accept = true;

  bool shellExecute(const ShellRequest& request) override {
    shellRequests.push_back(request);
    return accept;
  }
  bool startProcess(const ProcessRequest& request) override {
    processRequests.push_back(request);
    return accept;
  }
};

}  // namespace kelvane::testing
