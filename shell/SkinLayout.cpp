#include "shell/SkinLayout.h"

#include <cmath>

#include "controls/Twips.h"

namespace kelvane {

namespace {

// The three image buttons sit 465, 780 and 1095 twips left of the right edge;
// the drag bar ends just before the first of them.
constexpr float ImageButtonTop = 120;
constexpr float IMBarGap = 1100;
constexpr float ImminFromRight = 1095;
constexpr float ImmaxFromRight = 780;
constexpr float ImcloseFromRight = 465;
// Pbottom and Pright are 240 twips shorter than the window; Pbottom keeps its
// design Left and so reaches past the right edge.
constexpr float EdgeShortening = 240;

constexpr SkinRect IconSource{0, 0, 240, 240};
constexpr SkinRect IconDestination{240, 100, 240, 240};
constexpr float LightCaptionX = 530, LightCaptionY = 110;
constexpr float CaptionX = 540, CaptionY = 120;

}  // namespace

std::array<PiecePaint, 8> skinPaintMap(float W, float H, float PW, float PH) {
  return {{
      {SkinPiece::TopEdge, {420, 0, W, 600}, {420, 0, 120, 600}},
      {SkinPiece::BottomEdge, {420, H - 600, W, 600}, {420, PH - 600, 120, 600}},
      {SkinPiece::LeftEdge, {0, 0, 200, H}, {0, 880, 200, 40}},
      {SkinPiece::RightEdge, {W - 200, 0, 200, H}, {PW - 200, 880, 200, 40}},
      {SkinPiece::TopLeft, {0, 0, 450, 600}, {0, 0, 450, 600}},
      {SkinPiece::BottomLeft, {0, H - 600, 450, 600}, {0, PH - 600, 450, 600}},
      // The right-hand corners are lower than the left ones: below the top-right
      // corner, down to 600, the top edge shows.
      {SkinPiece::TopRight, {W - 1665, 0, 1665, 435}, {PW - 1665, 0, 1665, 435}},
      {SkinPiece::BottomRight, {W - 1665, H - 525, 1665, 525}, {PW - 1665, PH - 525, 1665, 525}},
  }};
}

int scaledPixels(int designPixels, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(designPixels) * dpi / SkinDesignDpi));
}

PictureRect skinPictureSlice(const SkinRect& source, int dpi) {
  const int left = twipsToPixels(source.left, SkinPictureTwipsPerPixel);
  const int top = twipsToPixels(source.top, SkinPictureTwipsPerPixel);
  const int right = left + twipsToPixels(source.width, SkinPictureTwipsPerPixel);
  const int bottom = top + twipsToPixels(source.height, SkinPictureTwipsPerPixel);
  const int scaledLeft = scaledPixels(left, dpi);
  const int scaledTop = scaledPixels(top, dpi);
  return {scaledLeft, scaledTop, scaledPixels(right, dpi) - scaledLeft, scaledPixels(bottom, dpi) - scaledTop};
}

PiecePixels piecePixels(const SkinRect& destination, const SkinRect& source, float twipsPerPixel, int pictureDpi) {
  const PictureRect from = skinPictureSlice(source, pictureDpi);
  PictureRect to{twipsToPixels(destination.left, twipsPerPixel), twipsToPixels(destination.top, twipsPerPixel),
                   twipsToPixels(destination.width, twipsPerPixel), twipsToPixels(destination.height, twipsPerPixel)};
  if (destination.width != source.width || destination.height != source.height) return {to, from};
  if (destination.left > 0) {
    to.left = twipsToPixels(destination.left + destination.width, twipsPerPixel) - from.width;
  }
  if (destination.top > 0) {
    to.top = twipsToPixels(destination.top + destination.height, twipsPerPixel) - from.height;
  }
  to.width = from.width;
  to.height = from.height;
  return {to, from};
}

SkinPiecePlace::SkinPiecePlace(float left, float top, float width, float height, const float& twipsPerPixel)
    : twipsPerPixel_(twipsPerPixel),
      left_(toPixels(left)),
      top_(toPixels(top)),
      width_(toPixels(width)),
      height_(toPixels(height)) {}

int SkinPiecePlace::toPixels(float twips) const { return twipsToPixels(twips, twipsPerPixel_); }

bool SkinPiecePlace::setLeft(float twips) {
  left_ = toPixels(twips);
  return true;
}

bool SkinPiecePlace::setTop(float twips) {
  top_ = toPixels(twips);
  return true;
}

bool SkinPiecePlace::setWidth(float twips) {
  if (twips < 0) return false;
  width_ = toPixels(twips);
  return true;
}

bool SkinPiecePlace::setHeight(float twips) {
  if (twips < 0) return false;
  height_ = toPixels(twips);
  return true;
}

std::optional<float> SkinPiecePlace::left() const { return pixelsToTwips(left_, twipsPerPixel_); }
std::optional<float> SkinPiecePlace::top() const { return pixelsToTwips(top_, twipsPerPixel_); }
std::optional<float> SkinPiecePlace::width() const { return pixelsToTwips(width_, twipsPerPixel_); }
std::optional<float> SkinPiecePlace::height() const { return pixelsToTwips(height_, twipsPerPixel_); }

bool SkinPiecePlace::contains(int x, int y) const {
  return x >= left_ && x < left_ + width_ && y >= top_ && y < top_ + height_;
}

void SkinPiecePlace::rescale(const std::function<int(int)>& scale) {
  left_ = scale(left_);
  top_ = scale(top_);
  width_ = scale(width_);
  height_ = scale(height_);
}

void placeSkinControls(std::optional<float> W, std::optional<float> H, SkinControls& c) {
  // Each write may fail alone (a negative width is refused); the next one still runs.
  c.IMBar.setLeft(0);
  c.IMBar.setTop(0);
  if (W) c.IMBar.setWidth(*W - IMBarGap);
  c.Immax.setTop(ImageButtonTop);
  if (W) c.Immax.setLeft(*W - ImmaxFromRight);
  c.Immin.setTop(ImageButtonTop);
  if (W) c.Immin.setLeft(*W - ImminFromRight);
  c.Imclose.setTop(ImageButtonTop);
  if (W) c.Imclose.setLeft(*W - ImcloseFromRight);
  if (const auto height = c.Pbottom.height(); H && height) c.Pbottom.setTop(*H - *height);
  if (W) c.Pbottom.setWidth(*W - EdgeShortening);
  if (const auto width = c.Pright.width(); W && width) c.Pright.setLeft(*W - *width);
  if (H) c.Pright.setHeight(*H - EdgeShortening);
  if (const auto width = c.Pjiao.width(); W && width) c.Pjiao.setLeft(*W - *width);
  if (const auto height = c.Pjiao.height(); H && height) c.Pjiao.setTop(*H - *height);
}

void runLayoutPass(const LayoutWindow& window, SkinControls& controls, SkinSurface& surface,
                   const std::function<void()>& RMe) {
  const std::optional<float> W = window.width;
  const std::optional<float> H = window.height;
  placeSkinControls(W, H, controls);
  if (W && H) {
    surface.fill({0, 0, *W, *H}, SkinBackColor);
    for (const PiecePaint& paint : skinPaintMap(*W, *H)) surface.paintPicture(paint.destination, paint.source);
  }
  surface.paintIcon(IconDestination, IconSource);
  // The light print first, 10 twips up and left of the dark one: an engraved look.
  surface.print(LightCaptionX, LightCaptionY, CaptionLightColor, window.caption);
  surface.print(CaptionX, CaptionY, CaptionColor, window.caption);
  if (RMe) RMe();
}

}  // namespace kelvane
