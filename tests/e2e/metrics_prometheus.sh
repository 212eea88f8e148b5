#!/usr/bin/env bash
# A real Prometheus scrapes `pulsewick --serve` on this machine every second;
# its query API then has the target up and values for the CPU load and the
# network receive rate. Everything listens on loopback ports of its own.
# Usage: metrics_prometheus.sh PULSEWICK
PULSEWICK=$1
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/metrics_lib.sh"
need curl prometheus python3

start_server pulsewick
wait_for_figures
has_network=$(scrape | grep -c '^pulsewick_network_receive_bytes_total ' || true)

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
wait_until 30 has_value 'pulsewick_cpu_usage_ratio' || fail "no pulsewick_cpu_usage_ratio"
echo "up: $(query 'up{job="pulsewick"}'), CPU: $(query pulsewick_cpu_usage_ratio)"
if [ "$has_network" -gt 0 ]; then
    wait_until 30 has_value 'rate(pulsewick_network_receive_bytes_total[5s])' ||
        fail "no network receive rate"
    echo "receive rate: $(query 'rate(pulsewick_network_receive_bytes_total[5s])') B/s"
else
    echo "note: this machine has no real network interface; the receive rate is not checked"
fi
# Every scrape so far went through Prometheus's parser.
[ "$(query 'min_over_time(up{job="pulsewick"}[1m])')" = 1 ] || fail "a scrape failed"
stop_server
echo "Prometheus scraped Pulsewick"
