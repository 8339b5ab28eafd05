#include "controls/ControlWindow.h"

#include <cmath>

#include "controls/Dpi.h"
#include "controls/Twips.h"

namespace kelvane {
namespace {

constexpr wchar_t ControlProperty[] = L"Kelvane.Control";

HWND notifyingChild(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM:
      return reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    default:
      return nullptr;
  }
}

}  // namespace

float screenTwipsPerPixel() {
  WindowDc screen(nullptr);
  return twipsPerPixelAt(GetDeviceCaps(screen.get(), LOGPIXELSX));
}

int WindowPlacement::dpi() const {
  return static_cast<int>(std::lround(static_cast<float>(TwipsPerInch) / twipsPerPixel_));
}

int WindowPlacement::toPixels(float twips) const { return twipsToPixels(twips, twipsPerPixel_); }

std::optional<RECT> WindowPlacement::rectInParent() const {
  RECT rect;
  if (!hwnd_ || !GetWindowRect(hwnd_, &rect)) return std::nullopt;
  // For a child, its parent's client coordinates; for a top-level window the
  // parent is the desktop and the rectangle stays in screen coordinates.
  HWND parent = GetAncestor(hwnd_, GA_PARENT);
  if (parent && parent != GetDesktopWindow()) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

bool WindowPlacement::moveTo(int x, int y) {
  return SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

bool WindowPlacement::resizeTo(int width, int height) {
  return SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

bool WindowPlacement::setLeft(float twips) {
  const std::optional<RECT> rect = rectInParent();
  return rect && moveTo(toPixels(twips), rect->top);
}

bool WindowPlacement::setTop(float twips) {
  const std::optional<RECT> rect = rectInParent();
  return rect && moveTo(rect->left, toPixels(twips));
}

bool WindowPlacement::setWidth(float twips) {
  const std::optional<RECT> rect = rectInParent();
  return twips >= 0 && rect && resizeTo(toPixels(twips), rect->bottom - rect->top);
}

bool WindowPlacement::setHeight(float twips) {
  const std::optional<RECT> rect = rectInParent();
  return twips >= 0 && rect && resizeTo(rect->right - rect->left, toPixels(twips));
}

bool WindowPlacement::setVisible(bool visible) {
  if (!hwnd_) return false;
  ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  return true;
}

std::optional<float> WindowPlacement::left() const {
  const std::optional<RECT> rect = rectInParent();
  if (!rect) return std::nullopt;
  return pixelsToTwips(rect->left, twipsPerPixel_);
}

std::optional<float> WindowPlacement::top() const {
  const std::optional<RECT> rect = rectInParent();
  if (!rect) return std::nullopt;
  return pixelsToTwips(rect->top, twipsPerPixel_);
}

std::optional<float> WindowPlacement::width() const {
  const std::optional<RECT> rect = rectInParent();
  if (!rect) return std::nullopt;
  return pixelsToTwips(rect->right - rect->left, twipsPerPixel_);
}

std::optional<float> WindowPlacement::height() const {
  const std::optional<RECT> rect = rectInParent();
  if (!rect) return std::nullopt;
  return pixelsToTwips(rect->bottom - rect->top, twipsPerPixel_);
}

std::optional<bool> WindowPlacement::visible() const {
  if (!hwnd_) return std::nullopt;
  // The control's own flag, whether or not its parent is showing.
  return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The class's procedure comes back before the window goes, so its last
// messages (WM_DESTROY, a lost focus) never reach a control being taken apart.
ControlWindow::~ControlWindow() {
  unsubclass();
  if (window_) RemovePropW(window_.get(), ControlProperty);
}

void ControlWindow::subclass() {
  if (!window_ || classProcedure_) return;
  SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  classProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassedProcedure)));
}

void ControlWindow::unsubclass() {
  if (!window_ || !classProcedure_) return;
  SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProcedure_));
  SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  classProcedure_ = nullptr;
}

LRESULT ControlWindow::onSubclassed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return callClassProcedure(hwnd, message, wParam, lParam);
}

LRESULT ControlWindow::callClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcW(classProcedure_, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ControlWindow::subclassedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message != WM_NCDESTROY) return self->onSubclassed(hwnd, message, wParam, lParam);
  // The window goes without its control (destroyed with its parent): the class's
  // procedure has the last message.
  const WNDPROC classProcedure = self->classProcedure_;
  self->unsubclass();
  return CallWindowProcW(classProcedure, hwnd, message, wParam, lParam);
}

void ControlWindow::adopt(HWND hwnd) {
  window_.reset(hwnd);
  setHwnd(hwnd);
  if (hwnd) SetPropW(hwnd, ControlProperty, this);
}

bool ControlWindow::onReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

ControlWindow* ControlWindow::fromHwnd(HWND hwnd) {
  if (!hwnd) return nullptr;
  // A subclassed control holds itself in the window, read without asking the
  // window server as a property read does under Wine.
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(subclassedProcedure)) {
    return reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  return static_cast<ControlWindow*>(GetPropW(hwnd, ControlProperty));
}

void ControlWindow::onDpiChanged(const DpiChange& change) {
  setTwipsPerPixel(change.twipsPerPixel);
  if (hwnd()) swapFont(hwnd(), change);
}

bool reflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const HWND child = notifyingChild(message, lParam);
  if (!child) return false;
  ControlWindow* control = ControlWindow::fromHwnd(child);
  return control && control->onReflected(message, wParam, lParam, result);
}

void paintParentBackground(HWND child, HDC dc) {
  HWND parent = GetParent(child);
  if (!parent) return;
  POINT origin{0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  POINT previous;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

LRESULT colourText(HDC dc, COLORREF foreground, const std::optional<COLORREF>& background, HBRUSH brush) {
  SetTextColor(dc, foreground);
  if (background && brush) {
    SetBkColor(dc, *background);
    return reinterpret_cast<LRESULT>(brush);
  }
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

RECT pixelRect(const TwipRect& rect, float twipsPerPixel) {
  return RECT{twipsToPixels(rect.left, twipsPerPixel), twipsToPixels(rect.top, twipsPerPixel),
              twipsToPixels(rect.width, twipsPerPixel), twipsToPixels(rect.height, twipsPerPixel)};
}

}  // namespace kelvane
