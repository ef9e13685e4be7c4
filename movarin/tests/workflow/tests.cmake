# The create-mode road end to end, a program of its own: it works on a main window of the
# program with its projects, reads archives through the shell tests' helpers and runs the
# Python checker beside it. Its last step grabs the window from the screen, so it needs an X
# server: it carries the label xvfb, which gives it the xcb platform (run under xvfb-run).
file(GLOB _workflow_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/workflow/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/workflow/*.h)
movarin_add_qt_gtest(e2e_create_mode LABELS movarin workflow xvfb
  SOURCES ${_workflow_tests} ${MOVARIN_TEST_SUPPORT}
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.h
  LIBS varnel)
if(TARGET e2e_create_mode)
  target_include_directories(e2e_create_mode PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
endif()
