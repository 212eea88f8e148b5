# The dashboard window: sidebar, pages, their widgets and the file reveal.
find_package(Qt6 REQUIRED COMPONENTS DBus)
target_sources(pw_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_style.h
    ${CMAKE_CURRENT_LIST_DIR}/settings_logic.h
    ${CMAKE_CURRENT_LIST_DIR}/settings_logic.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rounded_card.h
    ${CMAKE_CURRENT_LIST_DIR}/rounded_card.cpp
    ${CMAKE_CURRENT_LIST_DIR}/switch_button.h
    ${CMAKE_CURRENT_LIST_DIR}/switch_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/segmented_button.h
    ${CMAKE_CURRENT_LIST_DIR}/segmented_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sidebar_button.h
    ${CMAKE_CURRENT_LIST_DIR}/sidebar_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/level_bar_chart.h
    ${CMAKE_CURRENT_LIST_DIR}/level_bar_chart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sensor_circle.h
    ${CMAKE_CURRENT_LIST_DIR}/sensor_circle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sensor_row.h
    ${CMAKE_CURRENT_LIST_DIR}/sensor_row.cpp
    ${CMAKE_CURRENT_LIST_DIR}/color_row.h
    ${CMAKE_CURRENT_LIST_DIR}/color_row.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memory_card.h
    ${CMAKE_CURRENT_LIST_DIR}/memory_card.cpp
    ${CMAKE_CURRENT_LIST_DIR}/network_card.h
    ${CMAKE_CURRENT_LIST_DIR}/network_card.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_reveal.h
    ${CMAKE_CURRENT_LIST_DIR}/file_reveal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history_chart.h
    ${CMAKE_CURRENT_LIST_DIR}/history_chart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history_chart_card.h
    ${CMAKE_CURRENT_LIST_DIR}/history_chart_card.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_pages.h
    ${CMAKE_CURRENT_LIST_DIR}/settings_page_parts.h
    ${CMAKE_CURRENT_LIST_DIR}/settings_pages_preferences.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_pages_sensors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_pages_readings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_pages_hardware.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_pages_gpu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gpu_page_text.h
    ${CMAKE_CURRENT_LIST_DIR}/gpu_page_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gpu_card_view.h
    ${CMAKE_CURRENT_LIST_DIR}/gpu_card_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_view.h
    ${CMAKE_CURRENT_LIST_DIR}/settings_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_window.h
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_window.cpp
)
target_link_libraries(pw_ui PUBLIC Qt6::DBus)

# The dashboard's own symbol pictures, linked into every user of pw_ui.
set(_pw_dashboard_symbols
    cpu.svg
    fanblades.fill.svg
    thermometer.medium.svg
    bolt.fill.svg
    arrow.down.circle.fill.svg
    arrow.up.circle.fill.svg
    link.svg
    globe.svg
)
list(TRANSFORM _pw_dashboard_symbols PREPEND ${PROJECT_SOURCE_DIR}/resources/symbols/)
qt_add_resources(pw_ui "dashboard_symbols"
    PREFIX "/symbols"
    BASE ${PROJECT_SOURCE_DIR}/resources/symbols
    FILES ${_pw_dashboard_symbols}
)
