#pragma once
// The layout pass of the main window (Form_Resize): re-anchors the skin controls
// to the window's edges, paints the background, the eight pieces of the skin
// bitmap, the icon and the caption, and finally cuts the outline. Every step
// stands alone: a step that fails (a negative width, a missing size) is skipped
// and the pass goes on. All values are twips; the surface converts to pixels.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "controls/Placement.h"

namespace kelvane {

// Colours as 0x00BBGGRR, the window system's COLORREF.
inline constexpr std::uint32_t SkinBackColor = 0x00FDFFCE;     // red 206, green 255, blue 253
inline constexpr std::uint32_t CaptionLightColor = 0x00C1A997;  // red 151, green 169, blue 193
inline constexpr std::uint32_t CaptionColor = 0x00A9601F;       // red 31, green 96, blue 169

// The skin bitmap is 150 x 155 pixels: 2250 x 2325 twips. Its map is written in
// twips of the picture at 15 twips to a picture pixel, whatever the screen.
inline constexpr float SkinPictureWidth = 2250;
inline constexpr float SkinPictureHeight = 2325;
inline constexpr float SkinPictureTwipsPerPixel = 15;
inline constexpr int SkinDesignDpi = 96;

struct SkinRect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

enum class SkinPiece { TopEdge, BottomEdge, LeftEdge, RightEdge, TopLeft, BottomLeft, TopRight, BottomRight };

struct PiecePaint {
  SkinPiece piece;
  SkinRect destination;  // in the window
  SkinRect source;       // in the skin bitmap
};

// The eight pieces in painting order (edges first, the corners over them) for a
// window W x H and a skin bitmap PW x PH.
std::array<PiecePaint, 8> skinPaintMap(float W, float H, float PW = SkinPictureWidth,
                                       float PH = SkinPictureHeight);

// A rectangle in a picture's own pixels: left, top, width, height.
struct PictureRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

// `source` (twips of the skin map) in the pixels of the skin picture made for
// `dpi`. The rectangle is taken in the 100 % picture's pixels and its edges are
// scaled, so slices that meet at 100 % meet at every scale, and a slice that ends
// at the picture's right or bottom edge ends there at every scale.
PictureRect skinPictureSlice(const SkinRect& source, int dpi);
// designPixels * dpi / 96, rounded to the nearest pixel (as pictures are made).
int scaledPixels(int designPixels, int dpi);

// A piece in pixels: where it goes in the window and its slice of the skin
// picture made for `pictureDpi`. An edge strip stretches over its destination.
// A piece painted at its own size (a corner) is copied at its slice's size,
// unstretched: rounding the window's twips and the picture's pixels apart would
// double or drop a column. It keeps the edge of its destination that lies on the
// window's edge: the right or bottom one unless it starts at 0.
struct PiecePixels {
  PictureRect to;
  PictureRect from;
};
PiecePixels piecePixels(const SkinRect& destination, const SkinRect& source, float twipsPerPixel, int pictureDpi);

// A skin piece that only decorates (Pbottom, Pright, Pjiao): no window of its
// own, just a place the layout pass keeps in whole pixels of the main window,
// read and written in twips like a control. Like the image it stands for, it
// takes the mouse moves over it (they do not reach the window's own surface).
class SkinPiecePlace : public Placement {
 public:
  SkinPiecePlace(float left, float top, float width, float height, const float& twipsPerPixel);

  bool setLeft(float twips) override;
  bool setTop(float twips) override;
  bool setWidth(float twips) override;   // a negative size is refused
  bool setHeight(float twips) override;  // a negative size is refused
  bool setVisible(bool) override { return true; }
  std::optional<float> left() const override;
  std::optional<float> top() const override;
  std::optional<float> width() const override;
  std::optional<float> height() const override;
  std::optional<bool> visible() const override { return true; }

  // Whether the window pixel (x, y) lies on the piece.
  bool contains(int x, int y) const;
  // The window moved to another DPI: `scale` maps a pixel distance to the new one.
  void rescale(const std::function<int(int)>& scale);

 private:
  int toPixels(float twips) const;
  const float& twipsPerPixel_;
  int left_, top_, width_, height_;
};

// The window's own surface as the pass paints it.
class SkinSurface {
 public:
  virtual ~SkinSurface() = default;
  virtual bool fill(const SkinRect& rect, std::uint32_t colour) = 0;
  // Copies `source` of the skin bitmap to `destination`, stretched when the sizes differ.
  virtual bool paintPicture(const SkinRect& destination, const SkinRect& source) = 0;
  // Paints `source` of the window icon to `destination`.
  virtual bool paintIcon(const SkinRect& destination, const SkinRect& source) = 0;
  // Prints `text` with its top-left corner at (x, y) in the caption font.
  virtual bool print(float x, float y, std::uint32_t colour, std::wstring_view text) = 0;
};

struct SkinControls {
  Placement& IMBar;
  Placement& Immin;
  Placement& Immax;
  Placement& Imclose;
  Placement& Pbottom;
  Placement& Pright;
  Placement& Pjiao;
};

struct LayoutWindow {
  std::optional<float> width;   // the window's outer Width, twips
  std::optional<float> height;  // the window's outer Height, twips
  std::wstring_view caption;
};

// Step 1 alone: the skin controls anchored to the edges of a W x H window.
void placeSkinControls(std::optional<float> W, std::optional<float> H, SkinControls& controls);

// The whole pass: steps 1 to 5, then `RMe`.
void runLayoutPass(const LayoutWindow& window, SkinControls& controls, SkinSurface& surface,
                   const std::function<void()>& RMe);

}  // namespace kelvane
