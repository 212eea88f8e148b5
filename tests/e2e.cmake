# The application shell: placement, single instance and the delegate offscreen,
# then whole-program runs under Xvfb.
pw_add_test(shell_window_placement ${CMAKE_CURRENT_LIST_DIR}/shell/test_window_placement.cpp
    LIBS pw_app)
pw_add_test(shell_single_instance ${CMAKE_CURRENT_LIST_DIR}/shell/test_single_instance.cpp
    LIBS pw_app)
pw_add_test(shell_app_delegate ${CMAKE_CURRENT_LIST_DIR}/shell/test_app_shell.cpp
    LIBS pw_app)
add_library(pw_readout_contrast STATIC ${CMAKE_CURRENT_LIST_DIR}/shell/readout_contrast.h
    ${CMAKE_CURRENT_LIST_DIR}/shell/readout_contrast.cpp)
target_link_libraries(pw_readout_contrast PUBLIC Qt6::Gui)
pw_add_test(shell_status_notifier ${CMAKE_CURRENT_LIST_DIR}/shell/test_status_notifier.cpp
    LIBS pw_app)
# Measures the readout's contrast in screenshots of real panels (used by the scripts below).
add_executable(tray_contrast ${CMAKE_CURRENT_LIST_DIR}/e2e/tray_contrast.cpp)
target_link_libraries(tray_contrast PRIVATE pw_ui pw_readout_contrast)
pw_add_test(shell_readout_contrast ${CMAKE_CURRENT_LIST_DIR}/shell/test_readout_contrast.cpp
    LIBS pw_ui pw_readout_contrast)
pw_add_test(shell_termination_signals
    ${CMAKE_CURRENT_LIST_DIR}/shell/test_termination_signals.cpp LIBS pw_app)

# Whole-program runs: each script starts its own Xvfb, session bus and tray
# host and stops only what it started.
foreach(script tray_popup no_tray)
    add_test(NAME e2e_${script}
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${script}.sh $<TARGET_FILE:pulsewick>)
endforeach()
add_test(NAME e2e_xfce_panel
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/xfce_panel.sh $<TARGET_FILE:pulsewick>
        $<TARGET_FILE:tray_contrast> ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/intel-hybrid-laptop)
# Hostile machines: counter files that would hang or never end, names that try
# to reach the terminal. Each run inside is bounded by timeout.
add_test(NAME e2e_hostile COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/hostile.sh
    $<TARGET_FILE:pulsewick> ${CMAKE_CURRENT_SOURCE_DIR}/fixtures)
# One at a time: X servers started together can race for a display number.
set_tests_properties(e2e_tray_popup e2e_no_tray e2e_xfce_panel e2e_hostile
    PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77 RESOURCE_LOCK pulsewick_xvfb)
# sway runs headless and apart from X, under a user of its own when run as root.
add_test(NAME e2e_sway COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/sway.sh $<TARGET_FILE:pulsewick>)
set_tests_properties(e2e_sway PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77)
