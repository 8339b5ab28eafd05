#include "controls/Banner.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "controls/Dpi.h"
#include "controls/Picture.h"
#include "controls/WindowClass.h"

namespace kelvane {
namespace {

constexpr wchar_t BannerClass[] = L"KelvaneBanner";
constexpr UINT_PTR TipTimer = 1;
constexpr UINT TipIntervalMs = 5000;

constexpr std::wstring_view Title = L"广告位招租 —— 欢迎洽谈：www.drovik.cn/kelvane";
constexpr std::array<std::wstring_view, 5> Tips = {
    L"小提示：遇到故障先看“排除向导”，按症状一步步找到解决方法。",
    L"小提示：修改系统设置之前，请先备份重要文件。",
    L"小提示：“维护工具”里的每个程序都会先说明它要做什么。",
    L"小提示：病毒探测运行时，请留意每一次系统目录的变化。",
    L"小提示：定期清理临时文件，可以让系统运行得更顺畅。",
};

// Band by band rather than with GradientFill, which would load another DLL at
// start-up for one small picture.
void fillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  const int height = rect.bottom - rect.top;
  constexpr int Band = 2;
  // One brush for every band: the DC's own, recoloured.
  const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  for (int y = 0; y < height; y += Band) {
    auto mix = [&](int from, int to) { return from + (to - from) * y / (height > 1 ? height - 1 : 1); };
    SetDCBrushColor(dc, RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                            mix(GetBValue(top), GetBValue(bottom))));
    RECT band{rect.left, rect.top + y, rect.right, std::min<LONG>(rect.top + y + Band, rect.bottom)};
    FillRect(dc, &band, brush);
  }
}

}  // namespace

Banner::Banner(HWND parent, const TwipRect& place, HFONT titleFont, HFONT textFont, float twipsPerPixel)
    : ControlWindow(twipsPerPixel), titleFont_(titleFont), textFont_(textFont) {
  registerWindowClass(BannerClass, windowProcedure<Banner>);
  const RECT rect = pixelRect(place, twipsPerPixel);
  adopt(CreateWindowExW(0, BannerClass, Title.data(), WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                        rect.right, rect.bottom, parent, nullptr, GetModuleHandleW(nullptr), this));
}

void Banner::onDpiChanged(const DpiChange& change) {
  ControlWindow::onDpiChanged(change);
  if (!change.font) return;
  if (titleFont_) titleFont_ = change.font(titleFont_);
  if (textFont_) textFont_ = change.font(textFont_);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void Banner::start() {
  if (running_ || !hwnd()) return;
  running_ = SetTimer(hwnd(), TipTimer, TipIntervalMs, nullptr) != 0;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void Banner::stop() {
  if (!running_) return;
  KillTimer(hwnd(), TipTimer);
  running_ = false;
}

void Banner::prepareFace(HDC like, const RECT& client) {
  if (faceDc_ && faceSize_.cx == client.right && faceSize_.cy == client.bottom) return;
  faceDc_.reset();
  face_ = makeDibSection(client.right, client.bottom);
  faceDc_.reset(CreateCompatibleDC(like));
  faceSize_ = {client.right, client.bottom};
  if (!face_ || !faceDc_) {
    faceDc_.reset();  // painted band by band instead
    return;
  }
  SelectObject(faceDc_.get(), face_.get());
  fillVerticalGradient(faceDc_.get(), client, RGB(236, 247, 255), RGB(196, 222, 246));
  UniquePen border(CreatePen(PS_SOLID, 1, RGB(151, 169, 193)));
  SelectedObject pen(faceDc_.get(), border.get());
  SelectedObject brush(faceDc_.get(), GetStockObject(NULL_BRUSH));
  RoundRect(faceDc_.get(), client.left, client.top, client.right, client.bottom, 8, 8);
}

void Banner::paint(HDC dc, const RECT& client) const {
  if (faceDc_) {
    BitBlt(dc, 0, 0, client.right, client.bottom, faceDc_.get(), 0, 0, SRCCOPY);
  } else {
    fillVerticalGradient(dc, client, RGB(236, 247, 255), RGB(196, 222, 246));
  }
  SetBkMode(dc, TRANSPARENT);
  RECT titleArea{client.left + 12, client.top + 6, client.right - 12, client.bottom / 2 + 2};
  {
    SelectedObject font(dc, titleFont_ ? titleFont_ : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, RGB(31, 96, 169));
    DrawTextW(dc, Title.data(), static_cast<int>(Title.size()), &titleArea,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (!running_) return;
  RECT tipArea{client.left + 12, client.bottom / 2, client.right - 12, client.bottom - 6};
  SelectedObject font(dc, textFont_ ? textFont_ : GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, RGB(60, 80, 110));
  const std::wstring_view tip = Tips[tip_ % Tips.size()];
  DrawTextW(dc, tip.data(), static_cast<int>(tip.size()), &tipArea,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT Banner::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == TipTimer) {
        ++tip_;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PaintDc paintDc(hwnd);
      RECT client;
      GetClientRect(hwnd, &client);
      // Through a memory bitmap, so the tip changes without flicker.
      UniqueMemoryDc dc(CreateCompatibleDC(paintDc.get()));
      UniqueBitmap bitmap = makeDibSection(client.right, client.bottom);
      SelectedObject selected(dc.get(), bitmap.get());
      prepareFace(paintDc.get(), client);
      paint(dc.get(), client);
      BitBlt(paintDc.get(), 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace kelvane
