#!/usr/bin/env bash
# Soak: the tray program under Xvfb (with an XEmbed tray host) and a headless
# --json run side by side on this machine for MINUTES, printing each one's
# resident memory, open file descriptors and CPU time once a minute, then the
# change of resident memory since the first minute.
# Usage: bench/soak.sh MINUTES   (PULSEWICK=path picks the binary; the default
# is the release build, made when missing)
set -euo pipefail
minutes=${1:?usage: bench/soak.sh MINUTES}
cd "$(dirname "$0")/.."
if [ -z "${PULSEWICK:-}" ]; then
    PULSEWICK=$PWD/build/release/src/app/pulsewick
    if [ ! -x "$PULSEWICK" ]; then
        scripts/deps.sh build
        cmake --preset release >/dev/null
        cmake --build --preset release --target pulsewick
    fi
fi
source tests/e2e/lib.sh
need Xvfb dbus-daemon trayer xdotool xwininfo

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
fd_count() { find "/proc/$1/fd" -mindepth 1 -maxdepth 1 | wc -l; }
# CPU seconds of every thread so far, from the scheduler's own accounting.
cpu_seconds() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null |
        awk '{ns += $1} END {printf "%.1f", ns / 1e9}'
}

start_session
start_tray
start_pulsewick tray
tray=$PULSEWICK_PID
"$PULSEWICK" --latency-host 127.0.0.1 --json >/dev/null 2>"$E2E_TMP/headless.log" &
headless=$!
E2E_PIDS+=("$headless")
sleep 5 # both past their start-up

printf '%6s  %12s %8s %8s  %12s %8s %8s\n' minute tray_rss_kB tray_fds tray_cpu_s \
    json_rss_kB json_fds json_cpu_s
first_tray=
first_json=
for ((minute = 0; minute <= minutes; minute++)); do
    for pid in "$tray" "$headless"; do
        kill -0 "$pid" 2>/dev/null || fail "process $pid ended during the soak"
    done
    tray_rss=$(rss_kb "$tray")
    json_rss=$(rss_kb "$headless")
    printf '%6d  %12d %8d %8s  %12d %8d %8s\n' "$minute" "$tray_rss" "$(fd_count "$tray")" \
        "$(cpu_seconds "$tray")" "$json_rss" "$(fd_count "$headless")" "$(cpu_seconds "$headless")"
    if [ "$minute" = 1 ]; then
        first_tray=$tray_rss
        first_json=$json_rss
    fi
    [ "$minute" -lt "$minutes" ] && sleep 60
done
if [ -n "$first_tray" ]; then
    echo "resident memory since minute 1: tray $((tray_rss - first_tray)) kB," \
        "headless $((json_rss - first_json)) kB"
fi
