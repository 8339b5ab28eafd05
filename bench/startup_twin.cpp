// The structural twin that the program's start-up is measured against. It makes
// the window tree the benchmark read from the running program at its first
// paint (startup_twin.txt beside this exe, written by startup_bench): the same
// top-level window and visible child windows, of the same classes, styles,
// places, texts and window region, under the program's manifest. Every button
// and label the program shows at start holds its bold button font, so the
// twin's do too (a font cannot be read from another process's window: under
// Wine, WM_GETFONT answers 0 across processes). The main window paints a
// background of its size once; nothing else happens. Whatever the program takes
// beyond this twin is its own work, not what its windows cost the system.
//
// The description holds one line per window, tab-separated, parents first:
//   W parent class classStyle style exStyle x y width height textHex
// (parent -1 for the main window, places relative to the parent's client area,
// the text as four hex digits per UTF-16 unit), then
//   D dpi            the DPI the fonts are made for
//   R l t r b        one rectangle of the main window's region each.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "bench/StartupMarks.h"
#include "common/Handles.h"
#include "controls/Fonts.h"

namespace {

struct TwinWindow {
  int parent = -1;
  std::wstring className;
  UINT classStyle = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT place{};  // left, top, width, height
  std::wstring text;
};

struct TwinDesign {
  std::vector<TwinWindow> windows;
  std::vector<RECT> region;
  int dpi = 96;
};

std::wstring readDescription() {
  wchar_t exe[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(exe, length);
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"startup_twin.txt";
  const kelvane::UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::wstring text(GetFileSize(file.get(), nullptr) / sizeof(wchar_t), L'\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr)) return {};
  text.resize(read / sizeof(wchar_t));
  return text;
}

std::wstring fromHex(std::wstring_view hex) {
  std::wstring text;
  for (size_t i = 0; i + 4 <= hex.size(); i += 4) {
    text.push_back(static_cast<wchar_t>(std::wcstoul(std::wstring(hex.substr(i, 4)).c_str(), nullptr, 16)));
  }
  return text;
}

std::vector<std::wstring> fields(std::wstring_view line) {
  std::vector<std::wstring> parts;
  for (size_t start = 0;;) {
    const size_t tab = line.find(L'\t', start);
    parts.emplace_back(line.substr(start, tab == std::wstring_view::npos ? line.npos : tab - start));
    if (tab == std::wstring_view::npos) return parts;
    start = tab + 1;
  }
}

long number(const std::wstring& field) { return std::wcstol(field.c_str(), nullptr, 0); }

TwinDesign parseDescription(std::wstring_view text) {
  TwinDesign design;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring_view::npos) end = text.size();
    const std::vector<std::wstring> parts = fields(text.substr(start, end - start));
    start = end + 1;
    if (parts[0] == L"W" && parts.size() == 11) {
      TwinWindow window;
      window.parent = static_cast<int>(number(parts[1]));
      window.className = parts[2];
      window.classStyle = static_cast<UINT>(number(parts[3]));
      window.style = static_cast<DWORD>(std::wcstoul(parts[4].c_str(), nullptr, 0));
      window.exStyle = static_cast<DWORD>(std::wcstoul(parts[5].c_str(), nullptr, 0));
      window.place = {number(parts[6]), number(parts[7]), number(parts[8]), number(parts[9])};
      window.text = fromHex(parts[10]);
      // A child names a window before it, so every parent exists when it is made.
      if (window.parent < static_cast<int>(design.windows.size())) design.windows.push_back(std::move(window));
    } else if (parts[0] == L"D" && parts.size() == 2) {
      design.dpi = static_cast<int>(number(parts[1]));
    } else if (parts[0] == L"R" && parts.size() == 5) {
      design.region.push_back({number(parts[1]), number(parts[2]), number(parts[3]), number(parts[4])});
    }
  }
  return design;
}

// The background, made once at the main window's size and shown by every paint.
struct Background {
  kelvane::UniqueBitmap bitmap;  // declared first: outlives the DC it is selected into
  kelvane::UniqueMemoryDc dc;
};

LRESULT CALLBACK mainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* background = reinterpret_cast<Background*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      if (background && background->dc) {
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, background->dc.get(),
               area.left, area.top, SRCCOPY);
      }
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The program's own window classes get a namesake here whose windows do nothing
// of their own; the system's classes (Button, Static, ...) are used as they are.
// True when the class is the system's.
bool registerClass(const TwinWindow& window, bool main) {
  WNDCLASSEXW existing{sizeof existing};
  if (GetClassInfoExW(nullptr, window.className.c_str(), &existing)) return true;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), window.className.c_str(), &existing)) return false;
  WNDCLASSEXW windowClass{sizeof windowClass};
  windowClass.style = window.classStyle;
  windowClass.lpfnWndProc = main ? mainProcedure : DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = window.className.c_str();
  RegisterClassExW(&windowClass);
  return false;
}

HWND createTree(const TwinDesign& design, const kelvane::UiFonts& fonts, Background& background) {
  std::vector<HWND> made;
  for (const TwinWindow& window : design.windows) {
    const bool main = window.parent < 0;
    const bool systemClass = registerClass(window, main);
    const HWND parent = main ? nullptr : made[static_cast<size_t>(window.parent)];
    const DWORD style = main ? window.style & ~WS_VISIBLE : window.style;
    HWND hwnd = CreateWindowExW(window.exStyle, window.className.c_str(), window.text.c_str(), style,
                                window.place.left, window.place.top, window.place.right, window.place.bottom,
                                parent, nullptr, GetModuleHandleW(nullptr), main ? &background : nullptr);
    if (main && hwnd && static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) != style) {
      // The system gives a new overlapped window a caption; the program's has none.
      SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    if (hwnd && systemClass) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.buttonBold.get()), FALSE);
    made.push_back(hwnd);
    if (main && !hwnd) return nullptr;
  }
  return made.empty() ? nullptr : made.front();
}

void setRegion(HWND hwnd, const std::vector<RECT>& rectangles) {
  if (rectangles.empty()) return;
  kelvane::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  for (const RECT& box : rectangles) {
    const kelvane::UniqueRegion part(CreateRectRgnIndirect(&box));
    CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
  }
  if (SetWindowRgn(hwnd, region.get(), TRUE)) region.release();  // the system's from here on
}

void paintBackground(HWND hwnd, Background& background) {
  RECT client;
  GetClientRect(hwnd, &client);
  background.dc.reset(CreateCompatibleDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB};
  void* bits = nullptr;
  background.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!background.dc || !background.bitmap) return;
  SelectObject(background.dc.get(), background.bitmap.get());
  const kelvane::UniqueBrush brush(CreateSolidBrush(RGB(206, 255, 253)));
  FillRect(background.dc.get(), &client, brush.get());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  KELVANE_STARTUP_MARK("wWinMain");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  KELVANE_STARTUP_MARK("common-controls");
  const TwinDesign design = parseDescription(readDescription());
  const kelvane::UiFonts fonts(design.dpi);
  KELVANE_STARTUP_MARK("description-and-fonts");
  Background background;
  HWND hwnd = createTree(design, fonts, background);
  if (!hwnd) return 1;
  KELVANE_STARTUP_MARK("windows");
  setRegion(hwnd, design.region);
  paintBackground(hwnd, background);
  KELVANE_STARTUP_MARK("region-and-background");
  ShowWindow(hwnd, show);
  KELVANE_STARTUP_MARK("shown");
  UpdateWindow(hwnd);
  KELVANE_STARTUP_MARK("painted");
  KELVANE_WRITE_STARTUP_MARKS();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
