# The bird's-eye view needs an OpenGL context, which only an X server gives: these tests run
# under xvfb-run on the xcb platform whatever QT_QPA_PLATFORM the caller set.
set(_xvfb_env "${CMAKE_CURRENT_BINARY_DIR}/movarin_xvfb_tests_environment.cmake")
file(WRITE "${_xvfb_env}"
  "foreach(_test IN LISTS movarin_xvfb_tests_TESTS)\n"
  "  set_tests_properties(\"\${_test}\" PROPERTIES ENVIRONMENT \"QT_QPA_PLATFORM=xcb\")\n"
  "endforeach()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${_xvfb_env}")
