// Kelvane: a toolbox with which a home user diagnoses and repairs a Windows PC.
#include <windows.h>
#include <commctrl.h>

#include "common/DllSafety.h"
#include "common/Files.h"
#include "common/SystemServices.h"
#include "shell/Frmmain.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  kelvane::restrictDllLoadingToSystemDirectory();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  kelvane::SystemLauncher launcher;
  kelvane::SystemMessageBoxes messageBoxes;
  kelvane::Frmmain frmmain({launcher, messageBoxes, kelvane::applicationDirectory(),
                            [] { ExitProcess(0); }});
  if (!frmmain.create(showCommand)) {
    messageBoxes.show(nullptr, L"无法创建程序主窗口，请重新启动计算机后再试。", L"", kelvane::MbOk | kelvane::MbIconError);
    return 1;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // The dialog manager gives the window keyboard navigation: Tab between
    // controls, Space and Enter on buttons.
    if (IsDialogMessageW(frmmain.hwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
