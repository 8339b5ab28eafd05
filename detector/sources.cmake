# The virus detector page.
list(APPEND KELVANE_CORE_SOURCES detector/Detector.cpp detector/DetectorLayout.cpp)
list(APPEND KELVANE_WIN_SOURCES detector/DetectorSystem.cpp detector/VirusDetect.cpp)
list(APPEND KELVANE_CORE_TESTS tests/native/DetectorTest.cpp tests/native/DetectorLayoutTest.cpp)
list(APPEND KELVANE_WIN_TESTS tests/win/DetectorPageTest.cpp)
list(APPEND KELVANE_APP_TESTS tests/win/DetectorAppTest.cpp)
