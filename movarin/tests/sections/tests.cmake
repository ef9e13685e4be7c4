# The section tests work on edit-mode projects through the project session of the shell tests
# and count what the L-H plot draws on the shell tests' recording paint device.
target_sources(movarin_sections_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/RecordingPaintDevice.cpp)
