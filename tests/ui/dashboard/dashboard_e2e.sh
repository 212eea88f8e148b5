#!/usr/bin/env bash
# `pulsewick --dashboard PAGE` beside a running program: the running one shows
# one 800 x 600 "Pulsewick Dashboard" window, centred, replaced on the next
# request; its quit button ends the program.
# Usage: dashboard_e2e.sh PATH-TO-PULSEWICK FIXTURES-DIR
PULSEWICK=$1
FIXTURES=$2
source "$(dirname "$0")/../../e2e/lib.sh"
need Xvfb dbus-daemon xdotool xwininfo timeout

start_session
start_pulsewick first --root "$FIXTURES/intel-hybrid-laptop"
first=$PULSEWICK_PID
wait_until 15 visible_window_named '^Pulsewick Readout$' >/dev/null || fail "first start shows nothing"

dashboards() { xdotool search --onlyvisible --name '^Pulsewick Dashboard$' 2>/dev/null || true; }
one_dashboard_other_than() {
    local ids
    ids=$(dashboards)
    [ "$(echo "$ids" | grep -c .)" -eq 1 ] && [ "$ids" != "$1" ]
}

request() {
    timeout 20 "$PULSEWICK" --latency-host 127.0.0.1 --dashboard "$1" \
        >>"$E2E_TMP/requests.log" 2>&1 || fail "--dashboard $1 exited with $?"
}

request History
wait_until 10 one_dashboard_other_than none || fail "no dashboard window after --dashboard History"
window=$(dashboards)
read -r x y w h < <(geometry "$window")
[ "$w" -eq 800 ] && [ "$h" -eq 600 ] || fail "dashboard is ${w}x${h}, not 800x600"
# Centred on the 1280 x 800 screen, give or take a frame.
[ $((x - 240)) -ge -20 ] && [ $((x - 240)) -le 20 ] && [ $((y - 100)) -ge -40 ] &&
    [ $((y - 100)) -le 20 ] || fail "dashboard at $x,$y is not centred"

request Sensors
wait_until 10 one_dashboard_other_than "$window" || fail "the second request did not replace the window"
[ "$(dashboards | grep -c .)" -eq 1 ] || fail "more than one dashboard window"
window=$(dashboards)

# The quit button sits at the foot of the sidebar.
read -r x y w h < <(geometry "$window")
xdotool mousemove --sync $((x + 30)) $((y + h - 40))
sleep 0.2
xdotool click 1
wait_until 10 process_ended "$first" || fail "the quit button did not end the program"
echo "PASS dashboard_e2e"
