list(APPEND KELVANE_WIN_SOURCES
  controls/Banner.cpp
  controls/ButtonArray.cpp
  controls/ControlWindow.cpp
  controls/CoolButton.cpp
  controls/Dpi.cpp
  controls/Fonts.cpp
  controls/Label.cpp
  controls/OptionButton.cpp
  controls/Panel.cpp
  controls/Picture.cpp
  controls/TextBox.cpp
  controls/Timer.cpp
  controls/WindowClass.cpp
)
list(APPEND KELVANE_CORE_SOURCES controls/PictureFilter.cpp controls/PngDecoder.cpp)
list(APPEND KELVANE_CORE_TESTS tests/native/TwipsTest.cpp tests/native/PictureFilterTest.cpp)
# The Windows tests carry the pictures (without the program's manifest) to load them.
list(APPEND KELVANE_WIN_TESTS tests/win/ControlsTest.cpp res/pictures.rc)
