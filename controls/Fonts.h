#pragma once
#include <windows.h>

#include "common/Handles.h"

namespace kelvane {

// A font of `points` size at the screen's density. Charset GB2312_CHARSET (134)
// makes the system pick a face with Chinese glyphs even where `face` is missing.
UniqueFont createPointFont(const wchar_t* face, float points, bool bold,
                           BYTE charset = GB2312_CHARSET);

// The faces the program's designs use.
inline constexpr wchar_t SongTi[] = L"宋体";

// Fonts shared by the main window and its pages, created once and owned here.
struct UiFonts {
  UniqueFont buttonBold = createPointFont(SongTi, 9, true);
  UniqueFont text = createPointFont(SongTi, 9, false);
  UniqueFont caption = createPointFont(SongTi, 10.5f, true);
};

}  // namespace kelvane
