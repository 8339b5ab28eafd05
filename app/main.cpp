// Kelvane: a toolbox with which a home user diagnoses and repairs a Windows PC.
#include <windows.h>
#include <commctrl.h>

#include "common/DllSafety.h"
#include "common/Files.h"
#include "common/Handles.h"
#include "bench/StartupMarks.h"
#include "common/SystemServices.h"
#include "controls/Picture.h"
#include "shell/Frmmain.h"

namespace {

// One copy per session: two copies would plant, compare and delete the same bait
// files and backups, and one's stop would make the other report every file
// missing. The name is fixed, not derived from the folder, so a copy started
// from another folder is caught too.
constexpr wchar_t SingleInstanceName[] = L"Local\\Kelvane.Frmmain.SingleInstance";

// Brings the running copy's window to the front: restored if minimised, and the
// dialog it has open, if any, above it. The running copy may still be starting,
// so its window is awaited for a few seconds. False when no window came.
bool bringRunningCopyForward() {
  HWND running = nullptr;
  for (int waited = 0; waited < 10000 && !(running = FindWindowW(kelvane::FrmmainClass, nullptr)); waited += 50) {
    Sleep(50);
  }
  if (!running) return false;
  if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
  // This copy was just started by the user, so the system lets it hand the
  // foreground on; the running copy could not take it by itself.
  SetForegroundWindow(GetLastActivePopup(running));
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  KELVANE_STARTUP_MARK("wWinMain");
  // Before anything else, so a second copy changes nothing before it ends. The
  // handle is held to the end of the process; the system drops it then.
  const kelvane::UniqueKernelHandle singleInstance(CreateMutexW(nullptr, FALSE, SingleInstanceName));
  if (singleInstance && GetLastError() == ERROR_ALREADY_EXISTS) {  // nothing in between sets the error
    // The name is held but no window came: a copy that hangs, or another
    // program holding the name. Ending without a word would look like a crash.
    if (!bringRunningCopyForward()) {
      kelvane::SystemMessageBoxes().show(nullptr, L"Kelvane 已经在运行，但找不到它的窗口。请稍后再试；如果仍然如此，请重新启动计算机。",
                                         L"", kelvane::MbOk | kelvane::MbIconExclamation);
    }
    return 0;
  }
  kelvane::restrictDllLoadingToSystemDirectory();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  KELVANE_STARTUP_MARK("common-controls");
  // The pictures are decoded through COM; started once here, not per picture.
  const kelvane::ImagingScope imaging;
  KELVANE_STARTUP_MARK("com");

  kelvane::SystemLauncher launcher;
  kelvane::SystemMessageBoxes messageBoxes;
  kelvane::Frmmain frmmain({launcher, messageBoxes, kelvane::applicationDirectory(),
                            [] { ExitProcess(0); }});
  KELVANE_STARTUP_MARK("frmmain-constructed");
  if (!frmmain.create(showCommand)) {
    messageBoxes.show(nullptr, L"无法创建程序主窗口，请重新启动计算机后再试。", L"", kelvane::MbOk | kelvane::MbIconError);
    return 1;
  }
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
