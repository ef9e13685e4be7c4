# The export tests work on edit-mode projects through the project session of the shell tests,
# the grid TINs of the section tests and the stored shapes of the geographic-data tests, and
# run the Python checkers beside them.
target_sources(movarin_exports_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/sections/SectionsTestSupport.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/geodata/GeoDataTestSupport.cpp)
# A lowered file-size limit stands for a full disk.
target_link_libraries(movarin_exports_tests PRIVATE yarbel_testsupport)
