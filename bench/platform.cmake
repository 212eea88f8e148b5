add_executable(bench_linux_counters ${CMAKE_CURRENT_LIST_DIR}/platform/bench_linux_counters.cpp)
target_link_libraries(bench_linux_counters PRIVATE pw_platform_linux benchmark::benchmark)
target_compile_definitions(bench_linux_counters PRIVATE
    PW_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures")
