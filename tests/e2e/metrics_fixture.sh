#!/usr/bin/env bash
# Server mode on fixture machines: promtool accepts the scrape, its values are
# the JSON readout's of the same tree, unknown figures are absent, the pages
# and refusals are right, and SIGTERM ends the server cleanly.
# Usage: metrics_fixture.sh PULSEWICK FIXTURES
PULSEWICK=$1
FIXTURES=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/metrics_lib.sh"
need curl promtool python3

laptop="$FIXTURES/intel-hybrid-laptop"
start_server laptop --root "$laptop"
wait_for_figures
scrape >"$E2E_TMP/laptop.prom"
promtool check metrics <"$E2E_TMP/laptop.prom" || fail "promtool found problems in the scrape"

# OpenMetrics when the scraper asks for it.
scrape -D "$E2E_TMP/om.headers" -H 'Accept: application/openmetrics-text; version=1.0.0' \
    >"$E2E_TMP/laptop.om"
grep -qi '^Content-Type: application/openmetrics-text; version=1.0.0' "$E2E_TMP/om.headers" ||
    fail "no OpenMetrics content type"
[ "$(tail -n1 "$E2E_TMP/laptop.om")" = "# EOF" ] || fail "OpenMetrics text without # EOF"

# The same tree read by the terminal readout.
"$PULSEWICK" --json --samples 3 --root "$laptop" --latency-host 127.0.0.1 \
    >"$E2E_TMP/laptop.json" 2>"$E2E_TMP/json.log" || fail "the JSON readout failed"
python3 - "$E2E_TMP/laptop.json" "$E2E_TMP/laptop.prom" <<'PY' || fail "scrape and JSON differ"
import json, sys
line = json.loads(open(sys.argv[1]).read().splitlines()[-1])
samples = {}
for row in open(sys.argv[2]):
    if not row.startswith("#"):
        name, value = row.rsplit(" ", 1)
        samples[name] = float(value)
checks = [
    ("pulsewick_memory_total_bytes", line["memoryTotal"] * 1024**3),
    ("pulsewick_memory_used_bytes", line["memoryUsed"] * 1024**3),
    ('pulsewick_cpu_cluster_usage_ratio{cluster="performance"}', line["pClusterUsage"] / 100),
    ('pulsewick_cpu_cluster_usage_ratio{cluster="efficiency"}', line["eClusterUsage"] / 100),
    ('pulsewick_temperature_celsius{sensor="package"}', line["socTemperature"]),
    ("pulsewick_battery_charge_ratio", line["batteryPercentage"] / 100),
]
for series, expected in checks:
    got = samples.get(series)
    print(f"{series}: scrape {got}, JSON {expected}")
    if got is None or abs(got - expected) > 1e-6 * max(1.0, abs(expected)):
        sys.exit(1)
PY

# The pages and the refusals.
base="http://127.0.0.1:$SERVER_PORT"
curl -sS "$base/" | grep -q '<a href="/metrics">' || fail "/ does not link /metrics"
[ "$(curl -s -o /dev/null -w '%{http_code}' "$base/nothing")" = 404 ] || fail "unknown path not 404"
[ "$(curl -s -o /dev/null -w '%{http_code}' -X POST "$base/metrics")" = 405 ] || fail "POST not 405"
stop_server

# A machine without a temperature sensor: the figure is absent, not 0.
start_server vm --root "$FIXTURES/bare-vm"
wait_for_figures
scrape >"$E2E_TMP/vm.prom"
promtool check metrics <"$E2E_TMP/vm.prom" || fail "promtool found problems in the bare-vm scrape"
if grep -q temperature "$E2E_TMP/vm.prom"; then fail "bare-vm has a temperature"; fi
if grep -q 'cluster="efficiency"' "$E2E_TMP/vm.prom"; then fail "bare-vm has efficiency cores"; fi
stop_server
echo "metrics fixture runs passed"
