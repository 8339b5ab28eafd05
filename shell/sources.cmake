list(APPEND KELVANE_CORE_SOURCES shell/HelpCommands.cpp shell/PageSwitch.cpp shell/Outline.cpp shell/SkinLayout.cpp
  shell/SkinFrame.cpp)
list(APPEND KELVANE_WIN_SOURCES shell/Frmmain.cpp shell/SkinImage.cpp shell/SkinPainter.cpp)
list(APPEND KELVANE_CORE_TESTS tests/native/HelpCommandsTest.cpp tests/native/PageSwitchTest.cpp
  tests/native/OutlineTest.cpp tests/native/SkinLayoutTest.cpp tests/native/SkinLayoutFrameTest.cpp)
list(APPEND KELVANE_WIN_TESTS tests/win/SkinWindowTest.cpp)
list(APPEND KELVANE_APP_TESTS tests/win/AppWindowTest.cpp tests/win/FrameAppTest.cpp tests/win/ScaleAppTest.cpp)
