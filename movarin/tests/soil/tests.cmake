# The soil-volume and drawing tests work on edit-mode projects of a real main window, through
# the shell tests' main-window support.
target_sources(movarin_soil_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/MainWindowTestSupport.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/MainWindowTestSupport.h)
