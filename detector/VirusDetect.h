#pragma once
#include "controls/PageContext.h"
#include "controls/PlaceholderPage.h"


namespace kelvane {

// The "病毒探测" page of the main window.
class VirusDetect final : public PlaceholderPage {
 public:
  explicit VirusDetect(const PageContext& context)
      : PlaceholderPage(context.parent, context.place, L"病毒探测", context.fonts.caption.get(),
                        context.fonts.text.get(), context.twipsPerPixel) {}
};

}  // namespace kelvane
