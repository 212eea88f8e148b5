#!/usr/bin/env bash
# Whole runs of `pulsewick --serve`, everything on loopback ports of its own:
# promtool accepts the page; bad clients (metrics_abuse.py) block neither the
# server nor its cycle; a real Prometheus then scrapes it every second and has
# the target up with values for the CPU load and the network receive rate; a
# machine without a sensor has no temperature series (unknown is absent, not
# 0); SIGTERM ends the server with status 0.
# (The page's values, formats and refusals: tst_metrics_renderer, tst_metrics_server.)
# Usage: metrics.sh PULSEWICK FIXTURES
PULSEWICK=$1
FIXTURES=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/metrics_lib.sh"
need curl promtool prometheus python3

start_server laptop --root "$FIXTURES/intel-hybrid-laptop"
wait_for_figures
scrape | promtool check metrics || fail "promtool found problems in the scrape"
python3 "$(dirname "$0")/metrics_abuse.py" "$SERVER_PORT" || fail "the server gave way"

prom_port=$(free_port)
cat >"$E2E_TMP/prometheus.yml" <<YML
global:
  scrape_interval: 1s
  evaluation_interval: 1s
scrape_configs:
  - job_name: pulsewick
    static_configs:
      - targets: ["127.0.0.1:$SERVER_PORT"]
YML
prometheus --config.file="$E2E_TMP/prometheus.yml" --storage.tsdb.path="$E2E_TMP/tsdb" \
    --web.listen-address="127.0.0.1:$prom_port" >"$E2E_TMP/prometheus.log" 2>&1 &
E2E_PIDS+=($!)
api="http://127.0.0.1:$prom_port"
wait_until 60 curl -sf "$api/-/ready" -o /dev/null || fail "Prometheus did not get ready"
# query EXPR: the first result's value, or nothing.
query() {
    curl -sf --get --data-urlencode "query=$1" "$api/api/v1/query" | python3 -c '
import json, sys
result = json.load(sys.stdin)["data"]["result"]
print(result[0]["value"][1] if result else "")'
}
has_value() { [ -n "$(query "$1")" ]; }
wait_until 60 has_value 'up{job="pulsewick"} == 1' || fail "the target is not up"
for series in pulsewick_cpu_usage_ratio 'rate(pulsewick_network_receive_bytes_total[5s])'; do
    wait_until 30 has_value "$series" || fail "Prometheus has no $series"
    echo "$series: $(query "$series")"
done
# Every scrape so far went through Prometheus's parser.
[ "$(query 'min_over_time(up{job="pulsewick"}[1m])')" = 1 ] || fail "a scrape failed"
stop_server

start_server vm --root "$FIXTURES/bare-vm"
wait_for_figures
scrape >"$E2E_TMP/vm.prom"
promtool check metrics <"$E2E_TMP/vm.prom" || fail "promtool found problems in the bare-vm scrape"
! grep -E 'temperature|cluster="efficiency"' "$E2E_TMP/vm.prom" ||
    fail "bare-vm has a temperature or efficiency cores"
stop_server
echo "PASS metrics"
