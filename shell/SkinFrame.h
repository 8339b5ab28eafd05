#pragma once
// The behaviour of the skinned frame: the drag bar, the minimise and close
// images with their hover and pressed pictures, the maximise image's tool tip,
// and what a click on minimise or close does. Pure logic over a view, so the
// state table runs natively against a fake.
//
// An image button is normal (no picture, Tag empty), lit (hover picture, Tag
// "1") or pressed (pressed picture, Tag as it was). A move over the image lights
// it once; a press shows the pressed picture; a release clears it; a move over
// the window's own surface clears both images, Imclose first.
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

enum class SkinImageId { Immin, Imclose };
enum class SkinPicture { None, Hover, Pressed };

// Mouse-button values of the mouse events: 1 left, 2 right, 4 middle.
inline constexpr std::int16_t LeftButton = 1;
inline constexpr std::int16_t RightButton = 2;
inline constexpr std::int16_t MiddleButton = 4;

inline constexpr std::wstring_view ImminTip = L"最小化";
inline constexpr std::wstring_view ImmaxTip = L"最大化";
inline constexpr std::wstring_view ImmaxUnavailableTip = L"最大化不可用";
inline constexpr std::wstring_view ImcloseTip = L"关闭";

// What the frame needs from the window system.
class SkinFrameView {
 public:
  virtual ~SkinFrameView() = default;
  virtual void showPicture(SkinImageId image, SkinPicture picture) = 0;
  virtual void setImmaxTip(std::wstring_view tip) = 0;
  virtual void releaseCapture() = 0;
  // Hands the window to the system's move loop as if its caption had been pressed.
  virtual void startWindowMove() = 0;
  virtual void minimise() = 0;
  virtual void unload() = 0;
};

// One image button's Tag and picture.
class SkinImageState {
 public:
  SkinImageState(SkinImageId id, SkinFrameView& view) : id_(id), view_(view) {}

  void MouseMove();
  void MouseDown();
  void MouseUp();
  // The pointer moved over the window's own surface.
  void FormMouseMove();

  const std::wstring& Tag() const { return tag_; }
  SkinPicture picture() const { return picture_; }

 private:
  void show(SkinPicture picture);

  SkinImageId id_;
  SkinFrameView& view_;
  std::wstring tag_;
  SkinPicture picture_ = SkinPicture::None;
};

class SkinFrame {
 public:
  explicit SkinFrame(SkinFrameView& view) : view_(view), Immin_(SkinImageId::Immin, view), Imclose_(SkinImageId::Imclose, view) {}

  void IMBar_MouseDown(std::int16_t button);
  void Immin_MouseMove() { Immin_.MouseMove(); }
  void Immin_MouseDown() { Immin_.MouseDown(); }
  void Immin_MouseUp() { Immin_.MouseUp(); }
  void Imclose_MouseMove() { Imclose_.MouseMove(); }
  void Imclose_MouseDown() { Imclose_.MouseDown(); }
  void Imclose_MouseUp() { Imclose_.MouseUp(); }
  void Form_MouseMove();
  void Immin_Click() { view_.minimise(); }
  void Imclose_Click() { view_.unload(); }

  const SkinImageState& Immin() const { return Immin_; }
  const SkinImageState& Imclose() const { return Imclose_; }
  std::wstring_view immaxTip() const { return immaxTip_; }

 private:
  SkinFrameView& view_;
  SkinImageState Immin_;
  SkinImageState Imclose_;
  std::wstring_view immaxTip_ = ImmaxTip;
};

}  // namespace kelvane
