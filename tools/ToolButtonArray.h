#pragma once
// The repair-tool page's button array `Text1`, able to hold every entry the 16-bit
// index allows. A process may own at most 10,000 window objects, so one window per
// entry is out of the question: every element keeps its own state (caption, place
// in whole pixels, Visible) here, and only the elements on show are lent a real
// button window from a small pool, which they give back when they are hidden.
//
// State changes reach the windows in realize(), which the page calls at the end of
// each of its operations. Until then only the state changes, so the loading loop
// that shows and then hides thousands of elements touches no window at all.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Placement.h"

namespace kelvane {

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const PixelRect&) const = default;
};

// The real windows behind the elements on show. Slots are numbered 0, 1, 2, ... in
// the order the windows were made.
class ButtonWindows {
 public:
  virtual ~ButtonWindows() = default;
  // Makes one more hidden window, whose slot is the number of windows made before
  // it; false when no window could be made.
  virtual bool addWindow() = 0;
  // Shows the window of `slot` with this caption at this place.
  virtual void present(int slot, const std::wstring& caption, const PixelRect& place) = 0;
  virtual void conceal(int slot) = 0;
  // Called once realize() has presented and concealed everything it had to, so
  // the windows can apply the changes together.
  virtual void finish() {}
};

struct ButtonTemplate {
  std::wstring caption;
  float left = 0;  // twips
  float top = 0;
  float width = 0;
  float height = 0;
};

class ToolButtonArray {
 public:
  // `fittingWidth` gives the width in pixels that fits a caption ("autoadjust");
  // without it a button keeps its width when its caption changes.
  ToolButtonArray(ButtonWindows& windows, float twipsPerPixel, const ButtonTemplate& element0,
                  std::function<int(std::wstring_view)> fittingWidth);
  ToolButtonArray(const ToolButtonArray&) = delete;
  ToolButtonArray& operator=(const ToolButtonArray&) = delete;
  ~ToolButtonArray();

  // Elements in use, element 0 included.
  int count() const { return static_cast<int>(elements_.size()); }
  // The element, or nullptr when the array has none of that index.
  Placement* element(int index);
  // Adds a hidden copy of element 0 (place, size, caption); its index, or nothing
  // once the index would pass 32767.
  std::optional<int16_t> add();
  bool setCaption(int index, std::wstring_view caption);
  std::optional<std::wstring> caption(int index) const;

  // The page moved to a monitor of another DPI: every element keeps its place in
  // twips (`scale` maps a pixel distance to the new one) and fitted widths are
  // measured again in the new font; then the windows follow.
  void rescale(float twipsPerPixel, const std::function<int(int)>& scale);

  // Lends windows to the elements on show and takes them back from hidden ones.
  void realize();
  // The element shown in `slot`, or -1 when the window is free.
  int elementInSlot(int slot) const;
  int windowCount() const { return static_cast<int>(slotOwners_.size()); }

 private:
  class Element;
  void markChanged(Element& element);
  int takeSlot();

  ButtonWindows& windows_;
  float twipsPerPixel_;
  std::function<int(std::wstring_view)> fittingWidth_;
  std::vector<std::unique_ptr<Element>> elements_;  // each element stays where it was made
  std::vector<int> changed_;      // indices whose state changed since realize()
  std::vector<int> slotOwners_;   // per slot the element it shows, -1 when free
  std::set<int> freeSlots_;       // lowest first, so tab order follows the index
};

}  // namespace kelvane
