# The benchmark (scripts/bench.sh): its driver, the peers Kestrin is measured
# against, and the idle helpers it starts. The peers are compiled and linked
# exactly as Kestrin.exe is (its options are read off its targets, so they
# follow any change to them) and carry Kestrin's manifest.
get_target_property(KESTRIN_EXE_COMPILE_OPTIONS kestrin_program COMPILE_OPTIONS)
get_target_property(KESTRIN_EXE_LINK_OPTIONS Kestrin LINK_OPTIONS)
# All but the link map, which is Kestrin's alone.
list(FILTER KESTRIN_EXE_LINK_OPTIONS EXCLUDE REGEX "-Map=")
get_target_property(KESTRIN_EXE_DEFINITIONS kestrin_win INTERFACE_COMPILE_DEFINITIONS)

# kestrin_peer(target source... [LIBS library...]): a peer from its sources
# (C++ and resource files) with Kestrin's manifest.
function(kestrin_peer target)
  cmake_parse_arguments(PEER "" "" "LIBS" ${ARGN})
  add_executable(${target} WIN32 ${PEER_UNPARSED_ARGUMENTS} ${CMAKE_SOURCE_DIR}/bench/peers/peer.rc)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/peers)
  target_compile_options(${target} PRIVATE ${KESTRIN_EXE_COMPILE_OPTIONS})
  target_compile_definitions(${target} PRIVATE ${KESTRIN_EXE_DEFINITIONS})
  target_link_options(${target} PRIVATE ${KESTRIN_EXE_LINK_OPTIONS})
  target_link_libraries(${target} PRIVATE ${PEER_LIBS})
endfunction()

set(PEERS bench/peers)
set_source_files_properties(${CMAKE_SOURCE_DIR}/${PEERS}/peer.rc PROPERTIES OBJECT_DEPENDS "${KESTRIN_MANIFEST}")
kestrin_peer(tray_program ${PEERS}/tray_program.cpp ${PEERS}/hidden_window.cpp ${PEERS}/tray_peer.cpp
  LIBS shell32 user32)
kestrin_peer(pass_program ${PEERS}/pass_program.cpp ${PEERS}/pass_calls.cpp LIBS psapi)
kestrin_peer(empty_program ${PEERS}/empty_program.cpp)
kestrin_peer(idle_helper bench/idle_helper.cpp)
# Kestrin's splash and its icon: MAINICON.ico as drawn for Kestrin.rc.
kestrin_peer(splash_tray_program ${PEERS}/splash_tray_program.cpp ${PEERS}/hidden_window.cpp ${PEERS}/tray_peer.cpp
  ${PEERS}/program_icon.rc LIBS shell32 user32 gdi32)
set_source_files_properties(${PEERS}/program_icon.rc PROPERTIES OBJECT_DEPENDS "${GENERATED_ART}")
add_dependencies(splash_tray_program kestrin_art)
kestrin_peer(one_window_pass_program ${PEERS}/one_window_pass_program.cpp ${PEERS}/hidden_window.cpp
  ${PEERS}/pass_calls.cpp LIBS psapi user32)

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
add_dependencies(kestrin_bench Kestrin tray_program pass_program empty_program idle_helper splash_tray_program
  one_window_pass_program)
target_compile_definitions(kestrin_bench PRIVATE
  KESTRIN_TRAY_PEER="$<TARGET_FILE:tray_program>"
  KESTRIN_PASS_PEER="$<TARGET_FILE:pass_program>"
  KESTRIN_EMPTY_PEER="$<TARGET_FILE:empty_program>"
  KESTRIN_SPLASH_TRAY_PEER="$<TARGET_FILE:splash_tray_program>"
  KESTRIN_ONE_WINDOW_PEER="$<TARGET_FILE:one_window_pass_program>"
  KESTRIN_IDLE_HELPER="$<TARGET_FILE:idle_helper>")

# A short run: every row of the table is there with a sane value. (Never a
# timing or a ratio: those are for the full run to show.)
# It keeps its round in a file as scripts/bench.sh does, and the table is
# read back from it.
add_test(NAME win.bench.EveryRowIsProduced
  COMMAND python3 ${CMAKE_SOURCE_DIR}/bench/check_table.py
          ${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:kestrin_bench> --rounds 1 --helpers 10 --idle-seconds 1 --runs 2
          --round-file ${CMAKE_BINARY_DIR}/bench-check-rounds.txt)
set_tests_properties(win.bench.EveryRowIsProduced PROPERTIES RUN_SERIAL TRUE TIMEOUT 180)
