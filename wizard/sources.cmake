list(APPEND KELVANE_WIN_SOURCES wizard/FixWidze.cpp)
