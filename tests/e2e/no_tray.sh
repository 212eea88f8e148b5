#!/usr/bin/env bash
# Without a tray host: the entry is a frameless 70 x 22 readout on every
# workspace and out of taskbars, whose click opens the popup. Later starts hand
# their request to it over the session bus and exit 0; headless runs stay out.
# (Other clicks, dragging and its saved place: test_app_shell; the bus
# protocol: test_single_instance.)
# Usage: no_tray.sh PATH-TO-PULSEWICK
PULSEWICK=$1
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon xdotool xwininfo xprop timeout

start_session
start_pulsewick first
wait_until 15 readout_shown || fail "no readout window without a tray"
readout=$(visible_window_named '^Pulsewick Readout$')
read -r _ _ rw rh < <(geometry "$readout")
[ "$rw" -eq 70 ] && [ "$rh" -eq 22 ] || fail "readout is ${rw}x${rh}, not 70x22"
states=$(xprop -id "$readout" _NET_WM_STATE)
grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$states" && grep -q _NET_WM_STATE_SKIP_PAGER <<<"$states" ||
    fail "the readout is listed in taskbars or pagers: $states"
xprop -id "$readout" _NET_WM_DESKTOP | grep -q '= 4294967295' ||
    fail "the readout is not on every workspace"

click_center "$readout" 1
wait_until 5 popup_shown || fail "left click on the readout did not open the popup"
check_popup_geometry
xprop -id "$(popup_window)" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    fail "the popup has a taskbar entry"
click_center "$readout" 1
wait_until 5 popup_gone || fail "second left click did not close the popup"

# later ARGS...: a second start, which must hand over and exit 0.
later() {
    timeout 20 "$PULSEWICK" --latency-host 127.0.0.1 "$@" >>"$E2E_TMP/later.log" 2>&1 ||
        fail "pulsewick $* beside the first exited with $?"
    kill -0 "$PULSEWICK_PID" || fail "the first program ended"
}
dashboard_on() {
    visible_window_named '^Pulsewick Dashboard$' >/dev/null || grep -q "^OpenDashboard: $1\$" "$E2E_TMP/first.log"
}
later --dashboard Power
wait_until 10 dashboard_on Power || fail "the running program did not open the dashboard"
later
wait_until 10 popup_shown || fail "the running program did not show its popup"
[ "$(xdotool search --onlyvisible --name '^Pulsewick Readout$' | wc -l)" -eq 1 ] ||
    fail "more than one tray entry"
later --headless --samples 1
echo "PASS no_tray"
