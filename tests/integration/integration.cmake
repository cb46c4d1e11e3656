# The integration tests use the Linux host's library and run the lorvan executable.
if(TARGET lorvan_linux)
  target_link_libraries(test_integration PRIVATE lorvan_linux)
  target_compile_definitions(test_integration PRIVATE LORVAN_EXE="$<TARGET_FILE:lorvan>"
                             LORVAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_dependencies(test_integration lorvan)
  # Bytes on the panel's bus per back end, the table of docs/panels.md: a measurement, run by hand.
  add_executable(panel-traffic ${CMAKE_CURRENT_LIST_DIR}/traffic/panel_traffic.cpp ${CMAKE_CURRENT_LIST_DIR}/panel_rig.cpp)
  target_link_libraries(panel-traffic PRIVATE lorvan_linux lorvan_test_runner)
endif()
