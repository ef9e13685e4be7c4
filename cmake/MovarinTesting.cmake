# movarin_add_gtest(<target> LABELS <label>... SOURCES <file>... LIBS <lib>...)
# One GoogleTest executable; every discovered test carries the given CTest labels,
# so that `ctest -L <library>` runs one library's tests alone.
if(MOVARIN_BUILD_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

function(movarin_add_gtest target)
  if(NOT MOVARIN_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LABELS;SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    MOVARIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    MOVARIN_SHARED_DATA_DIR="${PROJECT_SOURCE_DIR}/../shared/data"
    MOVARIN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${target}
    PROPERTIES LABELS "${ARG_LABELS}"
    DISCOVERY_TIMEOUT 60)
endfunction()
