# The text-scanning toolkit and the GPU readers need only the C++ standard
# library (the GPU probe links them without Qt).
include(${CMAKE_CURRENT_LIST_DIR}/gpu/gpu.cmake)
target_link_libraries(pw_platform_linux PUBLIC pw_platform_gpu)

target_sources(pw_platform_linux PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/kernel_file.h
    ${CMAKE_CURRENT_LIST_DIR}/kernel_file.cpp
    # Pure parsers, one pair per kernel source; the sysfs ones are in the toolkit.
    ${CMAKE_CURRENT_LIST_DIR}/cpu_parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/cpu_parsers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memory_parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/memory_parsers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/network_parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/network_parsers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tcp_parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/tcp_parsers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/process_parsers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/storage_parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/storage_parsers.cpp
    # One source per area.
    ${CMAKE_CURRENT_LIST_DIR}/linux_clock.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_clock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_cpu_source.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_cpu_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_memory_source.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_memory_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_network_source.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_network_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_connection_source.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_connection_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_power_source.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_power_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_thermal_source.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_thermal_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_storage_source.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_storage_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_fan_source.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_fan_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_process_source.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_process_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_sources.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_sources.cpp
)
