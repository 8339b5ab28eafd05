# The structural twin the program's start-up is measured against: the program's
# window tree, read from the running program by the benchmark, and the same
# manifest, without the program's logic.
add_executable(startup_twin WIN32 bench/startup_twin.cpp bench/startup_twin.rc)
target_include_directories(startup_twin PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
target_compile_options(startup_twin PRIVATE ${KELVANE_WARNINGS})
target_link_options(startup_twin PRIVATE -municode $<$<CONFIG:Release>:-s>)
target_link_libraries(startup_twin PRIVATE kelvane_win)
add_dependencies(startup_bench startup_twin bare_window)

# The program and the twin with time marks through their start-up, the program
# beside the real one in the application directory; the benchmark then reports
# where start-up goes.
option(KELVANE_STARTUP_MARKS "Also build Kelvane_marks.exe, which records start-up time marks" OFF)
if(KELVANE_STARTUP_MARKS)
  add_executable(Kelvane_marks WIN32 app/main.cpp shell/Frmmain.cpp bench/StartupMarks.cpp res/kelvane.rc)
  target_compile_definitions(Kelvane_marks PRIVATE KELVANE_STARTUP_MARKS)
  target_include_directories(Kelvane_marks PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
  target_compile_options(Kelvane_marks PRIVATE ${KELVANE_WARNINGS})
  target_link_options(Kelvane_marks PRIVATE -municode $<$<CONFIG:Release>:-s>)
  target_link_libraries(Kelvane_marks PRIVATE kelvane_win)
  add_custom_command(TARGET Kelvane_marks POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Kelvane_marks> ${KELVANE_APP_DIR}/)
  add_dependencies(Kelvane_marks appdir)
  add_executable(startup_twin_marks WIN32 bench/startup_twin.cpp bench/StartupMarks.cpp bench/startup_twin.rc)
  target_compile_definitions(startup_twin_marks PRIVATE KELVANE_STARTUP_MARKS)
  target_include_directories(startup_twin_marks PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
  target_compile_options(startup_twin_marks PRIVATE ${KELVANE_WARNINGS})
  target_link_options(startup_twin_marks PRIVATE -municode $<$<CONFIG:Release>:-s>)
  target_link_libraries(startup_twin_marks PRIVATE kelvane_win)
  add_dependencies(startup_bench Kelvane_marks startup_twin_marks)
endif()
