add_executable(bench_engine ${CMAKE_CURRENT_LIST_DIR}/engine_bench.cpp)
target_link_libraries(bench_engine PRIVATE pw_services pw_platform_linux pw_platform_fake benchmark::benchmark)
