add_executable(helper WIN32 helper/main.cpp helper/helper.rc)
target_include_directories(helper PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res ${CMAKE_SOURCE_DIR}/helper
                           ${CMAKE_BINARY_DIR}/generated)
target_compile_options(helper PRIVATE ${KELVANE_WARNINGS})
target_link_options(helper PRIVATE -municode $<$<CONFIG:Release>:-s>)
target_link_libraries(helper PRIVATE kelvane_win)
set_source_files_properties(helper/helper.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/helper/helper.manifest;${CMAKE_SOURCE_DIR}/res/kelvane.ico")
# Installed where the main program starts it: helper\helper.exe.
add_custom_command(TARGET helper POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KELVANE_APP_DIR}/helper
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:helper> ${KELVANE_APP_DIR}/helper/helper.exe)
add_dependencies(appdir helper)
add_dependencies(win_tests helper)
