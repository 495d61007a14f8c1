# Test and benchmark helpers. Natively GoogleTest and Google Benchmark come from
# Debian's packages; for Windows GoogleTest is built from Debian's source copy and
# Google Benchmark is the static library that scripts/setup cross-builds. Windows
# test executables run under wine through CMAKE_CROSSCOMPILING_EMULATOR.
#
# Every GoogleTest program runs once per test run (a wine start costs seconds) and
# writes its per-case results to test-results/<name>.xml in the build tree; the
# programs are listed in gtest-programs.txt so that scripts/count-results can count
# cases rather than programs.

if(MERO_TESTS)
  if(WIN32)
    if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
      message(FATAL_ERROR "GoogleTest sources missing at /usr/src/googletest: install the package googletest")
    endif()
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest)
    if(NOT GTest_FOUND OR NOT TARGET GTest::gmock)
      message(FATAL_ERROR "GoogleTest or GoogleMock missing: install the packages libgtest-dev and libgmock-dev")
    endif()
  endif()
  set(MERO_GTEST_LIBS GTest::gtest GTest::gmock)
  set(MERO_GTEST_MAIN GTest::gtest_main)

  set(MERO_TEST_RESULTS_DIR ${CMAKE_BINARY_DIR}/test-results)
  set(MERO_GTEST_PROGRAMS_FILE ${CMAKE_BINARY_DIR}/gtest-programs.txt)
  file(WRITE ${MERO_GTEST_PROGRAMS_FILE} "")
endif()

if(MERO_BENCH)
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    if(WIN32)
      message(FATAL_ERROR "Google Benchmark for Windows missing from ${MERO_DEPS_DIR}/win: run scripts/setup")
    else()
      message(FATAL_ERROR "Google Benchmark missing: install the package libbenchmark-dev")
    endif()
  endif()
endif()

# libFuzzer targets are native only and need clang with its runtime libraries. Found
# once; a failed probe is not cached, so installing clang and configuring again works.
option(MERO_FUZZ "Build and run the libFuzzer targets (native builds, needs clang)" ON)
if(MERO_TESTS AND NOT WIN32)
  if(MERO_FUZZ)
    find_program(MERO_CLANGXX NAMES clang++ clang++-14)
    if(NOT MERO_CLANG_FUZZER_WORKS)
      set(probe_dir ${CMAKE_BINARY_DIR}/CMakeFiles/fuzzer-probe)
      file(WRITE ${probe_dir}/probe.cpp "#include <cstddef>\n#include <cstdint>\n"
        "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
      set(probe_result 1)
      if(MERO_CLANGXX)
        execute_process(COMMAND ${MERO_CLANGXX} -fsanitize=fuzzer,address,undefined
                                ${probe_dir}/probe.cpp -o ${probe_dir}/probe
                        RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
      endif()
      if(NOT probe_result EQUAL 0)
        message(FATAL_ERROR "clang++ cannot build libFuzzer programs: install the packages clang and "
                            "libclang-rt-14-dev (scripts/setup does), or configure with -DMERO_FUZZ=OFF")
      endif()
      set(MERO_CLANG_FUZZER_WORKS ON CACHE INTERNAL "clang++ links libFuzzer programs")
    endif()
  else()
    message(STATUS "MERO_FUZZ is OFF: the libFuzzer targets and their test runs are left out")
    set(MERO_CLANG_FUZZER_WORKS OFF CACHE INTERNAL "clang++ links libFuzzer programs" FORCE)
  endif()
endif()

# mero_add_test(<name> SOURCES ... [LIBS ...] [NO_MAIN] [TIMEOUT seconds])
# Builds one GoogleTest executable and registers it with CTest as one test that runs
# all its cases in one process (under wine for the Windows build).
function(mero_add_test name)
  cmake_parse_arguments(T "NO_MAIN" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  mero_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${MERO_GTEST_LIBS})
  if(NOT T_NO_MAIN)
    target_link_libraries(${name} PRIVATE ${MERO_GTEST_MAIN})
  endif()
  set(results ${MERO_TEST_RESULTS_DIR}/${name}.xml)
  if(WIN32)
    set(results Z:${results})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1 --gtest_output=xml:${results})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  file(APPEND ${MERO_GTEST_PROGRAMS_FILE} "${name}\n")
endfunction()

# mero_add_benchmark(<name> SOURCES ... [LIBS ...])
function(mero_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  mero_target(${name})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()
