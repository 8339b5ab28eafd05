#include "common/Launcher.h"

namespace kelvane {

std::wstring quotedCommandLine(const std::wstring& application) {
  return L"\"" + application + L"\"";
}

}  // namespace kelvane
