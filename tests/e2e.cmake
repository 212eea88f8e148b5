# The application shell: placement, single instance and the delegate offscreen,
# then whole-program runs under Xvfb.
pw_add_test(shell_window_placement ${CMAKE_CURRENT_LIST_DIR}/shell/test_window_placement.cpp
    LIBS pw_app)
pw_add_test(shell_single_instance ${CMAKE_CURRENT_LIST_DIR}/shell/test_single_instance.cpp
    LIBS pw_app)
pw_add_test(shell_app_delegate ${CMAKE_CURRENT_LIST_DIR}/shell/test_app_shell.cpp
    LIBS pw_app)
pw_add_test(shell_termination_signals
    ${CMAKE_CURRENT_LIST_DIR}/shell/test_termination_signals.cpp LIBS pw_app)

# Whole-program runs: each script starts its own Xvfb, session bus and tray
# host and stops only what it started.
foreach(script tray_popup no_tray single_instance)
    add_test(NAME e2e_${script}
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${script}.sh $<TARGET_FILE:pulsewick>)
    # One at a time: X servers started together can race for a display number.
    set_tests_properties(e2e_${script} PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77
        RESOURCE_LOCK pulsewick_xvfb)
endforeach()

# Hostile machines: counter files that would hang or never end, names that try
# to reach the terminal, a full disk. Each run inside is bounded by timeout.
foreach(script hostile_files hostile_names)
    add_test(NAME e2e_${script}
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${script}.sh $<TARGET_FILE:pulsewick>
                ${CMAKE_CURRENT_SOURCE_DIR}/fixtures)
    set_tests_properties(e2e_${script} PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77
        RESOURCE_LOCK pulsewick_xvfb)
endforeach()
