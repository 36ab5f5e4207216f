# The interval loop and its pause gate under ThreadSanitizer: the loop's own
# tests and the stress tests of tests/stress. Only what they need is built
# (GoogleTest without GoogleMock, the loop's one source), to keep the stage
# short; the other portable code runs on one thread and gains nothing here.
set(TSAN -fsanitize=thread -fno-omit-frame-pointer)
add_compile_options(${TSAN})
add_link_options(${TSAN})

# Here GoogleTest keeps its own locks: assertions may come from any thread.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SRC} googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_compile_options(-fexec-charset=CP932)
add_executable(kestrin_tsan_tests
  src/app/portable/interval_loop.cpp
  tests/portable/interval_loop_test.cpp
  tests/stress/interval_stress_test.cpp)
target_include_directories(kestrin_tsan_tests PRIVATE src)
target_link_libraries(kestrin_tsan_tests PRIVATE gtest_main)
target_compile_options(kestrin_tsan_tests PRIVATE ${KESTRIN_WARNINGS})
gtest_discover_tests(kestrin_tsan_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_PREFIX "tsan."
  PROPERTIES TIMEOUT 120 ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1")
