# Test and benchmark helpers. Natively GoogleTest and Google Benchmark come from
# Debian's packages; for Windows GoogleTest is built from Debian's source copy and
# Google Benchmark is the static library that scripts/setup cross-builds. Windows
# test executables run under wine through CMAKE_CROSSCOMPILING_EMULATOR.

if(MERO_TESTS)
  if(WIN32)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(MERO_GTEST_LIBS GTest::gtest GTest::gmock)
    set(MERO_GTEST_MAIN GTest::gtest_main)
  else()
    find_package(GTest REQUIRED)
    set(MERO_GTEST_LIBS GTest::gtest GTest::gmock)
    set(MERO_GTEST_MAIN GTest::gtest_main)
  endif()
endif()

if(MERO_BENCH)
  find_package(benchmark REQUIRED)
endif()

# mero_add_test(<name> SOURCES ... [LIBS ...] [NO_MAIN] [TIMEOUT seconds])
# Builds one GoogleTest executable and registers it with CTest as a single test
# (under wine for the Windows build).
function(mero_add_test name)
  cmake_parse_arguments(T "NO_MAIN" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  mero_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${MERO_GTEST_LIBS})
  if(NOT T_NO_MAIN)
    target_link_libraries(${name} PRIVATE ${MERO_GTEST_MAIN})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()

# mero_add_benchmark(<name> SOURCES ... [LIBS ...])
function(mero_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  mero_target(${name})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()
