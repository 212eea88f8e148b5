# The GPU probe: the platform's GPU readers and the standard library, no Qt;
# gpu_probe_static shows it links with -static.
foreach(probe gpu_probe gpu_probe_static)
    add_executable(${probe} ${CMAKE_CURRENT_LIST_DIR}/gpu/gpu_probe.cpp
        ${CMAKE_CURRENT_LIST_DIR}/gpu/json_text.h ${CMAKE_CURRENT_LIST_DIR}/gpu/json_text.cpp)
    target_link_libraries(${probe} PRIVATE pw_platform_gpu)
    set_target_properties(${probe} PROPERTIES AUTOMOC OFF)
endforeach()
target_link_options(gpu_probe_static PRIVATE -static)

add_executable(bench_gpu_cycle ${CMAKE_CURRENT_LIST_DIR}/gpu/bench_gpu_cycle.cpp)
target_link_libraries(bench_gpu_cycle PRIVATE pw_platform_gpu benchmark::benchmark)
target_compile_definitions(bench_gpu_cycle PRIVATE PW_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures")
if(TARGET fake_nvml)
    target_compile_definitions(bench_gpu_cycle PRIVATE PW_FAKE_NVML="$<TARGET_FILE:fake_nvml>")
    add_dependencies(bench_gpu_cycle fake_nvml)
endif()
