# The metrics server: HTTP/1.1 on QTcpServer with its own limits, and the
# pages it serves. A library of its own so its tests need no desktop parts.
find_package(Qt6 REQUIRED COMPONENTS Network)
add_library(pw_metrics_server STATIC
    ${CMAKE_CURRENT_LIST_DIR}/http_message.h
    ${CMAKE_CURRENT_LIST_DIR}/http_message.cpp
    ${CMAKE_CURRENT_LIST_DIR}/http_connection.h
    ${CMAKE_CURRENT_LIST_DIR}/http_connection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/metrics_server.h
    ${CMAKE_CURRENT_LIST_DIR}/metrics_server.cpp
    ${CMAKE_CURRENT_LIST_DIR}/metrics_endpoint.h
    ${CMAKE_CURRENT_LIST_DIR}/metrics_endpoint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serve_address.h
    ${CMAKE_CURRENT_LIST_DIR}/serve_address.cpp
)
target_link_libraries(pw_metrics_server PUBLIC pw_services Qt6::Network)

# Server mode: the engine without a display, serving the endpoint.
target_sources(pw_app PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/serve_main.h
    ${CMAKE_CURRENT_LIST_DIR}/serve_main.cpp
)
target_link_libraries(pw_app PUBLIC pw_metrics_server)
