#include "controls/ButtonArray.h"

#include <limits>

namespace kelvane {

CoolButton& ButtonArray::append(std::unique_ptr<CoolButton> button) {
  const auto index = static_cast<int16_t>(elements_.size());
  button->setOnClick([this, index] {
    if (onClick_) onClick_(index);
  });
  elements_.push_back(std::move(button));
  return *elements_.back();
}

CoolButton& ButtonArray::add(HWND parent, const ButtonDesign& design, float twipsPerPixel) {
  return append(std::make_unique<CoolButton>(parent, design, twipsPerPixel));
}

CoolButton* ButtonArray::addCopyOfFirst() {
  if (elements_.empty() || elements_.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max())) {
    return nullptr;
  }
  return &append(elements_.front()->copy());
}

CoolButton* ButtonArray::element(int16_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= elements_.size()) return nullptr;
  return elements_[static_cast<size_t>(index)].get();
}

}  // namespace kelvane
