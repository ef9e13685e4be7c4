# The brush tests drive the tools on edit-mode projects through the shell tests' project
# session.
target_sources(movarin_brush_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp)
target_link_libraries(movarin_brush_tests PRIVATE yarbel_testsupport)
