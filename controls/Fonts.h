#pragma once
#include <windows.h>

#include "common/Handles.h"

namespace kelvane {

// A font of `points` size for `dpi` (0: the screen's density). Charset
// GB2312_CHARSET (134) makes the system pick a face with Chinese glyphs even
// where `face` is missing.
UniqueFont createPointFont(const wchar_t* face, float points, bool bold, BYTE charset = GB2312_CHARSET,
                           int dpi = 0);

// The same face and look as `font`, made for `newDpi` instead of `oldDpi`.
UniqueFont rescaledFont(HFONT font, int oldDpi, int newDpi);

// The faces the program's designs use.
inline constexpr wchar_t SongTi[] = L"宋体";

// Fonts shared by the main window and its pages, created once per DPI and owned here.
struct UiFonts {
  UiFonts() : UiFonts(0) {}
  explicit UiFonts(int dpi)
      : buttonBold(createPointFont(SongTi, 9, true, GB2312_CHARSET, dpi)),
        text(createPointFont(SongTi, 9, false, GB2312_CHARSET, dpi)),
        caption(createPointFont(SongTi, 10.5f, true, GB2312_CHARSET, dpi)) {}

  UniqueFont buttonBold;
  UniqueFont text;
  UniqueFont caption;
};

}  // namespace kelvane
