# The fuzz targets' saved inputs (regressions first, then the corpus) replayed by
# the native g++ build with its sanitizers; libFuzzer itself needs clang and is
# built by fuzz/CMakeLists.txt through `make fuzz`.
if(NOT WIN32)
  foreach(target item_reader tool_catalogue record_text ini_rules png)
    add_executable(replay_${target} fuzz/replay_main.cpp fuzz/fuzz_${target}.cpp)
    target_include_directories(replay_${target} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(replay_${target} PRIVATE ${KELVANE_WARNINGS})
    target_link_libraries(replay_${target} PRIVATE kelvane_core)
    add_test(NAME fuzz_regressions_${target}
             COMMAND replay_${target} ${CMAKE_SOURCE_DIR}/fuzz/regressions/${target} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${target})
    set_tests_properties(fuzz_regressions_${target} PROPERTIES TIMEOUT 300)
  endforeach()
endif()
