add_executable(probes_bench ${CMAKE_CURRENT_LIST_DIR}/probes_bench.cpp)
target_include_directories(probes_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(probes_bench PRIVATE pw_services pw_platform_linux benchmark::benchmark)
target_compile_definitions(probes_bench PRIVATE PW_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures")
