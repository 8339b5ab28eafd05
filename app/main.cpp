// Kelvane: a toolbox with which a home user diagnoses and repairs a Windows PC.
#include <windows.h>
#include <commctrl.h>

#include "common/DllSafety.h"
#include "common/Files.h"
#include "common/Handles.h"
#include "common/OwnFileCopies.h"
#include "common/SingleInstance.h"
#include "common/SystemServices.h"
#include "shell/Frmmain.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  // Nothing started from here, or loaded by a name, may find it in the folder
  // the program was started from, which others may be able to write.
  SetCurrentDirectoryW(kelvane::systemFolder().c_str());
  // Before anything else, so a second copy changes nothing before it ends. The
  // handles are held to the end of the process; the system drops them then.
  const kelvane::SingleInstanceLock singleInstance;
  if (singleInstance.heldByAnother()) {
    // The name is held but no window came: a copy that hangs, or another
    // program holding the name. Ending without a word would look like a crash.
    if (!kelvane::bringRunningCopyForward(kelvane::FrmmainClass)) {
      kelvane::SystemMessageBoxes().show(nullptr, L"Kelvane 已经在运行，但找不到它的窗口。请稍后再试；如果仍然如此，请重新启动计算机。",
                                         L"", kelvane::MbOk | kelvane::MbIconExclamation);
    }
    return 0;
  }
  kelvane::restrictDllLoadingToSystemDirectory();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  kelvane::SystemLauncher launcher;
  kelvane::SystemMessageBoxes messageBoxes;
  kelvane::Frmmain frmmain({launcher, messageBoxes, kelvane::applicationDirectory(), [&launcher] {
                              launcher.removeCopies();
                              ExitProcess(0);
                            }});
  if (!frmmain.create(showCommand)) {
    messageBoxes.show(nullptr, L"无法创建程序主窗口，请重新启动计算机后再试。", L"", kelvane::MbOk | kelvane::MbIconError);
    return 1;
  }
  kelvane::SystemLauncher::removeLeftoverCopies();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // The page keys (Page Up, Page Down) turn the pages of the page on show,
    // wherever the focus is.
    if (frmmain.translatePageKey(message)) continue;
    // The dialog manager gives the window keyboard navigation: Tab between
    // controls, Space and Enter on buttons.
    if (IsDialogMessageW(frmmain.hwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
