// The real program at the display scales users run (100, 125, 150 and 200 %),
// set through the test prefix's LogPixels for the programs started afterwards,
// and a move to a monitor of another DPI (WM_DPICHANGED sent to the window).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "controls/Twips.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using testing::PrefixDpi;
using testing::waitUntil;

constexpr int DesignWidth = 600;   // 9000 x 9115 twips at 96 DPI
constexpr int DesignHeight = 608;

// Skin pixels of the program at 96 DPI, taken from the rendering before the
// program followed the display's scale: where (x, y) lies in the 600 x 608
// window, whether it keeps its distance from the right or bottom edge, and its colour.
struct SkinSample {
  int x, y;
  bool fromRight, fromBottom;
  COLORREF colour;
};
constexpr SkinSample SkinSamples[] = {
    {300, 4, false, false, RGB(237, 245, 253)},    // top edge, light top of the caption band
    {300, 22, false, false, RGB(207, 227, 246)},   // top edge, its foot
    {300, 27, false, false, RGB(151, 169, 193)},   // the line under the caption band
    {300, 600, false, true, RGB(198, 219, 241)},   // bottom edge
    {15, 15, false, false, RGB(219, 234, 249)},    // top-left corner
    {560, 4, true, false, RGB(237, 245, 253)},     // top-right corner
    {560, 20, true, false, RGB(211, 229, 247)},
    {577, 16, true, false, RGB(56, 80, 116)},      // the close glyph
    {535, 16, true, false, RGB(217, 233, 248)},    // above it
    {590, 600, true, true, RGB(198, 219, 241)},    // bottom-right corner
    {10, 590, false, true, RGB(206, 255, 253)},    // bottom-left corner, the window colour
    {8, 300, false, false, RGB(206, 255, 253)},    // left edge, inside the rim
    {585, 35, true, false, RGB(206, 255, 253)},    // right edge below the top-right corner
};

bool similar(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// The GDI objects `process` holds. Wine answers GetGuiResources with 0: there
// the process's own handle table (the PEB's GdiSharedHandleTable, 24-byte entries
// whose type byte Wine clears when the object is freed) is read and counted.
DWORD gdiObjectsOf(HANDLE process) {
  if (const DWORD count = GetGuiResources(process, GR_GDIOBJECTS)) return count;
  struct BasicInformation {
    LONG_PTR exitStatus;
    const BYTE* peb;
    ULONG_PTR affinity, basePriority, processId, parentId;
  } basic{};
  using QueryFunction = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0 || !basic.peb) return 0;
  const BYTE* table = nullptr;
  const size_t tableAt = sizeof(void*) == 8 ? 0xF8 : 0x94;
  if (!ReadProcessMemory(process, basic.peb + tableAt, &table, sizeof table, nullptr) || !table) return 0;
  constexpr size_t EntrySize = 24, TypeAt = 14, Entries = 0x10000;
  std::vector<BYTE> entries(EntrySize * Entries);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr)) return 0;
  DWORD count = 0;
  for (size_t i = 0; i < Entries; ++i) count += entries[i * EntrySize + TypeAt] != 0 ? 1 : 0;
  return count;
}

int scaled(int pixels, int dpi) { return static_cast<int>(std::lround(pixels * dpi / 96.0)); }

class ScaledProgram {
 public:
  ScaledProgram() : app_(std::make_unique<testing::RunningApp>()), main_(app_->mainWindow()) {}
  HWND main() const { return main_; }
  HANDLE process() const { return app_->process(); }

