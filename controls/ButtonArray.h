#pragma once
// A control array of skinned buttons addressed by a 16-bit index. Its Click
// handler receives the index of the element activated. Elements can be added at
// run time, each a hidden copy of element 0.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "controls/CoolButton.h"

namespace kelvane {

class ButtonArray {
 public:
  explicit ButtonArray(std::function<void(int16_t)> onClick) : onClick_(std::move(onClick)) {}
  // Elements call back into this object, so it stays where it was made.
  ButtonArray(const ButtonArray&) = delete;
  ButtonArray& operator=(const ButtonArray&) = delete;

  // Adds an element from its design; returns it.
  CoolButton& add(HWND parent, const ButtonDesign& design, float twipsPerPixel);
  // Adds a hidden copy of element 0; nothing when there is no element 0 or the
  // index would pass 32767.
  CoolButton* addCopyOfFirst();

  // The element, or nullptr when the array has none of that index.
  CoolButton* element(int16_t index) const;
  int16_t count() const { return static_cast<int16_t>(elements_.size()); }

 private:
  CoolButton& append(std::unique_ptr<CoolButton> button);

  std::function<void(int16_t)> onClick_;
  std::vector<std::unique_ptr<CoolButton>> elements_;
};

}  // namespace kelvane
