# The survey tests make their projects with the shell tests' project session.
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp)
  target_sources(movarin_survey_tests PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.h)
endif()
# The point import tests write GML fixtures and ask cs2cs through the GML layer's test support.
if(EXISTS ${PROJECT_SOURCE_DIR}/platform/calvex/tests/CalvexTestSupport.h)
  target_include_directories(movarin_survey_tests PRIVATE ${PROJECT_SOURCE_DIR}/platform/calvex/tests)
endif()
