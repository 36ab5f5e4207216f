# The Windows side of the build: Kestrin.exe, its framework and the tests
# that run under Wine.
enable_language(RC)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

set(KESTRIN_LIBS psapi shell32 ole32 uuid gdi32 user32 kernel32 advapi32)


# Code generation for the program's own code (its libraries and its entry):
# call arguments pushed, not stored into an area the function reserves,
# which are the shorter instructions (some 5 KB of the program). The
# compiler stores them by default because its stack probe needs that; the
# probe is for frames of a page or more, which the program does not have,
# and -Wframe-larger-than keeps it so: a larger frame (or an alloca) fails
# the build, and such a buffer goes on the heap instead.
# Unwind tables are exact at calls only, which is all that exceptions need
# (they start at calls), and the compiler writes them itself, which lets it
# leave out the functions that no exception can pass through (some 3 KB).
# Functions declared inline (the standard library's, mostly) are inlined
# only when tiny, and two passes that spread a function's code over more
# unwind-table rows stay off: the late instruction scheduling and the
# separate prologues of shrink-wrapping (together some 2.5 KB).
set(KESTRIN_CODEGEN -mno-accumulate-outgoing-args -mno-stack-arg-probe -Wframe-larger-than=4000 -Walloca
  -fno-asynchronous-unwind-tables -fno-dwarf2-cfi-asm
  --param=max-inline-insns-single=10 -fno-schedule-insns2 -fno-shrink-wrap)

