# The metrics endpoint: the exposition text, the HTTP server, and whole runs
# against promtool and a real Prometheus.
pw_add_test(tst_metrics_renderer metrics/tst_metrics_renderer.cpp LIBS pw_services)
