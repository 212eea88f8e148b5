# The text-scanning toolkit every Linux source reads with: std-only.
add_library(pw_platform_toolkit STATIC
    ${CMAKE_CURRENT_LIST_DIR}/../text_scan.h
    ${CMAKE_CURRENT_LIST_DIR}/../text_scan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../sysfs_files.h
    ${CMAKE_CURRENT_LIST_DIR}/../sysfs_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../sysfs_parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/../sysfs_parsers.cpp
)
target_include_directories(pw_platform_toolkit PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(pw_platform_toolkit PUBLIC pw_platform_io)

# Every GPU by vendor, the DRM clients and NVML: std-only, NVML opened at run time.
add_library(pw_platform_gpu STATIC
    ${CMAKE_CURRENT_LIST_DIR}/card_scan.h
    ${CMAKE_CURRENT_LIST_DIR}/card_scan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hwmon_figures.h
    ${CMAKE_CURRENT_LIST_DIR}/hwmon_figures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/amdgpu.h
    ${CMAKE_CURRENT_LIST_DIR}/amdgpu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/intel.h
    ${CMAKE_CURRENT_LIST_DIR}/intel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/drm_fdinfo.h
    ${CMAKE_CURRENT_LIST_DIR}/drm_fdinfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/drm_clients.h
    ${CMAKE_CURRENT_LIST_DIR}/drm_clients.cpp
    ${CMAKE_CURRENT_LIST_DIR}/nvml_api.h
    ${CMAKE_CURRENT_LIST_DIR}/nvml_library.h
    ${CMAKE_CURRENT_LIST_DIR}/nvml_library.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../linux_gpu_source.h
    ${CMAKE_CURRENT_LIST_DIR}/../linux_gpu_source.cpp
)
target_link_libraries(pw_platform_gpu PUBLIC pw_platform_toolkit ${CMAKE_DL_LIBS})
set_target_properties(pw_platform_toolkit pw_platform_gpu PROPERTIES AUTOMOC OFF)
