#pragma once
#include "controls/PageContext.h"
#include "controls/PlaceholderPage.h"


namespace kelvane {

// The "维护工具" page of the main window.
class RepairTool final : public PlaceholderPage {
 public:
  explicit RepairTool(const PageContext& context)
      : PlaceholderPage(context.parent, context.place, L"维护工具", context.fonts.caption.get(),
                        context.fonts.text.get(), context.twipsPerPixel) {}
};

}  // namespace kelvane
