# The repair-tool page's benchmark: bin/tools_bench.exe, run by `make bench`.
add_executable(tools_bench tools/bench/ToolsBench.cpp tests/win/TestSupport.cpp)
target_include_directories(tools_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(tools_bench PRIVATE ${KELVANE_WARNINGS})
target_link_options(tools_bench PRIVATE -municode)
target_link_libraries(tools_bench PRIVATE kelvane_win psapi)
add_dependencies(tools_bench appdir)
