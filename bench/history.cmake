add_executable(bench_history ${CMAKE_CURRENT_LIST_DIR}/history_bench.cpp)
target_link_libraries(bench_history PRIVATE pw_ui)
