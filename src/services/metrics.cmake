# The metrics endpoint's text: every figure of a cycle in the Prometheus and
# OpenMetrics exposition formats. Pure: it reads only the snapshot it is given.
target_sources(pw_services PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/metrics/exposition.h
    ${CMAKE_CURRENT_LIST_DIR}/metrics/exposition.cpp
    ${CMAKE_CURRENT_LIST_DIR}/metrics/catalogue_metrics.h
    ${CMAKE_CURRENT_LIST_DIR}/metrics/catalogue_metrics.cpp
    ${CMAKE_CURRENT_LIST_DIR}/metrics/cpu_metrics.h
    ${CMAKE_CURRENT_LIST_DIR}/metrics/cpu_metrics.cpp
    ${CMAKE_CURRENT_LIST_DIR}/metrics/gpu_metrics.h
    ${CMAKE_CURRENT_LIST_DIR}/metrics/gpu_metrics.cpp
    ${CMAKE_CURRENT_LIST_DIR}/metrics/fan_metrics.h
    ${CMAKE_CURRENT_LIST_DIR}/metrics/fan_metrics.cpp
    ${CMAKE_CURRENT_LIST_DIR}/metrics/metrics_page.h
    ${CMAKE_CURRENT_LIST_DIR}/metrics/metrics_page.cpp
)
