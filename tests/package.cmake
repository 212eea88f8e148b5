# The Debian package, from the release build; once per run, outside the
# sanitizer build.
if(NOT PULSEWICK_SANITIZE)
    add_test(NAME package_deb COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package/deb.sh ${CMAKE_SOURCE_DIR})
    set_tests_properties(package_deb PROPERTIES TIMEOUT 2400 SKIP_RETURN_CODE 77)
endif()
