# The detector's benchmark: idle CPU of normal detection, the delay from a change
# to its alert, and the time of one deep-detection tick.
add_executable(detector_bench detector/DetectorBench.cpp tests/win/TestSupport.cpp)
target_include_directories(detector_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(detector_bench PRIVATE ${KELVANE_WARNINGS})
target_link_options(detector_bench PRIVATE -municode)
target_link_libraries(detector_bench PRIVATE kelvane_win)

# Bad input for the detector of the real program: spoilt bait files and folders.
add_executable(bad_input_detector_tests tests/win/BadInputDetectorTest.cpp tests/win/TestSupport.cpp)
target_link_libraries(bad_input_detector_tests PRIVATE kelvane_win gmock gtest_main)
add_dependencies(bad_input_detector_tests appdir)
kelvane_test(bad_input_detector_tests)
