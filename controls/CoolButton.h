#pragma once
// The skinned push button: a real owner-drawn BUTTON window, so tab order, focus,
// Space and screen readers work as with any button (Enter clicks it too). It has
// normal, hover, pressed, focused and disabled looks, an optional picture left of
// its caption, and reports activation through its Click callback.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "controls/ControlWindow.h"

namespace kelvane {

struct ButtonDesign {
  std::wstring caption;
  TwipRect place;
  bool visible = true;
  HFONT font = nullptr;       // not owned; lives as long as the host
  HICON picture = nullptr;    // not owned; drawn at pictureSize
  SIZE pictureSize{0, 0};     // in pixels at 100 %; scaled with the button's DPI
  bool autoadjust = false;    // the button sizes its width to its caption
  // An icon resource the button makes for its DPI itself (in place of `picture`);
  // a missing one leaves the caption alone. 0: none.
  int pictureResource = 0;
};

class CoolButton final : public ControlWindow {
 public:
  CoolButton(HWND parent, const ButtonDesign& design, float twipsPerPixel);
  ~CoolButton() override;

  void setCaption(std::wstring_view caption);
  // The window text and the drawn caption only, neither refitted nor repainted:
  // for a host that sizes the button itself and repaints many buttons at once.
  void replaceCaption(std::wstring_view caption);
  std::wstring caption() const;
  void setEnable(bool enable);
  bool enabled() const;
  void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }

  // Draws the face as the window shows it now, at `bounds` of a DC that already
  // holds what lies behind the button: for a host that paints many buttons in one
  // pass instead of letting each window paint itself. `focus` is GetFocus(),
  // asked once for the pass.
  void drawFace(HDC dc, const RECT& bounds, HWND focus) const;

  // A hidden copy of this button (same place, size, skin, caption and picture).
  std::unique_ptr<CoolButton> copy() const;

  // The width, in pixels, that fits the caption and picture.
  int fittingWidth() const;

 private:
  void onDpiChanged(const DpiChange& change) override;
  void afterDpiChanged(const DpiChange& change) override;
  void loadPicture();
  HICON picture() const { return ownPicture_ ? ownPicture_.get() : design_.picture; }
  SIZE pictureSize() const;
  int scaled(int designPixels) const;
  bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  LRESULT onSubclassed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void draw(const DRAWITEMSTRUCT& item) const;
  // The face of `size` at the DC's origin, for a state of ODS_ flags.
  void drawFace(HDC dc, SIZE size, UINT state) const;
  // The ODS_ flags of the button's state now, as the BUTTON class reports them.
  UINT itemState(HWND focus) const;
  void paint(HWND hwnd) const;
  void fitToCaption();

  ButtonDesign design_;
  UniqueIcon ownPicture_;  // made from design_.pictureResource for the button's DPI
  bool hot_ = false;
  std::function<void()> onClick_;
};

}  // namespace kelvane
