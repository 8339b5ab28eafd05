#pragma once
// The skin's image controls (the drag bar, the three frame buttons and the edge
// pieces): real child windows with no look of their own. Without a picture an
// image shows the window's painted surface below it; with one it shows the
// picture, unscaled, from its top-left corner. Mouse events are reported with
// the button values 1 (left), 2 (right) and 4 (middle); a press captures the
// mouse until every button is up, and a left release over the image is a click.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "controls/ControlWindow.h"

namespace kelvane {

struct SkinImageEvents {
  std::function<void(std::int16_t button)> mouseDown;
  std::function<void(std::int16_t buttons)> mouseMove;
  std::function<void(std::int16_t button)> mouseUp;
  std::function<void()> click;
};

class SkinImage : public ControlWindow {
 public:
  // `text` names the image for screen readers (the tool tip of a button).
  SkinImage(HWND parent, int id, const std::wstring& text, const TwipRect& place, float twipsPerPixel,
            SkinImageEvents events = {});

  // Not owned; null shows the surface below.
  void setPicture(HBITMAP picture);
  HBITMAP picture() const { return picture_; }

  LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class SkinTooltips;
  void paint(HWND hwnd);
  void buttonDown(HWND hwnd, std::int16_t button);
  void buttonUp(HWND hwnd, std::int16_t button, WPARAM keys, LPARAM lParam);

  SkinImageEvents events_;
  HBITMAP picture_ = nullptr;
  bool leftPressed_ = false;
  HWND tooltip_ = nullptr;  // the tooltip control the image's mouse messages go to; not owned
};

// Tool tips of child windows, one tooltip control for all of them.
class SkinTooltips {
 public:
  explicit SkinTooltips(HWND owner);
  // The image hands its mouse messages to the tooltip control itself: the
  // control's own subclassing (TTF_SUBCLASS) goes through the common controls'
  // subclass chain, which under Wine asks the window server on every message.
  void add(SkinImage& tool, std::wstring_view text);
  void setText(HWND tool, std::wstring_view text);
  HWND hwnd() const { return tooltip_.get(); }

 private:
  HWND owner_;
  UniqueWindow tooltip_;
};

}  // namespace kelvane
