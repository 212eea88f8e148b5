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

# The service unit for server mode. It is written at install time, so its
# ExecStart names the program where this installation puts it.
include(GNUInstallDirs)
set(PULSEWICK_SYSTEMD_UNIT_DIR "lib/systemd/system" CACHE STRING
    "Where the systemd unit is installed, under the prefix")
install(CODE "
    set(CMAKE_INSTALL_FULL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    configure_file(\"${CMAKE_SOURCE_DIR}/resources/systemd/pulsewick.service.in\"
        \"${CMAKE_BINARY_DIR}/pulsewick.service\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/pulsewick.service DESTINATION ${PULSEWICK_SYSTEMD_UNIT_DIR})
