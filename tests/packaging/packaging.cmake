# The .deb made from the install rules, checked as a box's owner installs it (not for the
# sanitizer build, whose programs are not the ones a package ships).
if(TARGET lorvan AND TARGET Hardstop AND NOT LORVAN_SANITIZE)
  add_test(NAME packaging.deb COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check-package.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(packaging.deb PROPERTIES TIMEOUT 300 FAIL_REGULAR_EXPRESSION "FAILED:")
endif()
