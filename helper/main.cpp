// The online-help program: tells the user how to reach people who can help.
#include <windows.h>
#include <commctrl.h>

#include "common/DllSafety.h"
#include "common/SystemServices.h"
#include "helper/HelperWindow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  kelvane::restrictDllLoadingToSystemDirectory();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  kelvane::SystemLauncher launcher;
  kelvane::HelperWindow window(launcher);
  if (!window.create(showCommand)) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window.hwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
