# The surface tests work on edit-mode projects through the shell tests' project session, list
# archives with tar through yarbel's command runner, make writes fail with its file-size
# limit, and count what the reference-line and guide painters draw on the shell tests'
# recording paint device.
target_sources(movarin_surfaces_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/RecordingPaintDevice.cpp)
target_link_libraries(movarin_surfaces_tests PRIVATE yarbel_testsupport)
