#pragma once
// What the main window asks of a page beyond its placement: the wizard is reset
// whenever its page button is pressed. Kept with the controls, so a page needs
// nothing from the shell that hosts it.

namespace kelvane {

class ResettablePage {
 public:
  virtual ~ResettablePage() = default;
  virtual void ResetAll() = 0;
};

}  // namespace kelvane
