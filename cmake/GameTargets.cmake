# Helpers every subsystem folder uses, so the folders' CMakeLists stay short.

set(GAME_TEST_PRECOMPILED_HEADERS
  <gtest/gtest.h> <gmock/gmock.h>
  <algorithm> <array> <cstdint> <cstring> <functional> <map> <memory>
  <set> <sstream> <string> <unordered_map> <vector>)

# The simulation still calls the building records, the path finder, the
# land plot and the road manager through their construction classes; with
# the sanitizers' type checks on, a program linking the simulation needs the
# construction library for those classes' type information (it links the
# simulation itself, so the simulation cannot link it).
function(game_link_simulation_neighbours target libs)
  if(libs MATCHES "simulation|game_world")
    target_link_libraries(${target} PRIVATE $<TARGET_NAME_IF_EXISTS:construction>)
    # Only the simulation library refers to it, and it comes later on the
    # link line: keep it even where the linker drops libraries nothing
    # before them needs.
    target_link_options(${target} PRIVATE LINKER:--no-as-needed)
  endif()
endfunction()

# game_no_undefined(<target>): the shared library must resolve every symbol
# from the libraries it links, so that it only ever needs those below it.
# Clang links its sanitizer runtimes into the program, not into each shared
# library, so a clang sanitizer build leaves the runtime's symbols to the
# program and cannot make the check; the other builds do.
function(game_no_undefined target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND (GAME_SANITIZE OR GAME_FUZZ))
    return()
  endif()
  target_link_options(${target} PRIVATE LINKER:--no-undefined)
endfunction()

# game_unity_skip(<files...>): sources of the current folder that define a
# file-local name another source of the same library also defines, so they
# are compiled on their own in a unity build.
function(game_unity_skip)
  foreach(f ${ARGN})
    set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/${f} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  endforeach()
endfunction()

# game_add_tests(<name> <dirs> LIBS <libs...>): one GoogleTest executable
# from every *.cpp in the folder or list of folders <dirs>, registered with CTest.
function(game_add_tests name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  if(NOT GAME_TESTS)
    return()
  endif()
  list(TRANSFORM dir APPEND /*.cpp OUTPUT_VARIABLE globs)
  file(GLOB sources CONFIGURE_DEPENDS ${globs})
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  # Test files keep their own file-local fixtures: precompiled headers, not
  # batches, speed them up.
  set_target_properties(${name} PROPERTIES GAME_TEST_CODE ON UNITY_BUILD OFF)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # GoogleTest's and the standard library's headers are most of what a test
  # file compiles: parse them once per test program.
  target_precompile_headers(${name} PRIVATE ${GAME_TEST_PRECOMPILED_HEADERS})
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Without a time stamp in the precompiled header, ccache can keep the
    # objects compiled against it (with the sloppiness test.sh sets).
    target_compile_options(${name} PRIVATE -Xclang -fno-pch-timestamp)
  endif()
  game_link_simulation_neighbours(${name} "${ARG_LIBS}")
  target_compile_definitions(${name} PRIVATE GAME_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "GAME_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# game_add_fuzzers(<dir> LIBS <libs...>): one libFuzzer executable per
# *.cpp in <dir>, named after the file. Only built with GAME_FUZZ.
function(game_add_fuzzers dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  if(NOT GAME_FUZZ)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(src ${sources})
    get_filename_component(stem ${src} NAME_WE)
    add_executable(${stem} ${src})
    set_target_properties(${stem} PROPERTIES UNITY_BUILD OFF)
    target_link_libraries(${stem} PRIVATE ${ARG_LIBS})
    game_link_simulation_neighbours(${stem} "${ARG_LIBS}")
    target_link_options(${stem} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${stem} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
  endforeach()
endfunction()

# game_add_bench(<name> <dirs> LIBS <libs...> [ONCE_SKIPS <regex>]): one
# Google Benchmark program from every *.cpp in the folder or list of folders
# <dirs>. ONCE_SKIPS names the benchmarks whose fixtures are too costly to set
# up in the sanitizer build's single run; tools/bench.sh still runs them.
function(game_add_bench name dir)
  cmake_parse_arguments(ARG "" "ONCE_SKIPS" "LIBS" ${ARGN})
  if(NOT GAME_BENCH)
    return()
  endif()
  list(TRANSFORM dir APPEND /*.cpp OUTPUT_VARIABLE globs)
  file(GLOB sources CONFIGURE_DEPENDS ${globs})
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES GAME_BENCH_CODE ON UNITY_BUILD OFF)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  game_link_simulation_neighbours(${name} "${ARG_LIBS}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
  # In a test build every benchmark runs once, a single iteration, so that a
  # benchmark that no longer builds or runs fails the test command; timings
  # come from tools/bench.sh on an optimised build.
  if(GAME_TESTS)
    set(once_filter)
    if(ARG_ONCE_SKIPS)
      set(once_filter "--benchmark_filter=-${ARG_ONCE_SKIPS}")
    endif()
    add_test(NAME ${name}.runs_once COMMAND ${name} --benchmark_min_time=0 ${once_filter})
    set_tests_properties(${name}.runs_once PROPERTIES
      ENVIRONMENT "GAME_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  endif()
endfunction()

# Directories holding one plug-in each, for the tests that load a plug-in
# through the library manager (it scans a whole directory).
set(LUMETRA_TEST_DIR ${PROJECT_BINARY_DIR}/renderer_plugin_only)
set(TACTOR_TEST_DIR ${PROJECT_BINARY_DIR}/input_plugin_only)
# The engine's small test plug-ins, one folder per set.
set(GAME_TEST_PLUGIN_ROOT ${PROJECT_BINARY_DIR}/test_plugins)
