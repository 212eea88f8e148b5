#!/usr/bin/env bash
# A second start hands its request to the running program over the session
# bus and exits 0; headless runs stay out of it.
# Usage: single_instance.sh PATH-TO-PULSEWICK
PULSEWICK=$1
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon xdotool xwininfo timeout

start_session
start_pulsewick first
first=$PULSEWICK_PID
wait_until 15 visible_window_named '^Pulsewick Readout$' >/dev/null || fail "first start shows nothing"

dashboard_on() {
    visible_window_named '^Pulsewick Dashboard$' >/dev/null ||
        grep -q "^OpenDashboard: $1\$" "$E2E_TMP/first.log"
}

timeout 20 "$PULSEWICK" --latency-host 127.0.0.1 --dashboard Power \
    >"$E2E_TMP/second.log" 2>&1 && status=0 || status=$?
[ "$status" -eq 0 ] || fail "second start with --dashboard exited with $status"
wait_until 10 dashboard_on Power || fail "the running program did not open the dashboard"
kill -0 "$first" || fail "the first program ended"

# A plain second start: the running one shows its popup.
timeout 20 "$PULSEWICK" --latency-host 127.0.0.1 >"$E2E_TMP/third.log" 2>&1 && status=0 ||
    status=$?
[ "$status" -eq 0 ] || fail "plain second start exited with $status"
wait_until 10 popup_shown || fail "the running program did not show its popup"
[ "$(xdotool search --onlyvisible --name '^Pulsewick Readout$' | wc -l)" -eq 1 ] ||
    fail "more than one tray entry"

# Headless runs beside it, on their own.
timeout 20 "$PULSEWICK" --headless --samples 1 --latency-host 127.0.0.1 \
    >"$E2E_TMP/headless.log" 2>&1 && status=0 || status=$?
[ "$status" -eq 0 ] || fail "headless run beside the tray program exited with $status"
kill -0 "$first" || fail "the first program ended"
echo "PASS single_instance"
