# One test program per module, registered with CTest.
if(VELINOR_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# The time limit of one test (seconds) unless its program gives another: a few times the
# longest normal run of a test in the sanitizer build, with the machine busy. A test that
# hangs then fails when its time runs out, and CTest names it.
set(VELINOR_TEST_TIMEOUT 30)

# velinor_add_test(NAME SOURCES... LIBS ... [UI] [TIMEOUT SECONDS])
# UI test programs run with the offscreen Qt platform. Each test of the program is a CTest
# test of its own with the time limit; TIMEOUT raises it for a program whose tests run long.
function(velinor_add_test name)
  if(NOT VELINOR_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "UI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(ARG_UI)
    # A QApplication on the offscreen platform, made before the first test runs.
    target_link_libraries(${name} PRIVATE velinor_ui_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(timeout ${VELINOR_TEST_TIMEOUT})
  if(ARG_TIMEOUT)
    set(timeout ${ARG_TIMEOUT})
  endif()
  # One value per property: a list here would be split into further properties.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=set:detect_leaks=1"
    TIMEOUT ${timeout})
endfunction()
