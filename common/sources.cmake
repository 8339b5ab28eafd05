list(APPEND KELVANE_CORE_SOURCES common/AppPath.cpp common/ItemReader.cpp common/Launcher.cpp common/TextEncoding.cpp)
list(APPEND KELVANE_WIN_SOURCES common/Ansi.cpp common/DllSafety.cpp common/Files.cpp common/OwnFileCopies.cpp common/PlainFile.cpp
  common/ShellDesktop.cpp common/SingleInstance.cpp common/SystemServices.cpp)
list(APPEND KELVANE_CORE_TESTS tests/native/AppPathTest.cpp tests/native/ItemReaderTest.cpp tests/native/StartersTest.cpp)
list(APPEND KELVANE_WIN_TESTS tests/win/AnsiFilesTest.cpp tests/win/LauncherTest.cpp)
