#pragma once
#include "controls/PageContext.h"
#include "controls/PlaceholderPage.h"
#include "shell/PageSwitch.h"

namespace kelvane {

// The "排除向导" page of the main window.
class FixWidze final : public PlaceholderPage, public ResettablePage {
 public:
  explicit FixWidze(const PageContext& context)
      : PlaceholderPage(context.parent, context.place, L"排除向导", context.fonts.caption.get(),
                        context.fonts.text.get(), context.twipsPerPixel) {}
  // Returns the wizard to its first state: no category open, no text shown.
  void ResetAll() override;
};

}  // namespace kelvane
