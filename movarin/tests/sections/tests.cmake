# The section tests work on edit-mode projects through the project session of the shell tests.
target_sources(movarin_sections_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp)
