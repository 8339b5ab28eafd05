#pragma once
// The base of every control adapter: placement of a real window in twips, and the
// reflection that hands a parent's notifications (WM_COMMAND, WM_DRAWITEM,
// WM_CTLCOLOR*) back to the control that sent them, so each control handles its
// own clicks and drawing whoever hosts it.
#include <windows.h>

#include <optional>

#include "common/Handles.h"
#include "controls/Placement.h"

namespace kelvane {
struct DpiChange;
}

namespace kelvane {

// Twips per screen pixel at the display's density (15 at 96 DPI).
float screenTwipsPerPixel();

// Placement of any window, held in whole pixels relative to its parent's client
// area (to the screen for a top-level window). Does not own the window.
class WindowPlacement : public Placement {
 public:
  WindowPlacement(HWND hwnd, float twipsPerPixel) : hwnd_(hwnd), twipsPerPixel_(twipsPerPixel) {}

  bool setLeft(float twips) override;
  bool setTop(float twips) override;
  bool setWidth(float twips) override;   // a negative size is refused
  bool setHeight(float twips) override;  // a negative size is refused
  bool setVisible(bool visible) override;
  std::optional<float> left() const override;
  std::optional<float> top() const override;
  std::optional<float> width() const override;
  std::optional<float> height() const override;
  std::optional<bool> visible() const override;

  HWND hwnd() const { return hwnd_; }
  float twipsPerPixel() const { return twipsPerPixel_; }
  // The DPI this placement converts twips for (96 at 15 twips per pixel).
  int dpi() const;
  // The window moved to a monitor of another DPI: the pixels it holds stay, what
  // is written in twips from now on lands at the new scale.
  void setTwipsPerPixel(float twipsPerPixel) { twipsPerPixel_ = twipsPerPixel; }
  int toPixels(float twips) const;

 protected:
  void setHwnd(HWND hwnd) { hwnd_ = hwnd; }

 private:
  std::optional<RECT> rectInParent() const;
  bool moveTo(int x, int y);
  bool resizeTo(int width, int height);

  HWND hwnd_;
  float twipsPerPixel_;
};

// A child control that owns its window and receives reflected notifications.
class ControlWindow : public WindowPlacement {
 public:
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;
  ~ControlWindow() override;

  // The control of the program that owns `hwnd`, if any.
  static ControlWindow* fromHwnd(HWND hwnd);
  // The window is to show at another DPI (see rescaleDescendants): the control
  // takes its new twips per pixel, fonts and pictures. The window's own place is
  // scaled after this by the caller.
  virtual void onDpiChanged(const DpiChange& change);
  // Every window of the tree has its new place: a control fits itself to it.
  virtual void afterDpiChanged(const DpiChange&) {}

 protected:
  explicit ControlWindow(float twipsPerPixel) : WindowPlacement(nullptr, twipsPerPixel) {}
  // Takes ownership of a freshly created window and registers it for reflection.
  void adopt(HWND hwnd);
  // A notification the parent received from this control; true when handled.
  virtual bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Puts onSubclassed in front of the procedure of a system control's class,
  // with this object in the window's GWLP_USERDATA (left to the owner by every
  // system class). Not the common controls' subclass helper: it keeps its chain
  // in a window property, and under Wine every message then costs a round trip
  // to the window server (0.15 ms against 0.001 ms).
  void subclass();
  // What the control does with a message of its own window; by default the class's procedure.
  virtual LRESULT onSubclassed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT callClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  friend bool reflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  static LRESULT CALLBACK subclassedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void unsubclass();

  UniqueWindow window_;
  WNDPROC classProcedure_ = nullptr;  // set while subclassed
};

// Called first by every host window procedure. True when a control handled the
// message, with its answer in `result`.
bool reflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Paints the part of the parent's background that lies under `child` into `dc`
// (whose origin is the child's client origin), by asking the parent to erase.
void paintParentBackground(HWND child, HDC dc);

// Answers WM_CTLCOLOR* for a control with text: its text colour, and its own
// background (with `brush` painting it) or, with none, the parent showing through.
LRESULT colourText(HDC dc, COLORREF foreground, const std::optional<COLORREF>& background, HBRUSH brush);

// The place of a control in its design, in twips.
struct TwipRect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
};

// The pixel rectangle (x, y, width, height) of a design rectangle.
RECT pixelRect(const TwipRect& rect, float twipsPerPixel);

}  // namespace kelvane
