target_sources(pw_services PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/command_runner.h
    ${CMAKE_CURRENT_LIST_DIR}/command_runner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/polling.h
    ${CMAKE_CURRENT_LIST_DIR}/application_catalog.h
    ${CMAKE_CURRENT_LIST_DIR}/application_catalog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_info_data.h
    ${CMAKE_CURRENT_LIST_DIR}/process_ranking.h
    ${CMAKE_CURRENT_LIST_DIR}/process_ranking.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_storage.h
    ${CMAKE_CURRENT_LIST_DIR}/process_storage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_monitor.h
    ${CMAKE_CURRENT_LIST_DIR}/process_monitor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ping_service.h
    ${CMAKE_CURRENT_LIST_DIR}/ping_service.cpp
    ${CMAKE_CURRENT_LIST_DIR}/quick_actions_service.h
    ${CMAKE_CURRENT_LIST_DIR}/quick_actions_service.cpp
)
