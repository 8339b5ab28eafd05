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

// The skin bitmap is 150 x 155 pixels: 2250 x 2325 twips.
inline constexpr float SkinPictureWidth = 2250;
inline constexpr float SkinPictureHeight = 2325;

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
