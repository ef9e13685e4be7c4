# The molds tests work on projects through the project session of the shell tests and count
# painted lines with the shell tests' recording paint device.
target_sources(movarin_molds_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.h
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/RecordingPaintDevice.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/RecordingPaintDevice.h)
