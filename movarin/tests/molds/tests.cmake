# The molds tests make their projects with the shell tests' project session and main window,
# and count painted lines with the shell tests' recording paint device.
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp)
  target_sources(movarin_molds_tests PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.h
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/MainWindowTestSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/MainWindowTestSupport.h
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/RecordingPaintDevice.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/RecordingPaintDevice.h)
endif()
