pw_add_test(dashboard_logic_test dashboard/settings_logic_test.cpp LIBS pw_ui)
pw_add_test(dashboard_window_test dashboard/dashboard_window_test.cpp LIBS pw_ui)
pw_add_test(dashboard_gpu_views_test dashboard/gpu_views_test.cpp LIBS pw_ui)
pw_add_test(dashboard_file_reveal_test dashboard/file_reveal_test.cpp LIBS pw_ui Qt6::DBus)

# The whole program under Xvfb, with the shared end-to-end helpers.
add_test(NAME e2e_dashboard
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/dashboard/dashboard_e2e.sh $<TARGET_FILE:pulsewick>
        ${CMAKE_CURRENT_SOURCE_DIR}/fixtures)
set_tests_properties(e2e_dashboard PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)
