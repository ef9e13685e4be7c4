# The roads end to end, a program each: `e2e_create_mode` takes the create-mode road,
# `e2e_edit_mode` the edit-mode road from a converted survey and an STL surface to the exports
# and a reopened project. Both work on a main window of the program with its projects, share
# the folder's support (the window, pixels, screen grabs, the Python runner), read archives
# through the shell tests' helpers and run the Python checkers beside them. They grab the
# window from the screen, so they need an X server: they carry the label xvfb, which gives them
# the xcb platform (run under xvfb-run). Their windows draw nothing through OpenGL, so they run
# without xcb's GLX integration and load no Mesa driver.
set(_workflow_support ${MOVARIN_TEST_SUPPORT}
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/workflow/WorkflowTestSupport.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/workflow/WorkflowTestSupport.h
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/ProjectTestSupport.h)
set(e2e_create_mode_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/workflow/CreateModeWorkflowTest.cpp)
set(e2e_edit_mode_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/workflow/EditModeWorkflowTest.cpp)
foreach(_program e2e_create_mode e2e_edit_mode)
  movarin_add_qt_gtest(${_program} LABELS movarin workflow xvfb
    SOURCES ${${_program}_SOURCES} ${_workflow_support}
    LIBS varnel
    ENVIRONMENT QT_XCB_GL_INTEGRATION=none)
  if(TARGET ${_program})
    target_include_directories(${_program} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  endif()
endforeach()
