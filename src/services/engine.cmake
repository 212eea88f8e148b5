target_sources(pw_services PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/log_line.h
    ${CMAKE_CURRENT_LIST_DIR}/log_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/preferences.h
    ${CMAKE_CURRENT_LIST_DIR}/preferences.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cpu_load.h
    ${CMAKE_CURRENT_LIST_DIR}/cpu_load.cpp
    ${CMAKE_CURRENT_LIST_DIR}/battery_info.h
    ${CMAKE_CURRENT_LIST_DIR}/battery_info.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hid_monitor.h
    ${CMAKE_CURRENT_LIST_DIR}/hid_monitor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history_csv.h
    ${CMAKE_CURRENT_LIST_DIR}/history_csv.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_stats_provider.h
    ${CMAKE_CURRENT_LIST_DIR}/system_stats_provider.cpp
)
target_sources(pw_services PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/system_colors.h
    ${CMAKE_CURRENT_LIST_DIR}/theme_manager.h
    ${CMAKE_CURRENT_LIST_DIR}/theme_manager.cpp
)