  SIZE size() const {
    RECT window;
    GetWindowRect(main_, &window);
    return {window.right - window.left, window.bottom - window.top};
  }
  // Whether the window's outline holds the pixel (x, y) of the window.
  bool inOutline(int x, int y) const {
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(main_, region.get()) != ERROR && PtInRegion(region.get(), x, y);
  }
  RECT placeOf(HWND child) const {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, main_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  HWND page(const wchar_t* title) const { return FindWindowExW(main_, nullptr, L"KelvanePanel", title); }
  // What the screen shows at the window's pixel (x, y); the window is moved so
  // that the pixel is on the screen (at 200 % it is taller than the screen).
  COLORREF pixel(int x, int y) {
    const SIZE window = size();
    const int top = y < GetSystemMetrics(SM_CYSCREEN) - 40 ? 0 : GetSystemMetrics(SM_CYSCREEN) - window.cy;
    RECT now;
    GetWindowRect(main_, &now);
    if (now.left != 0 || now.top != top) {
      SetWindowPos(main_, HWND_TOP, 0, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
      waitUntil([&] {
        GetWindowRect(main_, &now);
        return now.top == top;
      });
      Sleep(400);  // the window paints where it came into view
    }
    WindowDc screen(nullptr);
    return GetPixel(screen.get(), x, top + y);
  }

  // The right end of the dark caption print on the title band (window pixels),
  // read from one copy of the screen: it moves with the caption font's size.
  int captionRight(int dpi) {
    pixel(0, 0);  // brings the title band onto the screen
    RECT window;
    GetWindowRect(main_, &window);
    const int width = window.right - window.left, height = scaled(30, dpi);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    UniqueBitmap copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!copy || !dc) return -1;
    SelectObject(dc.get(), copy.get());
    {
      WindowDc screen(nullptr);
      BitBlt(dc.get(), 0, 0, width, height, screen.get(), window.left, window.top, SRCCOPY);
    }
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    int right = -1;
    // Below the rim and left of the frame buttons, which are dark too.
    for (int y = scaled(6, dpi); y < height; ++y) {
      for (int x = 0; x < width - scaled(120, dpi); ++x) {
        const DWORD p = pixels[y * width + x];  // 0x00RRGGBB
        if (similar(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), RGB(31, 96, 169), 24)) right = std::max(right, x);
      }
    }
    return right;
  }

  // Whether the label with `text` holds it in the font the program gives it
  // (宋体 of `points` at `dpi`; another process's font cannot be read back).
  bool holds(HWND parent, const wchar_t* text, float points, bool bold, bool underline, int dpi) const {
    // The page turns are link-like buttons, the other labels STATIC controls.
    HWND label = testing::RunningApp::findDescendant(parent, L"Static", text);
    if (!label) label = testing::RunningApp::findDescendant(parent, L"Button", text);
    if (!label) return false;
    UniqueFont font(CreateFontW(-static_cast<int>(std::lround(points * dpi / 72.0f)), 0, 0, 0,
                                bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, GB2312_CHARSET, 0, 0, 0, 0,
                                L"宋体"));
    RECT client;
    GetClientRect(label, &client);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.get(), font.get());
    RECT needed{0, 0, client.right, 0};
    DrawTextW(dc.get(), text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    RECT line{0, 0, 0, 0};
    DrawTextW(dc.get(), text, -1, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
    // A cut line is a lost line; the blank foot of the last one may be clipped.
    return needed.right <= client.right && needed.bottom <= client.bottom + line.bottom / 4;
  }

 private:
  std::unique_ptr<testing::RunningApp> app_;
  HWND main_;
};

// Checks at `dpi` what a user sees of the window; `what` names the case.
void expectWholeWindowAt(ScaledProgram& program, int dpi, const std::string& what) {
  SCOPED_TRACE(what + " at " + std::to_string(dpi) + " DPI");
  const int W = scaled(DesignWidth, dpi), H = scaled(DesignHeight, dpi);
  const SIZE size = program.size();
  EXPECT_NEAR(size.cx, W, 2);
  EXPECT_NEAR(size.cy, H, 2);
  // The outline: the rounded corners grow with the window, the bottom-right one stays nearly square.
  EXPECT_FALSE(program.inOutline(scaled(3, dpi), scaled(3, dpi)));
  EXPECT_TRUE(program.inOutline(scaled(12, dpi), scaled(12, dpi)));
  EXPECT_FALSE(program.inOutline(size.cx - scaled(3, dpi), scaled(3, dpi)));
  EXPECT_FALSE(program.inOutline(scaled(3, dpi), size.cy - scaled(4, dpi)));
  EXPECT_TRUE(program.inOutline(size.cx - scaled(4, dpi), size.cy - scaled(4, dpi)));
  EXPECT_FALSE(program.inOutline(size.cx - 1, size.cy - 1));
  // The wizard sits at the page area, Left 250, Top 1385, 8535 x 6515 twips.
  const float tpp = twipsPerPixelAt(dpi);
  const RECT page = program.placeOf(program.page(L"排除向导"));
  EXPECT_NEAR(page.left, twipsToPixels(250, tpp), 1);
  EXPECT_NEAR(page.top, twipsToPixels(1385, tpp), 1);
  EXPECT_NEAR(page.right - page.left, twipsToPixels(8535, tpp), 1);
  EXPECT_NEAR(page.bottom - page.top, twipsToPixels(6515, tpp), 1);
  // The skin: each piece at its scaled place shows what it shows at 96 DPI.
  for (const SkinSample& sample : SkinSamples) {
    const int x = sample.fromRight ? size.cx - scaled(DesignWidth - sample.x, dpi) : scaled(sample.x, dpi);
    const int y = sample.fromBottom ? size.cy - scaled(DesignHeight - sample.y, dpi) : scaled(sample.y, dpi);
    const COLORREF seen = program.pixel(x, y);
    EXPECT_TRUE(similar(seen, sample.colour, dpi == 96 ? 0 : 40))
        << "(" << sample.x << ", " << sample.y << ") shows " << std::hex << seen << " for " << sample.colour;
  }
  // Labels hold their text: the advertisement labels and the repair-tool page's page turns.
  EXPECT_TRUE(program.holds(program.main(), L"此广告位每月300元", 9, true, false, dpi));
  const HWND tools = program.page(L"维护工具");
  ASSERT_NE(tools, nullptr);
  const HWND menuBar = FindWindowExW(program.main(), nullptr, L"KelvanePanel", L"Menu");
  PostMessageW(FindWindowExW(menuBar, nullptr, L"Button", L"维护工具"), BM_CLICK, 0, 0);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(tools) != FALSE; }));
  EXPECT_TRUE(program.holds(tools, L"前一页", 10.5f, false, true, dpi));
  EXPECT_TRUE(program.holds(tools, L"后一页", 10.5f, false, true, dpi));
}

