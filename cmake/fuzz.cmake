# libFuzzer targets over what turns outside text into values: the ini file's
# integers and load rules, and the numeric edits' mask engine. Host only,
# clang only (libFuzzer is clang's), with ASan and UBSan.
#
# No -fexec-charset=CP932 here: clang knows no such charset. The sources
# built below have no narrow literal outside ASCII, so their bytes are the
# same either way.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "KESTRIN_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

set(FUZZ_SAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${FUZZ_SAN})
add_link_options(${FUZZ_SAN})

add_library(kestrin_fuzzed STATIC
  src/win32/portable/profile_values.cpp
  src/win32/portable/path_text.cpp
  src/win32/portable/decimal_text.cpp
  src/settings/portable/settings_rules.cpp
  src/controls/portable/mask_engine.cpp
  src/controls/portable/decimal_reader.cpp)
target_include_directories(kestrin_fuzzed PUBLIC src)
target_compile_options(kestrin_fuzzed PRIVATE ${KESTRIN_WARNINGS} -fsanitize=fuzzer-no-link)

# A short run of each fuzzer is a test: a fixed seed and number of runs,
# starting from the seed corpus in tests/fuzz/corpus/<name>. New inputs go to
# a scratch corpus that each run starts afresh; a failing input is kept in
# artifacts/.
set(KESTRIN_FUZZ_RUNS 150000 CACHE STRING "Inputs per fuzzer in the test suite (a few seconds)")
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/artifacts)
foreach(name settings_values mask_engine)
  add_executable(${name}_fuzz tests/fuzz/${name}_fuzz.cpp)
  target_link_libraries(${name}_fuzz PRIVATE kestrin_fuzzed)
  target_compile_options(${name}_fuzz PRIVATE ${KESTRIN_WARNINGS} -fsanitize=fuzzer)
  target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
  set(scratch ${CMAKE_BINARY_DIR}/scratch/${name})
  add_test(NAME fuzz.${name}
    COMMAND sh -c "rm -rf '${scratch}' && mkdir -p '${scratch}' && exec \"$0\" \"$@\""
            $<TARGET_FILE:${name}_fuzz> -seed=1 -runs=${KESTRIN_FUZZ_RUNS} -max_total_time=20 -max_len=4096 -timeout=10
            -artifact_prefix=${CMAKE_BINARY_DIR}/artifacts/${name}- -print_final_stats=1
            ${scratch} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
endforeach()
