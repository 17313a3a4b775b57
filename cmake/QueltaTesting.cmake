# Test registration shared by both presets.
#
#   quelta_add_test(<name> SOURCES <files...> [LIBS <targets...>] [GUI]
#                   [ENGLISH <gtest filter>] [FRESH_PREFIX])
#
# Natively a test executable runs as it is. In the Windows presets (win32,
# and win64 for machines that run no 32-bit program) it runs under the Wine
# of its build, in the build tree's private prefix, as ONE ctest test (a Wine start
# costs time, so the cases are not split up); GUI tests get an X display.
# Wine runs under the Portuguese (Brazil) locale; the cases that ENGLISH
# names run a second time under English (United States), as <name>_english,
# to show that the program follows the locale rather than assuming one.
# FRESH_PREFIX runs it in a prefix of its own, <name>-wineprefix, made anew
# for every run (scripts/wine-fresh.sh): for a test that installs into the
# prefix's C: drive, registry and service control manager.
# Each run leaves a GoogleTest XML report in test-results/, from which
# scripts/test.sh counts the cases of both presets.

enable_testing()

# A whole run (scripts/test.sh) has every prerequisite of every suite: there
# a missing one stops the configuration instead of leaving a suite out.
option(QUELTA_WHOLE_SUITE "Fail the configuration when a test suite cannot be built" OFF)

# Reports a suite left out of the build for want of `reason`.
function(quelta_suite_left_out name reason)
  if(QUELTA_WHOLE_SUITE)
    message(SEND_ERROR "${name}: ${reason}: a whole test run cannot leave it out")
  else()
    message(STATUS "${name}: ${reason}, not built")
  endif()
endfunction()

set(QUELTA_TEST_RESULTS "${CMAKE_BINARY_DIR}/test-results")
set(QUELTA_WINE_RUN "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh")
set(QUELTA_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
# What a Wine run of this build needs in its environment: the prefix and
# which Wine (a 64-bit build runs in a 64-bit prefix of its own).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QUELTA_WINE_BITS 64)
else()
  set(QUELTA_WINE_BITS 32)
endif()
set(QUELTA_WINE_ENV "WINEPREFIX=${QUELTA_WINEPREFIX};QUELTA_WINE_BITS=${QUELTA_WINE_BITS}")

if(WIN32)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  foreach(_t gtest gtest_main gmock gmock_main)
    if(TARGET ${_t})
      target_compile_options(${_t} PRIVATE -w)
    endif()
  endforeach()
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gmock ALIAS gmock)
  endif()

  # One prefix and one warm wineserver for the whole run: the fixture starts
  # them, the last test of the run stops the server again.
  add_test(NAME wine_start COMMAND "${QUELTA_WINE_RUN}" --start)
  add_test(NAME wine_stop COMMAND "${QUELTA_WINE_RUN}" --stop)
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine
    ENVIRONMENT "${QUELTA_WINE_ENV}")
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine
    ENVIRONMENT "${QUELTA_WINE_ENV}")
else()
  find_package(GTest REQUIRED)
endif()

function(quelta_add_test name)
  cmake_parse_arguments(T "GUI;FRESH_PREFIX" "ENGLISH" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} "${CMAKE_SOURCE_DIR}/tests/support/test_main.cpp"
    "${CMAKE_SOURCE_DIR}/tests/support/temp_dir.cpp")
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}")
  if(WIN32)
    set(_gui "")
    if(T_GUI)
      set(_gui --gui)
    endif()
    if(T_FRESH_PREFIX)
      add_test(NAME ${name} COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/wine-fresh.sh"
        "${CMAKE_BINARY_DIR}/${name}-wineprefix" ${_gui} $<TARGET_FILE:${name}>)
      set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QUELTA_WINE_BITS=${QUELTA_WINE_BITS};QUELTA_TEST_RESULTS=${QUELTA_TEST_RESULTS}"
        TIMEOUT 900)
      return()
    endif()
    add_test(NAME ${name} COMMAND "${QUELTA_WINE_RUN}" ${_gui} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
      FIXTURES_REQUIRED wine
      ENVIRONMENT "${QUELTA_WINE_ENV};QUELTA_TEST_RESULTS=${QUELTA_TEST_RESULTS}"
      TIMEOUT 900)
    if(T_ENGLISH)
      add_test(NAME ${name}_english COMMAND "${QUELTA_WINE_RUN}" ${_gui} $<TARGET_FILE:${name}>)
      set_tests_properties(${name}_english PROPERTIES
        FIXTURES_REQUIRED wine
        ENVIRONMENT "${QUELTA_WINE_ENV};QUELTA_TEST_RESULTS=${QUELTA_TEST_RESULTS};QUELTA_TEST_NAME=${name}_english;QUELTA_WINE_LOCALE=C.UTF-8;GTEST_FILTER=${T_ENGLISH}"
        TIMEOUT 300)
    endif()
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "GTEST_OUTPUT=xml:${QUELTA_TEST_RESULTS}/"
      TIMEOUT 900)
  endif()
endfunction()
