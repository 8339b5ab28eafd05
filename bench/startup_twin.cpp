// The structural twin that the program's start-up is measured against. Its
// command line is the window tree the benchmark read from the running program
// at its first paint (see describeTree in startup_bench.cpp): the twin makes that
// tree under the program's manifest, gives the system's controls the program's
// bold button font, paints the main window's background once, and does nothing
// else. What the program takes beyond it is the program's own work.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "controls/Fonts.h"

namespace {

// The description's next blank-separated field; "" once it is read to its end.
std::wstring field(const wchar_t*& at) {
  while (*at == L' ') ++at;
  const wchar_t* start = at;
  while (*at && *at != L' ') ++at;
  return {start, at};
}

long number(const wchar_t*& at) { return static_cast<long>(std::wcstoul(field(at).c_str(), nullptr, 0)); }

LRESULT CALLBACK mainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The program's own classes get a namesake whose windows do nothing of their
// own; the system's (Button, Static, ...) are used as they are. True for those.
bool useClass(const std::wstring& name, UINT classStyle, bool main, HBRUSH background) {
  WNDCLASSW existing{};
  if (GetClassInfoW(nullptr, name.c_str(), &existing)) return true;
  if (GetClassInfoW(GetModuleHandleW(nullptr), name.c_str(), &existing)) return false;
  const WNDCLASSW windowClass{classStyle, main ? mainProcedure : DefWindowProcW, 0, 0, GetModuleHandleW(nullptr),
                              nullptr, LoadCursorW(nullptr, IDC_ARROW), main ? background : nullptr, nullptr,
                              name.c_str()};
  RegisterClassW(&windowClass);
  return false;
}

// Makes the described windows, parents first, the main window hidden.
HWND createTree(const wchar_t*& at, HFONT font, HBRUSH background) {
  std::vector<HWND> made;
  for (long count = number(at); count > 0; --count) {
    const long parent = number(at);
    const std::wstring className = field(at);
    const UINT classStyle = static_cast<UINT>(number(at));
    const bool main = parent < 0;
    const DWORD style = static_cast<DWORD>(number(at)) & (main ? ~WS_VISIBLE : ~0UL);
    const DWORD exStyle = static_cast<DWORD>(number(at));
    const long x = number(at), y = number(at), width = number(at), height = number(at);
    std::wstring hex = field(at), text;  // four hex digits per UTF-16 unit, "-" for none
    for (size_t i = 0; hex != L"-" && i + 4 <= hex.size(); i += 4) {
      text.push_back(static_cast<wchar_t>(std::wcstoul(hex.substr(i, 4).c_str(), nullptr, 16)));
    }
    if (!main && parent >= static_cast<long>(made.size())) return nullptr;
    const bool systemClass = useClass(className, classStyle, main, background);
    HWND hwnd = CreateWindowExW(exStyle, className.c_str(), text.c_str(), style, x, y, width, height,
                                main ? nullptr : made[static_cast<size_t>(parent)], nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (main && static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) != style) {
      // The system gives a new overlapped window a caption; the program's has none.
      SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    if (systemClass) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    made.push_back(hwnd);
  }
  return made.empty() ? nullptr : made.front();
}

// The main window's region: a count, then left top right bottom per rectangle.
void setRegion(HWND hwnd, const wchar_t*& at) {
  kelvane::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  const long count = number(at);
  for (long i = 0; i < count; ++i) {
    const long left = number(at), top = number(at), right = number(at), bottom = number(at);
    const kelvane::UniqueRegion part(CreateRectRgn(left, top, right, bottom));
    CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
  }
  if (count > 0 && SetWindowRgn(hwnd, region.get(), TRUE)) region.release();  // the system's from here on
}

}  // namespace

// The description: the DPI, the window count, per window its parent's index (-1
// for the main window), class, class style, style, extended style, place in
// the parent's client area (x y width height) and text, then the region.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const wchar_t* at = commandLine;
  const kelvane::UiFonts fonts(static_cast<int>(number(at)));
  const kelvane::UniqueBrush background(CreateSolidBrush(RGB(206, 255, 253)));
  HWND hwnd = createTree(at, fonts.buttonBold.get(), background.get());
  if (!hwnd) return 1;
  setRegion(hwnd, at);
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
