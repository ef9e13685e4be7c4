# The image tests make their rasters and read stored pictures back through GDAL, and work on
# projects through the project session of the shell tests.
find_package(GDAL CONFIG REQUIRED)
target_sources(movarin_images_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp)
target_link_libraries(movarin_images_tests PRIVATE GDAL::GDAL)
