#include "controls/Fonts.h"

#include <cmath>

namespace kelvane {

UniqueFont createPointFont(const wchar_t* face, float points, bool bold, BYTE charset) {
  WindowDc screen(nullptr);
  const int dotsPerInch = GetDeviceCaps(screen.get(), LOGPIXELSY);
  LOGFONTW font{};
  // A negative height asks for the character height, which is what a point size means.
  font.lfHeight = -static_cast<LONG>(std::lround(points * static_cast<float>(dotsPerInch) / 72.0f));
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = charset;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace kelvane
