#pragma once
#include "controls/PageContext.h"
#include "controls/PlaceholderPage.h"


namespace kelvane {

// The "系统工具" page of the main window.
class SysTool final : public PlaceholderPage {
 public:
  explicit SysTool(const PageContext& context)
      : PlaceholderPage(context.parent, context.place, L"系统工具", context.fonts.caption.get(),
                        context.fonts.text.get(), context.twipsPerPixel) {}
};

}  // namespace kelvane
