// The structural twin that the program's start-up is measured against. Its
// command line is the window tree that the benchmark read from the running
// program at its first paint; the twin makes that tree under the program's
// manifest (the same top-level window and visible child windows, of the same
// classes, styles, places, texts and window region), gives the system's controls
// the program's bold button font, paints a background of the main window's size
// once, and does nothing else. What the program takes beyond it is the program's
// own work, not what its windows cost the system.
//
// The description (written by describeTree in startup_bench.cpp), blank-separated:
//   dpi windowCount, then per window, parents first: parent class classStyle
//   style exStyle x y width height text (parent -1 for the main window, the text
//   four hex digits per UTF-16 unit or "-" when empty), then the main window's
//   region: rectangleCount, then per rectangle: left top right bottom.
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

std::wstring caption(const wchar_t*& at) {
  std::wstring hex = field(at), text;
  for (size_t i = 0; hex != L"-" && i + 4 <= hex.size(); i += 4) {
    text.push_back(static_cast<wchar_t>(std::wcstoul(hex.substr(i, 4).c_str(), nullptr, 16)));
  }
  return text;
}

// The background, made once at the main window's size and shown by every paint.
struct Background {
  kelvane::UniqueBitmap bitmap;  // declared first: outlives the DC it is selected into
  kelvane::UniqueMemoryDc dc;
};

LRESULT CALLBACK mainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* background = reinterpret_cast<Background*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  } else if (message == WM_ERASEBKGND) {
    return 1;
  } else if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    const RECT& area = paint.rcPaint;
    if (background && background->dc) {
      BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, background->dc.get(),
             area.left, area.top, SRCCOPY);
    }
    EndPaint(hwnd, &paint);
    return 0;
  } else if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The program's own window classes get a namesake whose windows do nothing of
// their own; the system's classes (Button, Static, ...) are used as they are.
// True when the class is the system's.
bool useClass(const std::wstring& name, UINT classStyle, bool main) {
  WNDCLASSEXW existing{sizeof existing};
  if (GetClassInfoExW(nullptr, name.c_str(), &existing)) return true;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &existing)) return false;
  WNDCLASSEXW windowClass{sizeof windowClass};
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = main ? mainProcedure : DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name.c_str();
  RegisterClassExW(&windowClass);
  return false;
}

// Makes the windows of the description, parents first; the main window hidden.
HWND createTree(const wchar_t*& at, HFONT font, Background& background) {
  std::vector<HWND> made;
  for (long count = number(at); count > 0; --count) {
    const long parent = number(at);
    const std::wstring className = field(at);
    const UINT classStyle = static_cast<UINT>(number(at));
    const bool main = parent < 0;
    const DWORD style = static_cast<DWORD>(number(at)) & (main ? ~WS_VISIBLE : ~0UL);
    const DWORD exStyle = static_cast<DWORD>(number(at));
    const long x = number(at), y = number(at), width = number(at), height = number(at);
    const std::wstring text = caption(at);
    if (!main && parent >= static_cast<long>(made.size())) return nullptr;  // a parent comes before its children
    const bool systemClass = useClass(className, classStyle, main);
    HWND hwnd = CreateWindowExW(exStyle, className.c_str(), text.c_str(), style, x, y, width, height,
                                main ? nullptr : made[static_cast<size_t>(parent)], nullptr,
                                GetModuleHandleW(nullptr), main ? &background : nullptr);
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

void makeBackground(HWND hwnd, Background& background) {
  RECT client;
  GetClientRect(hwnd, &client);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  background.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  background.dc.reset(CreateCompatibleDC(nullptr));
  if (!background.dc || !background.bitmap) return;
  SelectObject(background.dc.get(), background.bitmap.get());
  const kelvane::UniqueBrush brush(CreateSolidBrush(RGB(206, 255, 253)));
  FillRect(background.dc.get(), &client, brush.get());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const wchar_t* at = commandLine;
  const kelvane::UiFonts fonts(static_cast<int>(number(at)));
  Background background;
  HWND hwnd = createTree(at, fonts.buttonBold.get(), background);
  if (!hwnd) return 1;
  setRegion(hwnd, at);
  makeBackground(hwnd, background);
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
