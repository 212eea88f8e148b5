add_executable(bench_metrics ${CMAKE_CURRENT_LIST_DIR}/metrics_bench.cpp)
target_link_libraries(bench_metrics PRIVATE pw_metrics_server benchmark::benchmark)
