# The popup side: the tray readout, the popup with its tabs and tray, and the
# chart and row widgets they share.
target_sources(pw_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/text_styles.h
    ${CMAKE_CURRENT_LIST_DIR}/format/figure_format.h
    ${CMAKE_CURRENT_LIST_DIR}/format/figure_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cycle_refresh.h
    ${CMAKE_CURRENT_LIST_DIR}/cycle_refresh.cpp
    ${CMAKE_CURRENT_LIST_DIR}/view_logic.h
    ${CMAKE_CURRENT_LIST_DIR}/view_logic.cpp
    ${CMAKE_CURRENT_LIST_DIR}/spring_animation.h
    ${CMAKE_CURRENT_LIST_DIR}/spring_animation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_requests.h
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_requests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ring_painter.h
    ${CMAKE_CURRENT_LIST_DIR}/ring_painter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ring_raster.h
    ${CMAKE_CURRENT_LIST_DIR}/kept_pixels.h
    ${CMAKE_CURRENT_LIST_DIR}/kept_pixels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ring_raster.cpp
    ${CMAKE_CURRENT_LIST_DIR}/color_dot.h
    ${CMAKE_CURRENT_LIST_DIR}/color_dot.cpp
    ${CMAKE_CURRENT_LIST_DIR}/divider_line.h
    ${CMAKE_CURRENT_LIST_DIR}/divider_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/elided_label.h
    ${CMAKE_CURRENT_LIST_DIR}/elided_label.cpp
    ${CMAKE_CURRENT_LIST_DIR}/label_factory.h
    ${CMAKE_CURRENT_LIST_DIR}/label_factory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/steady_label.h
    ${CMAKE_CURRENT_LIST_DIR}/steady_label.cpp
    ${CMAKE_CURRENT_LIST_DIR}/symbol_icon.h
    ${CMAKE_CURRENT_LIST_DIR}/symbol_icon.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sparkline_view.h
    ${CMAKE_CURRENT_LIST_DIR}/sparkline_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sparkline_raster.h
    ${CMAKE_CURRENT_LIST_DIR}/sparkline_raster.cpp
    ${CMAKE_CURRENT_LIST_DIR}/opaque_blend.h
    ${CMAKE_CURRENT_LIST_DIR}/opaque_blend.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ring_chart.h
    ${CMAKE_CURRENT_LIST_DIR}/ring_chart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gauge_ring.h
    ${CMAKE_CURRENT_LIST_DIR}/gauge_ring.cpp
    ${CMAKE_CURRENT_LIST_DIR}/legend_item.h
    ${CMAKE_CURRENT_LIST_DIR}/legend_item.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_icon.h
    ${CMAKE_CURRENT_LIST_DIR}/process_icon.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_row.h
    ${CMAKE_CURRENT_LIST_DIR}/process_row.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_traffic_row.h
    ${CMAKE_CURRENT_LIST_DIR}/process_traffic_row.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_list_section.h
    ${CMAKE_CURRENT_LIST_DIR}/process_list_section.cpp
    ${CMAKE_CURRENT_LIST_DIR}/traffic_list_section.h
    ${CMAKE_CURRENT_LIST_DIR}/traffic_list_section.cpp
    ${CMAKE_CURRENT_LIST_DIR}/visual_effect_view.h
    ${CMAKE_CURRENT_LIST_DIR}/visual_effect_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menu_bar_readout.h
    ${CMAKE_CURRENT_LIST_DIR}/menu_bar_readout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menu_bar_view.h
    ${CMAKE_CURRENT_LIST_DIR}/menu_bar_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tab_bar_button.h
    ${CMAKE_CURRENT_LIST_DIR}/tab_bar_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_launch_button.h
    ${CMAKE_CURRENT_LIST_DIR}/app_launch_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bottom_app_tray.h
    ${CMAKE_CURRENT_LIST_DIR}/bottom_app_tray.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gpu_strip.h
    ${CMAKE_CURRENT_LIST_DIR}/gpu_strip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cpu_tab_view.h
    ${CMAKE_CURRENT_LIST_DIR}/cpu_tab_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memory_tab_view.h
    ${CMAKE_CURRENT_LIST_DIR}/memory_tab_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/disk_tab_view.h
    ${CMAKE_CURRENT_LIST_DIR}/disk_tab_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/network_tab_view.h
    ${CMAKE_CURRENT_LIST_DIR}/network_tab_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/logo.h
    ${CMAKE_CURRENT_LIST_DIR}/logo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popover_palette.h
    ${CMAKE_CURRENT_LIST_DIR}/popover_palette.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popover_view.h
    ${CMAKE_CURRENT_LIST_DIR}/popover_view.cpp
)

# The popup's own symbol pictures and the header logo, linked into every user of pw_ui.
set(_pw_popup_symbols
    list.bullet.rectangle.portrait.svg
    list.bullet.rectangle.portrait.fill.svg
    waveform.path.ecg.svg
)
list(TRANSFORM _pw_popup_symbols PREPEND ${PROJECT_SOURCE_DIR}/resources/symbols/)
qt_add_resources(pw_ui "popup_symbols"
    PREFIX "/symbols"
    BASE ${PROJECT_SOURCE_DIR}/resources/symbols
    FILES ${_pw_popup_symbols}
)
qt_add_resources(pw_ui "popup_logo"
    PREFIX "/"
    BASE ${PROJECT_SOURCE_DIR}/resources/ui
    FILES ${PROJECT_SOURCE_DIR}/resources/ui/logo.svg
)
