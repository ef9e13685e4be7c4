# movarin_add_gtest(<target> LABELS <label>... SOURCES <file>... LIBS <lib>...)
# One GoogleTest executable; every discovered test carries the given CTest labels,
# so that `ctest -L <library>` runs one library's tests alone.
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
# so the labels are set by a second script that CTest reads after the discovered tests.
function(_movarin_label_discovered_tests target labels)
  set(_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake")
  file(WRITE "${_file}"
    "foreach(_test IN LISTS ${target}_TESTS)\n"
    "  set_tests_properties(\"\${_test}\" PROPERTIES LABELS \"${labels}\")\n"
    "endforeach()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${_file}")
endfunction()

# What both kinds of test program share once the executable is made: the folders the tests
# read from, discovery and the labels.
function(_movarin_finish_gtest target labels)
  target_compile_definitions(${target} PRIVATE
    MOVARIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    MOVARIN_SHARED_DATA_DIR="${MOVARIN_SHARED_DATA_DIR}"
    MOVARIN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
  _movarin_label_discovered_tests(${target} "${labels}")
endfunction()

function(movarin_add_gtest target)
  if(NOT MOVARIN_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LABELS;SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  _movarin_finish_gtest(${target} "${ARG_LABELS}")
endfunction()

# movarin_add_qt_gtest(<target> LABELS <label>... SOURCES <file>... LIBS <lib>...)
# A GoogleTest executable for code that needs a QApplication. It gets its own main
# (cmake/QtTestMain.cpp): GoogleTest parses the arguments first and the application
# object is made only when tests run, so that listing the tests at build time needs
# no display. Tests that need an X server carry the label "xvfb" and live in a program
# of their own, because a label covers the whole program.
function(movarin_add_qt_gtest target)
  if(NOT MOVARIN_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LABELS;SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/QtTestMain.cpp)
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} Qt5::Widgets Qt5::Test GTest::gtest GTest::gmock)
  _movarin_finish_gtest(${target} "${ARG_LABELS}")
endfunction()
