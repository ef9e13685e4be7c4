# The geographic-data tests work on edit-mode projects through the project session of the
# shell tests, and read shapefiles back with GDAL through the shapefile tests' support.
target_sources(movarin_geodata_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.h)
target_include_directories(movarin_geodata_tests PRIVATE ${PROJECT_SOURCE_DIR}/kalmo/tests)
