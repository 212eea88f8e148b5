# The metrics endpoint: the exposition text, the HTTP server, and whole runs
# against promtool and a real Prometheus.
pw_add_test(tst_metrics_renderer metrics/tst_metrics_renderer.cpp LIBS pw_services)
pw_add_test(tst_http_request_parser metrics/tst_http_request_parser.cpp LIBS pw_metrics_server)
pw_add_test(tst_metrics_server metrics/tst_metrics_server.cpp LIBS pw_metrics_server)
