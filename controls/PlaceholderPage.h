#pragma once
// A page that is not built yet: it takes its place and visibility like any page
// and says, in its middle, which tool will live there.
#include <string>

#include "controls/Panel.h"

namespace kelvane {

class PlaceholderPage : public Panel {
 public:
  PlaceholderPage(HWND parent, const TwipRect& place, std::wstring title, HFONT titleFont,
                  HFONT textFont, float twipsPerPixel);

 protected:
  void paintContent(HDC dc, const RECT& client) override;

 private:
  std::wstring title_;
  HFONT titleFont_;
  HFONT textFont_;
};

}  // namespace kelvane
