# The layout-pass benchmark: bin/skin_bench.exe, run by `make bench`. It carries
# the program's resources, so the pass paints the real skin.
add_executable(skin_bench shell/skin_bench.cpp res/kelvane.rc)
target_include_directories(skin_bench PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
target_compile_options(skin_bench PRIVATE ${KELVANE_WARNINGS})
target_link_options(skin_bench PRIVATE -municode)
target_link_libraries(skin_bench PRIVATE kelvane_win)
