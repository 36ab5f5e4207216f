# The benchmark (scripts/bench.sh): its driver, the peers Kestrin is measured
# against, and the idle helpers it starts. The peers are compiled and linked
# exactly as Kestrin.exe is (its options are read off its targets, so they
# follow any change to them) and carry Kestrin's manifest.
get_target_property(KESTRIN_EXE_COMPILE_OPTIONS kestrin_program COMPILE_OPTIONS)
get_target_property(KESTRIN_EXE_LINK_OPTIONS Kestrin LINK_OPTIONS)
# All but the link map, which is Kestrin's alone.
list(FILTER KESTRIN_EXE_LINK_OPTIONS EXCLUDE REGEX "-Map=")
get_target_property(KESTRIN_EXE_DEFINITIONS kestrin_win INTERFACE_COMPILE_DEFINITIONS)

function(kestrin_peer target source)
  add_executable(${target} WIN32 ${source} ${CMAKE_SOURCE_DIR}/bench/peers/peer.rc)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/peers)
  target_compile_options(${target} PRIVATE ${KESTRIN_EXE_COMPILE_OPTIONS})
  target_compile_definitions(${target} PRIVATE ${KESTRIN_EXE_DEFINITIONS})
  target_link_options(${target} PRIVATE ${KESTRIN_EXE_LINK_OPTIONS})
  target_link_libraries(${target} PRIVATE ${ARGN})
endfunction()

kestrin_peer(tray_program bench/peers/tray_program.cpp shell32 user32)
kestrin_peer(pass_program bench/peers/pass_program.cpp psapi)
kestrin_peer(empty_program bench/peers/empty_program.cpp)
kestrin_peer(idle_helper bench/idle_helper.cpp)

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
# (pass_sort_bench.cpp belongs to the host build.)
list(FILTER BENCH_SOURCES EXCLUDE REGEX "pass_sort_bench\\.cpp$")
list(FILTER BENCH_SOURCES EXCLUDE REGEX "idle_helper\\.cpp$")
add_executable(kestrin_bench ${BENCH_SOURCES})
# Its own headers as "bench/..."; the test support library brings tests/.
target_include_directories(kestrin_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(kestrin_bench PRIVATE ${KESTRIN_WARNINGS})
target_link_libraries(kestrin_bench PRIVATE kestrin_test_support)
target_link_options(kestrin_bench PRIVATE -static)
add_dependencies(kestrin_bench Kestrin tray_program pass_program empty_program idle_helper)
target_compile_definitions(kestrin_bench PRIVATE
  KESTRIN_TRAY_PEER="$<TARGET_FILE:tray_program>"
  KESTRIN_PASS_PEER="$<TARGET_FILE:pass_program>"
  KESTRIN_EMPTY_PEER="$<TARGET_FILE:empty_program>"
  KESTRIN_IDLE_HELPER="$<TARGET_FILE:idle_helper>")

# A short run: every row of the table is there with a sane value. (Never a
# timing or a ratio: those are for the full run to show.)
add_test(NAME win.bench.EveryRowIsProduced
  COMMAND python3 ${CMAKE_SOURCE_DIR}/bench/check_table.py
          ${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:kestrin_bench> --rounds 1 --helpers 10 --idle-seconds 1)
set_tests_properties(win.bench.EveryRowIsProduced PROPERTIES RUN_SERIAL TRUE TIMEOUT 180)
