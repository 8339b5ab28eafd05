# The bad-input suite: the real program started on damaged copies of its
# application directory, case by case (bin/bad_input_tests.exe). Its own
# executable, so a case that leaves the program in a bad way cannot disturb the
# other tests of the program.
add_executable(bad_input_tests tests/win/BadInputTest.cpp tests/win/TestSupport.cpp)
target_link_libraries(bad_input_tests PRIVATE kelvane_win gmock gtest_main)
add_dependencies(bad_input_tests appdir marker)
kelvane_test(bad_input_tests)
# Some twenty program starts, one with a catalogue of 40,000 entries.
set_tests_properties(bad_input_tests PROPERTIES TIMEOUT 600)
