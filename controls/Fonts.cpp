#include "controls/Fonts.h"

#include <cmath>

namespace kelvane {

UniqueFont createPointFont(const wchar_t* face, float points, bool bold, BYTE charset, int dpi) {
  if (dpi <= 0) {
    WindowDc screen(nullptr);
    dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  LOGFONTW font{};
  // A negative height asks for the character height, which is what a point size means.
  font.lfHeight = -static_cast<LONG>(std::lround(points * static_cast<float>(dpi) / 72.0f));
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = charset;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&font));
}

UniqueFont rescaledFont(HFONT font, int oldDpi, int newDpi) {
  LOGFONTW look{};
  if (!font || oldDpi <= 0 || !GetObjectW(font, sizeof look, &look)) return {};
  look.lfHeight = static_cast<LONG>(std::lround(static_cast<double>(look.lfHeight) * newDpi / oldDpi));
  look.lfWidth = static_cast<LONG>(std::lround(static_cast<double>(look.lfWidth) * newDpi / oldDpi));
  return UniqueFont(CreateFontIndirectW(&look));
}

}  // namespace kelvane
