# Start-page link documents as resource files that a test registers and unregisters, so that
# one program can see them present, absent or malformed.
foreach(_set full default malformed)
  qt5_add_binary_resources(movarin_shell_links_${_set}
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/links/links_${_set}.qrc
    DESTINATION ${CMAKE_CURRENT_BINARY_DIR}/shell_links_${_set}.rcc)
  add_dependencies(movarin_shell_tests movarin_shell_links_${_set})
endforeach()
target_compile_definitions(movarin_shell_tests PRIVATE
  MOVARIN_SHELL_LINKS_DIR="${CMAKE_CURRENT_BINARY_DIR}")

# The program's start and end without its event loop, run by the tests of what one start of
# the program leaves the next (see the program's header).
add_executable(movarin_startup_probe ${CMAKE_CURRENT_SOURCE_DIR}/tests/shell/probe/StartupProbe.cpp)
target_link_libraries(movarin_startup_probe PRIVATE varnel)
add_dependencies(movarin_shell_tests movarin_startup_probe)
target_compile_definitions(movarin_shell_tests PRIVATE
  MOVARIN_STARTUP_PROBE="$<TARGET_FILE:movarin_startup_probe>")

# Crafted archives (zip bombs and the like) are made by the framework's script.
target_compile_definitions(movarin_shell_tests PRIVATE
  MOVARIN_CRAFT_ARCHIVES="${PROJECT_SOURCE_DIR}/brask/tests/craft_archives.py")
