#pragma once
// One running copy of the program per session, and bringing that copy forward.
#include <windows.h>

#include <string>

#include "common/Handles.h"

namespace kelvane {

struct PrivateNamespaceTraits {
  using Handle = HANDLE;
  static Handle invalid() { return nullptr; }
  static void close(Handle h) { ClosePrivateNamespace(h, 0); }
};
using UniquePrivateNamespace = UniqueHandle<PrivateNamespaceTraits>;

// Takes the name of the running copy for as long as it lives.
class SingleInstanceLock {
 public:
  SingleInstanceLock();
  // Whether another copy held the name already.
  bool heldByAnother() const { return heldByAnother_; }

 private:
  UniquePrivateNamespace namespace_;
  UniqueKernelHandle mutex_;
  bool heldByAnother_;
};

// Brings forward the window of that class whose process runs this very
// program file, restored and with its open dialog above it, awaiting it for a
// few seconds. False when none came.
bool bringRunningCopyForward(const wchar_t* windowClass);

}  // namespace kelvane
