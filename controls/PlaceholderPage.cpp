#include "controls/PlaceholderPage.h"

namespace kelvane {
namespace {
constexpr wchar_t ComingSoon[] = L"本页功能正在建设中，敬请期待。";
constexpr COLORREF PageBackground = RGB(248, 253, 255);
}

PlaceholderPage::PlaceholderPage(HWND parent, const TwipRect& place, std::wstring title,
                                 HFONT titleFont, HFONT textFont, float twipsPerPixel)
    : Panel(parent, PanelDesign{place, false, PageBackground, title, false, nullptr}, twipsPerPixel),
      title_(std::move(title)),
      titleFont_(titleFont),
      textFont_(textFont) {}

void PlaceholderPage::paintContent(HDC dc, const RECT& client) {
  SetBkMode(dc, TRANSPARENT);
  RECT upper = client;
  upper.bottom = client.bottom / 2;
  {
    SelectedObject font(dc, titleFont_);
    SetTextColor(dc, RGB(31, 96, 169));
    DrawTextW(dc, title_.c_str(), static_cast<int>(title_.size()), &upper,
              DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
  }
  RECT lower = client;
  lower.top = client.bottom / 2 + 8;
  SelectedObject font(dc, textFont_);
  SetTextColor(dc, RGB(90, 100, 120));
  DrawTextW(dc, ComingSoon, -1, &lower, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace kelvane
