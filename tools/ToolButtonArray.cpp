#include "tools/ToolButtonArray.h"

#include <algorithm>
#include <limits>

#include "controls/Twips.h"

namespace kelvane {

// One element: its state in whole pixels, as a real control holds it, and the
// window slot it borrows while it is on show.
class ToolButtonArray::Element final : public Placement {
 public:
  Element(ToolButtonArray& owner, int index, std::wstring caption, const PixelRect& place)
      : owner_(owner), index_(index), caption_(std::move(caption)), place_(place) {}

  bool setLeft(float twips) override { return setPixels(place_.left, twips); }
  bool setTop(float twips) override { return setPixels(place_.top, twips); }
  bool setWidth(float twips) override { return twips >= 0 && setPixels(place_.width, twips); }
  bool setHeight(float twips) override { return twips >= 0 && setPixels(place_.height, twips); }
  bool setVisible(bool visible) override {
    if (visible_ != visible) {
      visible_ = visible;
      owner_.markChanged(*this);
    }
    return true;
  }
  std::optional<float> left() const override { return twips(place_.left); }
  std::optional<float> top() const override { return twips(place_.top); }
  std::optional<float> width() const override { return twips(place_.width); }
  std::optional<float> height() const override { return twips(place_.height); }
  std::optional<bool> visible() const override { return visible_; }

  void rescale(const std::function<int(int)>& scale) {
    place_ = {scale(place_.left), scale(place_.top), scale(place_.width), scale(place_.height)};
    if (index_ != 0 && owner_.fittingWidth_) place_.width = owner_.fittingWidth_(caption_);
    owner_.markChanged(*this);
  }

  void setCaption(std::wstring_view caption) {
    caption_ = caption;
    if (owner_.fittingWidth_) place_.width = owner_.fittingWidth_(caption_);
    owner_.markChanged(*this);
  }

  int index() const { return index_; }
  const std::wstring& caption() const { return caption_; }
  const PixelRect& place() const { return place_; }
  bool shown() const { return visible_; }

  int slot = -1;
  bool changed = false;

 private:
  bool setPixels(int& field, float twips) {
    const int pixels = twipsToPixels(twips, owner_.twipsPerPixel_);
    if (field != pixels) {
      field = pixels;
      owner_.markChanged(*this);
    }
    return true;
  }
  float twips(int pixels) const { return pixelsToTwips(pixels, owner_.twipsPerPixel_); }

  ToolButtonArray& owner_;
  int index_;
  std::wstring caption_;
  PixelRect place_;
  bool visible_ = false;
};

ToolButtonArray::ToolButtonArray(ButtonWindows& windows, float twipsPerPixel, const ButtonTemplate& element0,
                                 std::function<int(std::wstring_view)> fittingWidth)
    : windows_(windows), twipsPerPixel_(twipsPerPixel), fittingWidth_(std::move(fittingWidth)) {
  // Element 0 keeps its design size: it shows no entry, and only its copies are
  // fitted to their captions.
  const PixelRect place{twipsToPixels(element0.left, twipsPerPixel), twipsToPixels(element0.top, twipsPerPixel),
                        twipsToPixels(element0.width, twipsPerPixel),
                        twipsToPixels(element0.height, twipsPerPixel)};
  elements_.push_back(std::make_unique<Element>(*this, 0, element0.caption, place));
}

ToolButtonArray::~ToolButtonArray() = default;

void ToolButtonArray::rescale(float twipsPerPixel, const std::function<int(int)>& scale) {
  twipsPerPixel_ = twipsPerPixel;
  for (const std::unique_ptr<Element>& element : elements_) element->rescale(scale);
  realize();
}

Placement* ToolButtonArray::element(int index) {
  if (index < 0 || index >= count()) return nullptr;
  return elements_[static_cast<size_t>(index)].get();
}

std::optional<int16_t> ToolButtonArray::add() {
  if (count() > std::numeric_limits<int16_t>::max()) return std::nullopt;
  const Element& first = *elements_.front();
  elements_.push_back(std::make_unique<Element>(*this, count(), first.caption(), first.place()));
  return static_cast<int16_t>(count() - 1);
}

bool ToolButtonArray::setCaption(int index, std::wstring_view caption) {
  if (index < 0 || index >= count()) return false;
  elements_[static_cast<size_t>(index)]->setCaption(caption);
  return true;
}

std::optional<std::wstring> ToolButtonArray::caption(int index) const {
  if (index < 0 || index >= count()) return std::nullopt;
  return elements_[static_cast<size_t>(index)]->caption();
}

int ToolButtonArray::elementInSlot(int slot) const {
  if (slot < 0 || slot >= windowCount()) return -1;
  return slotOwners_[static_cast<size_t>(slot)];
}

void ToolButtonArray::markChanged(Element& element) {
  // A hidden element without a window has nothing to bring up to date; it is
  // marked when it is shown, and then shown with its state as it is by then.
  if (element.changed || (!element.shown() && element.slot < 0)) return;
  element.changed = true;
  changed_.push_back(element.index());
}

int ToolButtonArray::takeSlot() {
  if (!freeSlots_.empty()) {
    const int slot = *freeSlots_.begin();
    freeSlots_.erase(freeSlots_.begin());
    return slot;
  }
  if (!windows_.addWindow()) return -1;
  slotOwners_.push_back(-1);
  return windowCount() - 1;
}

void ToolButtonArray::realize() {
  std::sort(changed_.begin(), changed_.end());
  // Hidden elements give their windows back first, so the elements shown next
  // reuse them and the pool never holds more windows than are on show at once.
  std::vector<int> released;
  for (const int index : changed_) {
    Element& element = *elements_[static_cast<size_t>(index)];
    if (element.shown() || element.slot < 0) continue;
    slotOwners_[static_cast<size_t>(element.slot)] = -1;
    freeSlots_.insert(element.slot);
    released.push_back(element.slot);
    element.slot = -1;
  }
  for (const int index : changed_) {
    Element& element = *elements_[static_cast<size_t>(index)];
    element.changed = false;
    if (!element.shown()) continue;
    if (element.slot < 0) {
      element.slot = takeSlot();
      if (element.slot < 0) continue;  // no window to be had: the element stays in state only
      slotOwners_[static_cast<size_t>(element.slot)] = index;
    }
    windows_.present(element.slot, element.caption(), element.place());
  }
  // A window handed straight on to another element is shown anew rather than
  // hidden in between: a page turn then costs one window operation per button.
  for (const int slot : released) {
    if (slotOwners_[static_cast<size_t>(slot)] < 0) windows_.conceal(slot);
  }
  changed_.clear();
  windows_.finish();
}

}  // namespace kelvane
