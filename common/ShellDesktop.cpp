#include "common/ShellDesktop.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "common/Handles.h"

namespace kelvane {
namespace {

// COM on this thread for one call; a thread that has it already keeps it.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

// The BSTR functions of oleaut32, loaded from the system directory on the first
// use only: nothing else of the program needs that library.
struct BstrFunctions {
  BSTR(WINAPI* allocate)(const OLECHAR*) = nullptr;
  void(WINAPI* release)(BSTR) = nullptr;
};
bool loadBstrFunctions(BstrFunctions& functions) {
  const HMODULE oleaut = LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!oleaut) return false;
  functions.allocate = reinterpret_cast<decltype(functions.allocate)>(
      reinterpret_cast<void*>(GetProcAddress(oleaut, "SysAllocString")));
  functions.release = reinterpret_cast<decltype(functions.release)>(
      reinterpret_cast<void*>(GetProcAddress(oleaut, "SysFreeString")));
  return functions.allocate && functions.release;
}

// The desktop's Shell.Application object, reached through the desktop window
// of the Explorer process: IShellWindows -> its desktop's browser -> the view
// of the desktop folder -> that view's Application.
bool desktopShell(ComRef<IShellDispatch2>& shell) {
  ComRef<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.putVoid()))) {
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
  BstrFunctions bstr;
  if (!loadBstrFunctions(bstr)) return false;
  const ComScope com;
  ComRef<IShellDispatch2> shell;
  if (!desktopShell(shell)) return false;
  const BSTR file = bstr.allocate(address.c_str());
  if (!file) return false;
  VARIANT none{};  // no arguments, folder or verb of our own: the shell's defaults
  VARIANT show{};
  show.vt = VT_I4;
  show.lVal = SW_SHOWNORMAL;
  const HRESULT result = shell->ShellExecute(file, none, none, none, show);
  bstr.release(file);
  return SUCCEEDED(result);
}

}  // namespace kelvane
