#include "common/ShellDesktop.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "common/DllSafety.h"
#include "common/Handles.h"

namespace kelvane {
namespace {

// What this path needs of COM, from ole32 and oleaut32 of the system folder,
// loaded on its first use. Nothing else of the program uses COM, and importing
// ole32 would cost every start its loading and set-up. The libraries stay for
// the process: COM may keep threads and objects of them after the call.
struct ComFunctions {
  decltype(&CoInitializeEx) initialize = nullptr;
  decltype(&CoUninitialize) uninitialize = nullptr;
  decltype(&CoCreateInstance) createInstance = nullptr;
  decltype(&SysAllocString) allocateString = nullptr;
  decltype(&SysFreeString) freeString = nullptr;

  bool complete() const { return initialize && uninitialize && createInstance && allocateString && freeString; }
};

const ComFunctions& comFunctions() {
  static const ComFunctions functions = [] {
    const HMODULE ole32 = loadSystemLibrary(L"ole32.dll");
    const HMODULE oleaut32 = loadSystemLibrary(L"oleaut32.dll");
    return ComFunctions{libraryFunction<decltype(&CoInitializeEx)>(ole32, "CoInitializeEx"),
                        libraryFunction<decltype(&CoUninitialize)>(ole32, "CoUninitialize"),
                        libraryFunction<decltype(&CoCreateInstance)>(ole32, "CoCreateInstance"),
                        libraryFunction<decltype(&SysAllocString)>(oleaut32, "SysAllocString"),
                        libraryFunction<decltype(&SysFreeString)>(oleaut32, "SysFreeString")};
  }();
  return functions;
}

// COM on this thread for one call; a thread that has it already keeps it.
class ComScope {
 public:
  explicit ComScope(const ComFunctions& com)
      : uninitialize_(com.uninitialize), result_(com.initialize(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) uninitialize_();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  decltype(&CoUninitialize) uninitialize_;
  HRESULT result_;
};

// The desktop's Shell.Application object, reached through the desktop window
// of the Explorer process: IShellWindows -> its desktop's browser -> the view
// of the desktop folder -> that view's Application.
bool desktopShell(const ComFunctions& com, ComRef<IShellDispatch2>& shell) {
  ComRef<IShellWindows> windows;
  if (FAILED(com.createInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.putVoid()))) {
    return false;
  }
  VARIANT location{};  // VT_EMPTY: the desktop has no location to match
  VARIANT root{};
  long window = 0;
  ComRef<IDispatch> desktop;
  // S_FALSE, a success code, means that no desktop window was found.
  if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.put()) != S_OK ||
      !desktop.get()) {
    return false;
  }
  ComRef<IServiceProvider> services;
  ComRef<IShellBrowser> browser;
  ComRef<IShellView> view;
  ComRef<IDispatch> background;
  ComRef<IShellFolderViewDual> folderView;
  ComRef<IDispatch> application;
  return SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.putVoid())) &&
         SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.putVoid())) &&
         SUCCEEDED(browser->QueryActiveShellView(view.put())) &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.putVoid())) &&
         SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.putVoid())) &&
         SUCCEEDED(folderView->get_Application(application.put())) && application.get() &&
         SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.putVoid()));
}

}  // namespace

bool openThroughDesktopShell(const std::wstring& address) {
  const ComFunctions& com = comFunctions();
  if (!com.complete()) return false;
  const ComScope scope(com);
  ComRef<IShellDispatch2> shell;
  if (!desktopShell(com, shell)) return false;
  const BSTR file = com.allocateString(address.c_str());
  if (!file) return false;
  VARIANT none{};  // no arguments, folder or verb of our own: the shell's defaults
  VARIANT show{};
  show.vt = VT_I4;
  show.lVal = SW_SHOWNORMAL;
  const HRESULT result = shell->ShellExecute(file, none, none, none, show);
  com.freeString(file);
  return SUCCEEDED(result);
}

}  // namespace kelvane
