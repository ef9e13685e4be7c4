# The surface tests work on edit-mode projects through the shell tests' project session, list
# archives with tar through yarbel's command runner and make writes fail with its file-size
# limit.
target_sources(movarin_surfaces_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp)
target_link_libraries(movarin_surfaces_tests PRIVATE yarbel_testsupport)
