#!/usr/bin/env bash
# Whole-program cost under Xvfb with a tray host: CPU time and peak resident
# memory of Pulsewick beside conky (showing the same figures every second)
# over the same 60 s, then Pulsewick's CPU time with the popup open on the
# CPU tab. Prints the figures.
# Usage: bench/measure_desktop.sh [PATH-TO-PULSEWICK] [SECONDS]
here=$(cd "$(dirname "$0")" && pwd)
PULSEWICK=${1:-$here/../build/release/src/app/pulsewick}
DURATION=${2:-60}
source "$here/../tests/e2e/lib.sh"
need Xvfb dbus-daemon trayer xdotool xwininfo conky
[ -x "$PULSEWICK" ] || fail "no pulsewick binary at $PULSEWICK (build the release preset first)"

ticks=$(getconf CLK_TCK)
# CPU seconds of PID so far: own, and with its waited-for children (ping).
cpu_seconds() {
    awk -v t="$ticks" '{
        sub(/^.*\) /, "");                 # drop "pid (comm) "
        own = $12 + $13; kids = $14 + $15;  # utime stime cutime cstime
        printf "%.2f %.2f\n", own / t, (own + kids) / t }' "/proc/$1/stat"
}
minus() { awk -v a="$1" -v b="$2" 'BEGIN { print a - b }'; }
peak_rss_mb() { awk '/^VmHWM:/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"; }

cat >"$E2E_TMP/conkyrc" <<'CONKY'
conky.config = {
    out_to_x = false,
    out_to_console = true,
    update_interval = 1,
    total_run_times = 0,
    background = false,
};
conky.text = [[
${cpu cpu0}% ${cpugraph cpu0} ${hwmon temp 1}° ${mem}/${memmax} ${memperc}% ${swap} \
${upspeed} ${downspeed} ${battery_percent} ${top name 1} ${top name 2} ${top name 3} \
${top name 4} ${top name 5}
]];
CONKY

start_session
start_tray
start_pulsewick app
app=$PULSEWICK_PID
conky -c "$E2E_TMP/conkyrc" >/dev/null 2>"$E2E_TMP/conky.log" &
conky=$!
E2E_PIDS+=("$conky")
icon=$(window_named '^panel$')
wait_until 15 bash -c "xwininfo -id $icon | awk '/Width:/ {exit !(\$2 >= 16)}'" ||
    fail "no icon docked in the tray"
sleep 3 # past start-up

echo "Measuring ${DURATION} s, popup closed (Xvfb, trayer, 1 s interval)..."
read -r a0 ac0 < <(cpu_seconds "$app")
read -r c0 cc0 < <(cpu_seconds "$conky")
sleep "$DURATION"
read -r a1 ac1 < <(cpu_seconds "$app")
read -r c1 cc1 < <(cpu_seconds "$conky")
printf '%-28s %10s %16s %14s\n' "program" "CPU s" "CPU s + children" "peak RSS MB"
printf '%-28s %10.2f %16.2f %14s\n' "pulsewick (popup closed)" "$(minus "$a1" "$a0")" \
    "$(minus "$ac1" "$ac0")" "$(peak_rss_mb "$app")"
printf '%-28s %10.2f %16.2f %14s\n' "conky $(conky -v | head -n1 | awk '{print $2}')" \
    "$(minus "$c1" "$c0")" "$(minus "$cc1" "$cc0")" "$(peak_rss_mb "$conky")"

click_center "$icon" 1
wait_until 5 popup_shown || fail "the popup did not open"
sleep 2
echo "Measuring ${DURATION} s, popup open on the CPU tab..."
read -r p0 pc0 < <(cpu_seconds "$app")
sleep "$DURATION"
read -r p1 pc1 < <(cpu_seconds "$app")
popup_shown || fail "the popup closed during the measurement"
printf '%-28s %10.2f %16.2f %14s\n' "pulsewick (popup on CPU)" "$(minus "$p1" "$p0")" \
    "$(minus "$pc1" "$pc0")" "$(peak_rss_mb "$app")"
