# The views: the formatting module, the widgets, the popup and the dashboard
# window, over the engine's models built on the per-area fakes.
foreach(test
        tst_figure_format
        tst_widgets
        tst_live_figures
        tst_reading_demand
        tst_sparkline_raster
        tst_ring_raster
        tst_opaque_blend
        popup/tst_popup_logic
        popup/tst_popover
        dashboard/tst_dashboard_logic
        dashboard/tst_dashboard_window
        dashboard/tst_file_reveal)
    get_filename_component(name ${test} NAME)
    pw_add_test(${name} ui/${test}.cpp ui/ui_test_support.h LIBS pw_ui)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
endforeach()

# The whole program under Xvfb: the dashboard window beside a running instance.
add_test(NAME e2e_dashboard
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/ui/dashboard/dashboard_e2e.sh $<TARGET_FILE:pulsewick>
        ${CMAKE_CURRENT_SOURCE_DIR}/fixtures)
set_tests_properties(e2e_dashboard PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77
    RESOURCE_LOCK pulsewick_xvfb)
