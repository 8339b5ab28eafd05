#include "shell/SkinFrame.h"

namespace kelvane {

namespace {
constexpr std::wstring_view Lit = L"1";
}

void SkinImageState::show(SkinPicture picture) {
  picture_ = picture;
  view_.showPicture(id_, picture);
}

void SkinImageState::MouseMove() {
  if (!tag_.empty()) return;  // already lit, or pressed after a move: keep it
  show(SkinPicture::Hover);
  tag_ = std::wstring(Lit);
}

void SkinImageState::MouseDown() { show(SkinPicture::Pressed); }

void SkinImageState::MouseUp() {
  show(SkinPicture::None);
  tag_.clear();
}

void SkinImageState::FormMouseMove() {
  if (tag_.empty()) return;
  show(SkinPicture::None);
  tag_.clear();
}

void SkinFrame::IMBar_MouseDown(std::int16_t button) {
  if (button != LeftButton) return;
  view_.releaseCapture();
  view_.startWindowMove();
}

void SkinFrame::Form_MouseMove() {
  Imclose_.FormMouseMove();
  Immin_.FormMouseMove();
  immaxTip_ = ImmaxUnavailableTip;
  view_.setImmaxTip(immaxTip_);
}

}  // namespace kelvane
