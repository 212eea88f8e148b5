# The metrics endpoint: the exposition text, the HTTP server, and whole runs
# against promtool and a real Prometheus.
pw_add_test(tst_metrics_renderer metrics/tst_metrics_renderer.cpp LIBS pw_services)
pw_add_test(tst_http_request_parser metrics/tst_http_request_parser.cpp LIBS pw_metrics_server)
pw_add_test(tst_metrics_server metrics/tst_metrics_server.cpp LIBS pw_metrics_server)
pw_add_test(tst_serve_options metrics/tst_serve_options.cpp LIBS pw_app)

# Whole runs of `pulsewick --serve` with promtool and a real Prometheus.
add_test(NAME e2e_metrics COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/metrics.sh
    $<TARGET_FILE:pulsewick> ${CMAKE_CURRENT_SOURCE_DIR}/fixtures)
set_tests_properties(e2e_metrics PROPERTIES TIMEOUT 240 SKIP_RETURN_CODE 77)

# The example Prometheus setup as shipped: the configuration, and the alert
# rules against series that must and must not fire them.
add_test(NAME contrib_prometheus_config
    COMMAND promtool check config ${CMAKE_SOURCE_DIR}/contrib/prometheus/prometheus.yml)
add_test(NAME contrib_prometheus_rules
    COMMAND promtool test rules ${CMAKE_SOURCE_DIR}/contrib/prometheus/pulsewick-alerts.test.yml)
add_test(NAME installed_unit COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/metrics/installed_unit.sh
    ${CMAKE_BINARY_DIR})
set_tests_properties(installed_unit PROPERTIES SKIP_RETURN_CODE 77)
