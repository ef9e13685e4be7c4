# movarin_add_gtest(<target> LABELS <label>... SOURCES <file>... LIBS <lib>...
#                   [ENVIRONMENT <name=value>...])
# One GoogleTest executable; every discovered test carries the given CTest labels,
# so that `ctest -L <library>` runs one library's tests alone, and the environment given.
if(MOVARIN_BUILD_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
# The real test data lies beside the clone; a worktree elsewhere points here to it.
set(MOVARIN_SHARED_DATA_DIR "${PROJECT_SOURCE_DIR}/../shared/data" CACHE PATH
  "Folder of the shared test data (holds real/)")

# gtest_discover_tests loses the separators of a list handed through its PROPERTIES on the
# way to the script it generates (two labels arrive as a property named after the second),
# so the labels are set by a second script that CTest reads after the discovered tests. The
# same script gives a Qt program's tests the platform plug-in they run on (empty: none set),
# so that a plain `ctest` needs nothing from the caller's environment, and the program's own
# variables (`environment`).
function(_movarin_label_discovered_tests target labels platform environment)
  set(_properties "LABELS \"${labels}\"")
  set(_environment ${environment})
  if(platform)
    list(APPEND _environment "QT_QPA_PLATFORM=${platform}")
  endif()
  if(MOVARIN_SANITIZE)
    # LeakSanitizer hides what system libraries keep until exit (scripts/lsan-suppressions.txt).
    list(APPEND _environment "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan-suppressions.txt")
  endif()
  if(_environment)
    string(APPEND _properties " ENVIRONMENT \"${_environment}\"")
  endif()
  if(platform STREQUAL "xcb")
    # One X server at a time: they grab the screen, and two xvfb-run -a may race for a number.
    string(APPEND _properties " RESOURCE_LOCK x_server")
  endif()
  set(_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake")
  file(WRITE "${_file}"
    "foreach(_test IN LISTS ${target}_TESTS)\n"
    "  set_tests_properties(\"\${_test}\" PROPERTIES ${_properties})\n"
    "endforeach()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${_file}")
endfunction()

# One test program: `main_libs` give it its main (GoogleTest's or the Qt one among the
# sources), `platform` the Qt platform of its tests (empty for a program without Qt), the rest
# as for the public functions below. Every discovered test gets the labels.
function(_movarin_test_program target main_libs extra_sources platform)
  cmake_parse_arguments(ARG "" "" "LABELS;SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${target} ${ARG_SOURCES} ${extra_sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} ${main_libs})
  target_compile_definitions(${target} PRIVATE
    MOVARIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    MOVARIN_SHARED_DATA_DIR="${MOVARIN_SHARED_DATA_DIR}"
    MOVARIN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(platform STREQUAL "xcb")
    # Run through a wrapper that finds them a display (read by gtest_discover_tests).
    set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
                          "sh;${PROJECT_SOURCE_DIR}/cmake/with-display.sh")
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
  _movarin_label_discovered_tests(${target} "${ARG_LABELS}" "${platform}" "${ARG_ENVIRONMENT}")
endfunction()

function(movarin_add_gtest target)
  if(MOVARIN_BUILD_TESTS)
    _movarin_test_program(${target} "GTest::gtest;GTest::gtest_main" "" "" ${ARGN})
  endif()
endfunction()

# movarin_add_qt_gtest(<target> LABELS <label>... SOURCES <file>... LIBS <lib>...
#                      [ENVIRONMENT <name=value>...])
# A GoogleTest executable for code that needs a QApplication. It gets its own main
# (cmake/QtTestMain.cpp): GoogleTest parses the arguments first and the application
# object is made only when tests run, so that listing the tests at build time needs
# no display. Its tests run on Qt's offscreen platform whatever the caller's
# QT_QPA_PLATFORM says. Tests that need an X server carry the label "xvfb" and live in a
# program of their own, because a label covers the whole program; they run on the xcb
# platform, on the caller's display or else under xvfb-run (cmake/with-display.sh), one
# program at a time.
function(movarin_add_qt_gtest target)
  if(MOVARIN_BUILD_TESTS)
    cmake_parse_arguments(_QT "" "" "LABELS;SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    if("xvfb" IN_LIST _QT_LABELS)
      set(_platform xcb)
    else()
      set(_platform offscreen)
    endif()
    _movarin_test_program(${target} "Qt5::Widgets;Qt5::Test;GTest::gtest;GTest::gmock;hobrin"
                          ${PROJECT_SOURCE_DIR}/cmake/QtTestMain.cpp "${_platform}" ${ARGN})
    set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
endfunction()
