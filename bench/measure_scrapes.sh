#!/usr/bin/env bash
# Scrapes per second that `pulsewick --serve` sustains on loopback under ab
# (apache2-utils), with its resident memory and CPU time before and after
# 100,000 scrapes. Prints the figures.
# Usage: bench/measure_scrapes.sh [PATH-TO-PULSEWICK] [SCRAPES] [CONCURRENCY]
here=$(cd "$(dirname "$0")" && pwd)
PULSEWICK=${1:-$here/../build/release/src/app/pulsewick}
SCRAPES=${2:-100000}
CONCURRENCY=${3:-8}
source "$here/../tests/e2e/lib.sh"
source "$here/../tests/e2e/metrics_lib.sh"
need ab curl
[ -x "$PULSEWICK" ] || fail "no pulsewick binary at $PULSEWICK (build the release preset first)"

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
# CPU seconds of every thread of PID so far (schedstat: nanoseconds on the CPU).
cpu_seconds() {
    cat /proc/"$1"/task/*/schedstat | awk '{ns += $1} END {printf "%.2f", ns / 1e9}'
}

start_server bench
wait_for_figures
scrape >/dev/null
rss_before=$(rss_kb "$SERVER_PID")
cpu_before=$(cpu_seconds "$SERVER_PID")

url="http://127.0.0.1:$SERVER_PORT/metrics"
# The figures change every cycle, so the pages differ in length: ab -l.
ab -l -k -n "$SCRAPES" -c "$CONCURRENCY" "$url" >"$E2E_TMP/ab-keepalive.txt" 2>&1 ||
    fail "ab failed: $(tail -n 3 "$E2E_TMP/ab-keepalive.txt")"
rss_after=$(rss_kb "$SERVER_PID")
cpu_after=$(cpu_seconds "$SERVER_PID")
# A new connection per scrape, as Prometheus does after an idle cut-off.
ab -l -n 10000 -c "$CONCURRENCY" "$url" >"$E2E_TMP/ab-close.txt" 2>&1 ||
    fail "ab failed: $(tail -n 3 "$E2E_TMP/ab-close.txt")"
rss_end=$(rss_kb "$SERVER_PID")

field() { awk -F': *' -v f="$1" '$1 == f {print $2}' "$2"; }
echo "scrapes (keep-alive, $CONCURRENCY at once): $SCRAPES, failed $(field 'Failed requests' \
    "$E2E_TMP/ab-keepalive.txt"), $(field 'Requests per second' "$E2E_TMP/ab-keepalive.txt")"
echo "  page: $(field 'Document Length' "$E2E_TMP/ab-keepalive.txt"), mean time per scrape" \
    "$(field 'Time per request' "$E2E_TMP/ab-keepalive.txt" | tail -n1)"
echo "  Pulsewick CPU time for them: $(awk -v a="$cpu_after" -v b="$cpu_before" \
    'BEGIN {print a - b}') s"
echo "scrapes (new connection each): 10000, failed $(field 'Failed requests' \
    "$E2E_TMP/ab-close.txt"), $(field 'Requests per second' "$E2E_TMP/ab-close.txt")"
echo "resident memory: ${rss_before} kB before, ${rss_after} kB after $SCRAPES scrapes," \
    "${rss_end} kB after 10000 more connections"
stop_server
