# Helpers every subsystem folder uses, so the folders' CMakeLists stay short.

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
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
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
    target_link_libraries(${stem} PRIVATE ${ARG_LIBS})
    target_link_options(${stem} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${stem} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  endforeach()
endfunction()

# game_add_bench(<name> <dirs> LIBS <libs...>): one Google Benchmark program
# from every *.cpp in the folder or list of folders <dirs>.
function(game_add_bench name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  if(NOT GAME_BENCH)
    return()
  endif()
  list(TRANSFORM dir APPEND /*.cpp OUTPUT_VARIABLE globs)
  file(GLOB sources CONFIGURE_DEPENDS ${globs})
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
