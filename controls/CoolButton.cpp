#include "controls/CoolButton.h"

#include <algorithm>
#include <optional>

#include "controls/ButtonKeys.h"

#include "controls/Dpi.h"
#include "controls/Picture.h"

namespace kelvane {
namespace {

// The skin: a light, slightly cool face that warms on hover and deepens when
// pressed, around the window's light cyan background.
constexpr COLORREF FaceNormal = RGB(244, 250, 255);
constexpr COLORREF FaceHover = RGB(222, 238, 255);
constexpr COLORREF FacePressed = RGB(190, 214, 244);
constexpr COLORREF FaceDisabled = RGB(236, 238, 240);
constexpr COLORREF Border = RGB(120, 150, 190);
constexpr COLORREF BorderHover = RGB(31, 96, 169);
constexpr COLORREF TextColour = RGB(20, 50, 100);
constexpr COLORREF TextDisabled = RGB(150, 156, 164);
constexpr int Corner = 6;
constexpr int Padding = 6;
// Sizes in pixels at 100 %. A page button is 89 pixels wide and holds a picture of up to 39 pixels and four
// Chinese characters of 12 pixels: beside a picture the margins must stay narrow.
constexpr int PictureMargin = 3;
constexpr int PictureGap = 1;

// Measured in a memory DC, as the button's own DC would measure, without a
// window DC from the window system.
SIZE textSize(HFONT font, const std::wstring& text) {
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  SelectedObject selected(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

}  // namespace

CoolButton::CoolButton(HWND parent, const ButtonDesign& design, float twipsPerPixel)
    : ControlWindow(twipsPerPixel), design_(design) {
  const RECT place = pixelRect(design.place, twipsPerPixel);
  const DWORD style = WS_CHILD | WS_TABSTOP | BS_OWNERDRAW | (design.visible ? WS_VISIBLE : 0);
  adopt(CreateWindowExW(0, L"BUTTON", design.caption.c_str(), style, place.left, place.top,
                        place.right, place.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!hwnd()) return;
  if (design.font) SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(design.font), FALSE);
  loadPicture();
  subclass();
  if (design.autoadjust) fitToCaption();
}

CoolButton::~CoolButton() = default;

int CoolButton::scaled(int designPixels) const { return scaleToDpi(designPixels, dpi()); }

SIZE CoolButton::pictureSize() const {
  if (!picture()) return SIZE{0, 0};
  return SIZE{scaled(design_.pictureSize.cx), scaled(design_.pictureSize.cy)};
}

void CoolButton::loadPicture() {
  if (!design_.pictureResource) return;
  // Stored pictures are square; a picture designed a little narrower or lower is
  // drawn from the square one made for its larger side.
  const int side = std::max(design_.pictureSize.cx, design_.pictureSize.cy);
  ownPicture_ = loadIconPicture(design_.pictureResource, side, dpi());
}

void CoolButton::onDpiChanged(const DpiChange& change) {
  if (design_.font && change.font) design_.font = change.font(design_.font);
  ControlWindow::onDpiChanged(change);
  loadPicture();
}

void CoolButton::afterDpiChanged(const DpiChange&) {
  if (design_.autoadjust) fitToCaption();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CoolButton::setCaption(std::wstring_view caption) {
  replaceCaption(caption);
  if (design_.autoadjust) fitToCaption();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CoolButton::replaceCaption(std::wstring_view caption) {
  design_.caption = caption;
  // The default handling stores the text (what GetWindowText and screen readers
  // read) without the button's own handling, which repaints a visible button at
  // once.
  DefWindowProcW(hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(design_.caption.c_str()));
}

std::wstring CoolButton::caption() const { return design_.caption; }

void CoolButton::setEnable(bool enable) { EnableWindow(hwnd(), enable); }

bool CoolButton::enabled() const { return IsWindowEnabled(hwnd()) != 0; }

std::unique_ptr<CoolButton> CoolButton::copy() const {
  ButtonDesign design = design_;
  design.visible = false;
  // The copy starts where this button is now, which may differ from its design.
  design.place = TwipRect{left().value_or(design.place.left), top().value_or(design.place.top),
                          width().value_or(design.place.width), height().value_or(design.place.height)};
  design.autoadjust = false;  // already sized like this one; fitted again on its caption
  auto button = std::make_unique<CoolButton>(GetParent(hwnd()), design, twipsPerPixel());
  button->design_.autoadjust = design_.autoadjust;
  EnableWindow(button->hwnd(), enabled());
  return button;
}

int CoolButton::fittingWidth() const {
  const SIZE text = textSize(design_.font, design_.caption);
  if (picture()) return text.cx + pictureSize().cx + scaled(PictureGap) + 2 * scaled(PictureMargin);
  return text.cx + 2 * scaled(Padding) + 2;
}

void CoolButton::fitToCaption() {
  RECT rect;
  GetWindowRect(hwnd(), &rect);
  SetWindowPos(hwnd(), nullptr, 0, 0, fittingWidth(), rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CoolButton::onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    // A disabled button never acts, even on a click message sent to it directly
    // (BM_CLICK reaches a disabled button on some systems). The callback may pump
    // messages (a message box, a wait loop), so nothing here runs after it.
    if (onClick_ && IsWindowEnabled(hwnd())) onClick_();
    result = 0;
    return true;
  }
  if (message == WM_DRAWITEM) {
    draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }
  return false;
}

LRESULT CoolButton::onSubclassed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Space the button handles itself.
  const auto classAnswer = [&] { return callClassProcedure(hwnd, message, wParam, lParam); };
  if (const std::optional<LRESULT> answer = clickOnEnter(hwnd, message, wParam, lParam, classAnswer)) return *answer;
  switch (message) {
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      hot_ = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case WM_ERASEBKGND:
      return 1;  // the face is drawn whole over the background
    case WM_NCPAINT:
      return 0;  // no frame: nothing lies outside the client area
    case WM_PAINT:
      if (wParam) break;  // a DC handed in: the class draws into it
      paint(hwnd);
      return 0;
    default:
      break;
  }
  return classAnswer();
}

void CoolButton::draw(const DRAWITEMSTRUCT& item) const {
  const RECT& bounds = item.rcItem;
  const SIZE size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  // Draw into a memory bitmap first so hovering never flickers.
  UniqueMemoryDc dc(CreateCompatibleDC(item.hDC));
  UniqueBitmap bitmap = makeDibSection(size.cx, size.cy);
  SelectedObject selectedBitmap(dc.get(), bitmap.get());
  paintParentBackground(item.hwndItem, dc.get());
  drawFace(dc.get(), size, item.itemState);
  BitBlt(item.hDC, bounds.left, bounds.top, size.cx, size.cy, dc.get(), 0, 0, SRCCOPY);
}

void CoolButton::drawFace(HDC dc, const RECT& bounds, HWND focus) const {
  POINT previous;
  OffsetViewportOrgEx(dc, bounds.left, bounds.top, &previous);
  drawFace(dc, SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top}, itemState(focus));
  SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

void CoolButton::drawFace(HDC dc, SIZE size, UINT state) const {
  const int width = size.cx;
  const int height = size.cy;
  const bool pressed = (state & ODS_SELECTED) != 0;
  const bool disabled = (state & ODS_DISABLED) != 0;
  const bool focused = (state & ODS_FOCUS) != 0 && (state & ODS_NOFOCUSRECT) == 0;

  // The DC's own brush and pen take the colours: nothing to make per paint.
  {
    SelectedObject brush(dc, GetStockObject(DC_BRUSH));
    SelectedObject pen(dc, GetStockObject(DC_PEN));
    SetDCBrushColor(dc, disabled ? FaceDisabled : pressed ? FacePressed : hot_ ? FaceHover : FaceNormal);
    SetDCPenColor(dc, (hot_ || focused) && !disabled ? BorderHover : Border);
    RoundRect(dc, 0, 0, width, height, scaled(Corner), scaled(Corner));
  }

  const int shift = pressed ? 1 : 0;  // the face sinks a pixel while pressed
  const int padding = scaled(Padding);
  RECT textArea{padding + shift, shift, width - padding + shift, height + shift};
  if (const HICON icon = picture()) {
    const SIZE picture = pictureSize();
    const int margin = scaled(PictureMargin);
    const int pictureTop = (height - picture.cy) / 2 + shift;
    DrawIconEx(dc, margin + shift, pictureTop, icon, picture.cx, picture.cy, 0, nullptr, DI_NORMAL);
    textArea.left = margin + picture.cx + scaled(PictureGap) + shift;
    textArea.right = width - margin + shift;
  }
  SelectedObject font(dc, design_.font ? design_.font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? TextDisabled : TextColour);
  // Unclipped: a caption a pixel or two wider than its area (fonts differ) may run
  // into the margins rather than lose the edges of its first and last characters.
  DrawTextW(dc, design_.caption.c_str(), static_cast<int>(design_.caption.size()), &textArea,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  if (focused) {
    const int inset = scaled(3);
    RECT focusRect{inset, inset, width - inset, height - inset};
    DrawFocusRect(dc, &focusRect);
  }
}

UINT CoolButton::itemState(HWND focus) const {
  UINT state = 0;
  if (SendMessageW(hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) state |= ODS_SELECTED;
  if (!IsWindowEnabled(hwnd())) state |= ODS_DISABLED;
  if (focus == hwnd()) state |= ODS_FOCUS;
  if (SendMessageW(hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) state |= ODS_NOFOCUSRECT;
  return state;
}

// The button's own WM_PAINT: the face is drawn straight away rather than by the
// class asking the parent for a brush and then for the drawing, each of which
// comes back here by reflection. Other paints of the class (focus, press,
// WM_PRINTCLIENT) still come as WM_DRAWITEM.
void CoolButton::paint(HWND hwnd) const {
  PaintDc paint(hwnd);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = itemState(GetFocus());
  item.hwndItem = hwnd;
  item.hDC = paint.get();
  GetClientRect(hwnd, &item.rcItem);
  draw(item);
}

}  // namespace kelvane
