#pragma once
// Placement of a control or page as its host sees it: Left, Top, Width, Height in
// twips (single-precision, relative to the host's client area) and Visible.
//
// Every access can fail (a control that refuses a negative size, a missing element
// of a button array); hosts that must go on after a failure check the result, the
// others ignore it. A failed write leaves the control as it was.
#include <optional>

namespace kelvane {

class Placement {
 public:
  virtual ~Placement() = default;

  virtual bool setLeft(float twips) = 0;
  virtual bool setTop(float twips) = 0;
  virtual bool setWidth(float twips) = 0;
  virtual bool setHeight(float twips) = 0;
  virtual bool setVisible(bool visible) = 0;

  virtual std::optional<float> left() const = 0;
  virtual std::optional<float> top() const = 0;
  virtual std::optional<float> width() const = 0;
  virtual std::optional<float> height() const = 0;
  virtual std::optional<bool> visible() const = 0;
};

}  // namespace kelvane