TEST(ScaledProgram, AtEveryScaleTheWindowOutlineSkinPagesAndLabelsScaleFromTheDesign) {
  for (const int dpi : {96, 120, 144, 192}) {
    PrefixDpi prefix(dpi);
    ScaledProgram program;
    ASSERT_NE(program.main(), nullptr) << dpi;
    expectWholeWindowAt(program, dpi, "started");
  }
}

TEST(ScaledProgram, AMoveToAMonitorOfAnotherDpiLaysTheWindowOutAtTheNewScale) {
  ScaledProgram program;
  ASSERT_NE(program.main(), nullptr);
  testing::DpiChangeSender sender(program.process());
  ASSERT_TRUE(sender.ready());
  const auto moveTo = [&](int dpi) {
    ASSERT_TRUE(sender.send(program.main(), dpi, RECT{0, 0, scaled(DesignWidth, dpi), scaled(DesignHeight, dpi)}));
    // The window repaints after the pass, its children after it.
    waitUntil([&] { return !GetUpdateRect(program.main(), nullptr, FALSE); });
    Sleep(400);
  };
  const int captionAt96 = program.captionRight(96);
  moveTo(144);
  expectWholeWindowAt(program, 144, "moved from 96");
  // The caption is printed in a font made for 144 DPI: it reaches half as far again.
  ASSERT_GT(captionAt96, 100);
  EXPECT_NEAR(program.captionRight(144), captionAt96 * 1.5, captionAt96 * 0.08);
  // Moving back and forth frees the fonts of the moves before: the process's
  // GDI objects stay as many after each round trip.
  std::vector<DWORD> gdiObjects;
  for (int trip = 0; trip < 3; ++trip) {
    moveTo(96);
    moveTo(144);
    gdiObjects.push_back(gdiObjectsOf(program.process()));
  }
  std::cout << "GDI objects after each round trip:";
  for (DWORD count : gdiObjects) std::cout << " " << count;
  std::cout << std::endl;
  EXPECT_EQ(gdiObjects[2], gdiObjects[1]);
  expectWholeWindowAt(program, 144, "moved back and forth");
}

}  // namespace
}  // namespace kelvane