# Icons and cursor are drawn as text in the repository and turned into
# .ico/.cur files at build time.
set(GEN_DIR ${CMAKE_BINARY_DIR}/generated)
file(GLOB ART_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/art/*.txt)
set(GENERATED_ART ${GEN_DIR}/MAINICON.ico ${GEN_DIR}/MAINICON2.ico ${GEN_DIR}/HANDPOINT.cur
  ${GEN_DIR}/DOGLYPH.ico ${GEN_DIR}/DOGLYPHOFF.ico ${GEN_DIR}/ENDGLYPH.ico ${GEN_DIR}/ENDGLYPHOFF.ico)
add_custom_command(OUTPUT ${GENERATED_ART}
  COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/make_art.py ${CMAKE_SOURCE_DIR}/src/resources/art ${GEN_DIR}
  DEPENDS ${ART_FILES} ${CMAKE_SOURCE_DIR}/scripts/make_art.py
  COMMENT "Drawing icons and cursor")
add_custom_target(kestrin_art DEPENDS ${GENERATED_ART})

set(KESTRIN_RC ${CMAKE_SOURCE_DIR}/src/resources/Kestrin.rc)
# The resource compiler reports no dependencies: what the .rc file takes in
# is named here, or a changed manifest would leave the programs as they were.
set(KESTRIN_MANIFEST ${CMAKE_SOURCE_DIR}/src/resources/Kestrin.manifest)
set_source_files_properties(${KESTRIN_RC} PROPERTIES OBJECT_DEPENDS "${GENERATED_ART};${KESTRIN_MANIFEST}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${GEN_DIR} -I${CMAKE_SOURCE_DIR}/src/resources -c 932")

# The program's code is compiled once, as one translation unit of all its
# sources (CMake's unity build), and that one object is both Kestrin.exe and
# what every Windows test links (kestrin_win): the tests run the code that
# ships. One unit lets the compiler see the whole program, keep one copy of
# each template and of each helper it specialises, call across files
# directly, and share the objects' unwind tables' headers (some 18 KB less
# than separate objects); in return a name at file level (an anonymous
# namespace, a static) must not be used by two sources, and a source must
# leave no macro behind for the ones after it. The linker drops from the
# program what it never reaches (a section for every function and datum,
# see CMakeLists.txt); the program itself is stripped.
file(GLOB_RECURSE WIN_SOURCES CONFIGURE_DEPENDS src/*.cpp)
list(FILTER WIN_SOURCES EXCLUDE REGEX "/portable/")
# The standard library's failure reports of the program (see the file); they
# come first, ahead of the library's own.
set(STD_THROW_HELPERS ${CMAKE_SOURCE_DIR}/src/app/std_throw_helpers.cpp)
list(FILTER WIN_SOURCES EXCLUDE REGEX "src/app/std_throw_helpers\\.cpp$")
add_library(kestrin_program OBJECT ${STD_THROW_HELPERS} ${WIN_SOURCES} ${PORTABLE_SOURCES})
set_target_properties(kestrin_program PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
target_include_directories(kestrin_program PUBLIC src)
# The system's functions are declared as throwing no C++ exception, which is
# what they do: an exception thrown in a window procedure cannot unwind
# through the system's frames (the unwinder knows only the program's own),
# so the program's procedures catch everything before they return. A call
# to the system then needs no exception-table entry, and a function that
# calls only the system needs no unwind table at all (some 13 KB). psapi.dll's
# entry points keep their own names (version 1): version 2 turns them into
# macros for K32* names, which would also rename the members that wrap them.
set(KESTRIN_DEFINITIONS WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600 STRICT PSAPI_VERSION=1
  "DECLSPEC_IMPORT=__declspec(dllimport) __attribute__((__nothrow__))")
target_compile_definitions(kestrin_program PUBLIC ${KESTRIN_DEFINITIONS})
# Function statics are built without a guard around their first use (some
# 2 KB): each that is built lazily asks to be reached first on the starting
# thread (win32/main_thread.h); the others are constant-initialised.
target_compile_options(kestrin_program PRIVATE ${KESTRIN_WARNINGS} ${KESTRIN_CODEGEN} -fno-threadsafe-statics)
add_dependencies(kestrin_program kestrin_art)

add_test(NAME release.TestsRunTheShippedCompile
  COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/shipped_compile.py ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/src)

add_executable(Kestrin WIN32 $<TARGET_OBJECTS:kestrin_program> ${KESTRIN_RC})
target_link_libraries(Kestrin PRIVATE ${KESTRIN_LIBS})
# No link time in the header either: one source gives the same bytes. The
# linker's map beside the program tells what its bytes are made of
# (scripts/size_report.py reads it).
target_link_options(Kestrin PRIVATE -static -mwindows -Wl,--gc-sections -s -Wl,--no-insert-timestamp
  -Wl,-Map=${CMAKE_BINARY_DIR}/Kestrin.map)

# The same object for the tests. It holds the process entry too (WinMain,
# unused by a test's main) and the program's failure reports.
add_library(kestrin_win STATIC $<TARGET_OBJECTS:kestrin_program>)
set_target_properties(kestrin_win PROPERTIES LINKER_LANGUAGE CXX)
target_include_directories(kestrin_win PUBLIC src)
target_compile_definitions(kestrin_win PUBLIC ${KESTRIN_DEFINITIONS})
target_link_libraries(kestrin_win PUBLIC ${KESTRIN_LIBS})

# The one difference between the tests and the program: the program links
# the run-time of the compiler's win32 thread model
# (libstdc++, libgcc, libgcc_eh), in which exceptions, thread-local data and
# function statics sit on the system's own primitives. The posix model's
# run-time, which everything is compiled for, puts them on winpthread and
# brings in its whole thread library (some 30 KB). The two are the same
# compiler and library apart from their threads; the program's code uses
# none of the posix model's thread classes (std::thread, std::mutex and the
# like are not in the win32 model's library, so such a use fails to link),
# the win32/ and framework/ primitives stand in for them. The tests keep the posix model.
string(REPLACE "-posix" "-win32" WIN32_MODEL_CXX "${CMAKE_CXX_COMPILER}")
execute_process(COMMAND ${WIN32_MODEL_CXX} -print-file-name=libstdc++.a
  OUTPUT_VARIABLE WIN32_MODEL_LIBSTDCXX OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE WIN32_MODEL_FOUND)
if(NOT WIN32_MODEL_FOUND EQUAL 0 OR NOT EXISTS "${WIN32_MODEL_LIBSTDCXX}")
  message(FATAL_ERROR "no win32 thread model run-time beside ${CMAKE_CXX_COMPILER} (${WIN32_MODEL_CXX})")
endif()
get_filename_component(WIN32_MODEL_RUNTIME "${WIN32_MODEL_LIBSTDCXX}" DIRECTORY)
target_link_options(Kestrin PRIVATE -L${WIN32_MODEL_RUNTIME})

# Test helpers that run inside Wine (window lookup, SendInput, screenshots,
# starting Kestrin.exe and watching it).
file(GLOB TEST_SUPPORT CONFIGURE_DEPENDS tests/support/*.cpp)
add_library(kestrin_test_support STATIC ${TEST_SUPPORT})
target_include_directories(kestrin_test_support PUBLIC tests src)
target_compile_options(kestrin_test_support PRIVATE ${KESTRIN_WARNINGS})
target_link_libraries(kestrin_test_support PUBLIC kestrin_win gmock comctl32 imm32)
file(TO_NATIVE_PATH "${CMAKE_BINARY_DIR}" BIN_NATIVE)
target_compile_definitions(kestrin_test_support PUBLIC
  KESTRIN_BUILD_DIR="${CMAKE_BINARY_DIR}"
  KESTRIN_ARTIFACT_DIR="${CMAKE_BINARY_DIR}/artifacts"
  KESTRIN_EXE="$<TARGET_FILE:Kestrin>"
  KESTRIN_USER_PROBE_DLL="$<TARGET_FILE:user_objects_probe>")

# Loaded into a process for a moment to count its USER objects
# (support/gui_objects.cpp); its entry is exported undecorated.
add_library(user_objects_probe SHARED tests/support/probe/user_objects_probe.cpp)
set_target_properties(user_objects_probe PROPERTIES PREFIX "")
target_include_directories(user_objects_probe PRIVATE tests)
target_compile_options(user_objects_probe PRIVATE ${KESTRIN_WARNINGS})
target_link_options(user_objects_probe PRIVATE -static -Wl,--kill-at)
target_link_libraries(user_objects_probe PRIVATE user32 gdi32)
add_dependencies(kestrin_test_support user_objects_probe)

# In-process tests of the framework, tray icon, forms and controller.
file(GLOB WIN_TESTS CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(kestrin_win_tests ${WIN_TESTS} ${KESTRIN_RC})
add_dependencies(kestrin_win_tests kestrin_art)
target_compile_options(kestrin_win_tests PRIVATE ${KESTRIN_WARNINGS})
target_link_libraries(kestrin_win_tests PRIVATE kestrin_test_support gtest_main)
target_link_options(kestrin_win_tests PRIVATE -static)
# Table-driven cases name themselves; their values are not repeated in the names.
gtest_discover_tests(kestrin_win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 NO_PRETTY_VALUES
  TEST_PREFIX "wine." PROPERTIES RUN_SERIAL TRUE TIMEOUT 120)

# The failure reports of src/app/std_throw_helpers.cpp, in the program's
# object, linked the way the program links them: ahead of the standard library.
add_executable(kestrin_runtime_tests tests/runtime/std_throw_helpers_test.cpp)
target_compile_options(kestrin_runtime_tests PRIVATE ${KESTRIN_WARNINGS})
target_link_libraries(kestrin_runtime_tests PRIVATE kestrin_win gtest_main)
target_link_options(kestrin_runtime_tests PRIVATE -static)
gtest_discover_tests(kestrin_runtime_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_PREFIX "wine.")

# A library that must never be loaded: planted beside a copy of Kestrin.exe
# under the help viewer's name.
add_library(planted_hhctrl SHARED tests/e2e/planted/hhctrl_planted.cpp)
set_target_properties(planted_hhctrl PROPERTIES PREFIX "" OUTPUT_NAME "hhctrl" SUFFIX ".ocx")
target_link_options(planted_hhctrl PRIVATE -static)

# Makes known numbers of GDI and USER objects for the test of the counters.
add_executable(gui_object_maker WIN32 tests/e2e/helpers/gui_object_maker.cpp)
target_compile_options(gui_object_maker PRIVATE ${KESTRIN_WARNINGS})
target_link_options(gui_object_maker PRIVATE -static)
target_link_libraries(gui_object_maker PRIVATE user32 gdi32)

# End-to-end tests: the real Kestrin.exe started and driven from outside.
file(GLOB E2E_TESTS CONFIGURE_DEPENDS tests/e2e/*.cpp)
add_executable(kestrin_e2e_tests ${E2E_TESTS})
add_dependencies(kestrin_e2e_tests Kestrin planted_hhctrl gui_object_maker)
target_compile_definitions(kestrin_e2e_tests PRIVATE KESTRIN_GUI_OBJECT_MAKER="$<TARGET_FILE:gui_object_maker>")
target_compile_options(kestrin_e2e_tests PRIVATE ${KESTRIN_WARNINGS})
target_link_libraries(kestrin_e2e_tests PRIVATE kestrin_test_support gtest_main)
target_link_options(kestrin_e2e_tests PRIVATE -static)
gtest_discover_tests(kestrin_e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_PREFIX "e2e." PROPERTIES RUN_SERIAL TRUE TIMEOUT 180)

# The compiled help file, beside the program and named after it; a test
# lists its directory for every page and every help context the program opens.
file(GLOB HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*)
set(HELP_SCRIPT ${CMAKE_SOURCE_DIR}/scripts/help.py)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Kestrin.chm
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/help
  COMMAND python3 ${HELP_SCRIPT} stage ${CMAKE_SOURCE_DIR}/docs/help ${CMAKE_BINARY_DIR}/help
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/help chmcmd Kestrin.hhp >/dev/null
  COMMAND python3 ${HELP_SCRIPT} settle ${CMAKE_BINARY_DIR}/help/Kestrin.chm
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/help/Kestrin.chm ${CMAKE_BINARY_DIR}/Kestrin.chm
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS ${HELP_SOURCES} ${HELP_SCRIPT}
  COMMENT "Compiling the help file")
add_custom_target(kestrin_help ALL DEPENDS ${CMAKE_BINARY_DIR}/Kestrin.chm)
add_test(NAME help.ChmHoldsEveryPageAndHelpContext
  COMMAND python3 ${HELP_SCRIPT} check ${CMAKE_BINARY_DIR}/Kestrin.chm ${CMAKE_SOURCE_DIR}/docs/help
          ${CMAKE_SOURCE_DIR}/src/app/portable/help_topics.h)
add_test(NAME help.PagesAgreeWithTheProgram
  COMMAND python3 ${HELP_SCRIPT} facts ${CMAKE_SOURCE_DIR}/docs/help ${CMAKE_SOURCE_DIR})

# The release files carry no time of their own: the program's header, the
# help file and the archive are the same bytes whenever they are made.
add_test(NAME release.FilesCarryNoBuildTime
  COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/release_check.py ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/docs/user/README-ja.txt)

# The program carries none of the run-time it has no use for (winpthread, the
# standard library's own failure reports and string-carrying exceptions, the
# C library's number reader; scripts/size_report.py names them), and a
# size-optimised build stays within its budget of bytes.
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  set(KESTRIN_SIZE_BUDGET 233472)  # 228 KB
else()
  set(KESTRIN_SIZE_BUDGET 100000000)
endif()
add_test(NAME release.ProgramCarriesOnlyWhatItUses
  COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/size_report.py ${CMAKE_BINARY_DIR}/Kestrin.map
          --check $<TARGET_FILE:Kestrin> ${KESTRIN_SIZE_BUDGET})

# The benchmark's driver and peers, and its short run as a test.
include(cmake/bench.cmake)
