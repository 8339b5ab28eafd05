list(APPEND KELVANE_CORE_SOURCES shell/HelpCommands.cpp shell/PageSwitch.cpp)
list(APPEND KELVANE_WIN_SOURCES shell/Frmmain.cpp)
list(APPEND KELVANE_CORE_TESTS tests/native/HelpCommandsTest.cpp tests/native/PageSwitchTest.cpp)
list(APPEND KELVANE_APP_TESTS tests/win/AppWindowTest.cpp)
