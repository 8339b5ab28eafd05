# The online-help program started by the help menu.
list(APPEND KELVANE_WIN_SOURCES helper/HelperWindow.cpp)
list(APPEND KELVANE_WIN_TESTS tests/win/HelperWindowTest.cpp)
