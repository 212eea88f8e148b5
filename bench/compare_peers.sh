#!/usr/bin/env bash
# Side by side over the same window of time: Pulsewick in its tray (popup
# closed), conky showing the same figures, htop and btop in tmux, each
# refreshing once a second. Prints each one's on-CPU time (every thread,
# from schedstat, so short bursts count) and Pulsewick's peak resident
# memory; then Pulsewick's CPU time with the popup open on the CPU tab.
# Usage: bench/compare_peers.sh [PATH-TO-PULSEWICK] [SECONDS]
here=$(cd "$(dirname "$0")" && pwd)

# A container keeps unprivileged ICMP sockets closed (ping_group_range "1 0")
# where a desktop's systemd opens them. As root, the run then goes into a
# network namespace of its own (only loopback in it) with them open, so the
# latency probe runs as on a desktop; the host's setting is not touched.
if [ -z "${PW_BENCH_NETNS:-}" ] && [ "$(id -u)" = 0 ] && command -v unshare >/dev/null &&
    command -v ip >/dev/null; then
    read -r low high </proc/sys/net/ipv4/ping_group_range
    if [ "$low" -gt "$high" ]; then
        exec env PW_BENCH_NETNS=1 unshare --net -- bash "$0" "$@"
    fi
fi
if [ -n "${PW_BENCH_NETNS:-}" ]; then
    ip link set lo up
    echo "0 2147483647" >/proc/sys/net/ipv4/ping_group_range
    echo "(own network namespace: loopback only, unprivileged ICMP open)"
fi
PULSEWICK=${1:-$here/../build/release/src/app/pulsewick}
DURATION=${2:-90}
source "$here/../tests/e2e/lib.sh"
need Xvfb dbus-daemon trayer xdotool xwininfo conky tmux htop btop
[ -x "$PULSEWICK" ] || fail "no pulsewick binary at $PULSEWICK (build the release preset first)"

# On-CPU nanoseconds of every thread of PID and of its live children, so a
# program that forks helpers is not flattered.
cpu_ns() {
    local pid=$1 total=0 t kid
    for t in /proc/"$pid"/task/*/schedstat; do
        read -r ns _ <"$t" 2>/dev/null && total=$((total + ns))
    done
    for kid in $(cat /proc/"$pid"/task/*/children 2>/dev/null); do
        total=$((total + $(cpu_ns "$kid")))
    done
    echo "$total"
}
# Children that ended and were reaped are in the parent's cutime/cstime.
reaped_ns() {
    awk -v t="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); printf "%.0f\n", ($14 + $15) * 1e9 / t }' \
        "/proc/$1/stat"
}
total_ns() { echo $(($(cpu_ns "$1") + $(reaped_ns "$1"))); }
ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", (b - a) / 1e6 }'; }
peak_rss_mb() { awk '/^VmHWM:/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"; }

cat >"$E2E_TMP/conkyrc" <<'CONKY'
conky.config = {
    out_to_x = true,
    own_window = true,
    own_window_type = 'normal',
    alignment = 'bottom_left',
    double_buffer = true,
    update_interval = 1,
    total_run_times = 0,
    background = false,
};
conky.text = [[
${cpu cpu0}% ${cpugraph cpu0} ${hwmon temp 1}° ${mem}/${memmax} ${memperc}% ${swap}
${upspeed} ${downspeed} ${battery_percent}
]];
CONKY

start_session
start_tray
start_pulsewick app
app=$PULSEWICK_PID
conky -c "$E2E_TMP/conkyrc" >/dev/null 2>"$E2E_TMP/conky.log" &
conky=$!
E2E_PIDS+=("$conky")

# htop and btop in terminals of their own, with a private btop configuration.
export TMUX_TMPDIR="$E2E_TMP" TERM=xterm-256color
mkdir -p "$XDG_CONFIG_HOME/btop"
printf 'update_ms = 1000\n' >"$XDG_CONFIG_HOME/btop/btop.conf"
tmux -L bench new-session -d -x 200 -y 50 -s htop 'htop -d 10'
tmux -L bench new-session -d -x 200 -y 50 -s btop 'btop'
E2E_PIDS+=("$(tmux -L bench display -p -t htop '#{pid}')")
htop=$(tmux -L bench display -p -t htop '#{pane_pid}')
btop=$(tmux -L bench display -p -t btop '#{pane_pid}')

icon=$(window_named '^panel$')
wait_until 15 bash -c "xwininfo -id $icon | awk '/Width:/ {exit !(\$2 >= 16)}'" ||
    fail "no icon docked in the tray"
sleep 3 # past start-up

names=(pulsewick conky htop btop)
pids=("$app" "$conky" "$htop" "$btop")
echo "Measuring ${DURATION} s, popup closed (Xvfb, trayer, 1 s refresh everywhere)..."
before=()
for p in "${pids[@]}"; do before+=("$(total_ns "$p")"); done
sleep "$DURATION"
printf '%-32s %12s\n' "program" "CPU ms"
for i in "${!pids[@]}"; do
    kill -0 "${pids[i]}" 2>/dev/null || fail "${names[i]} ended during the measurement"
    printf '%-32s %12s\n' "${names[i]}" "$(ms "${before[i]}" "$(total_ns "${pids[i]}")")"
done
echo "pulsewick peak RSS: $(peak_rss_mb "$app") MB"

click_center "$(window_named '^panel$')" 1
wait_until 5 popup_shown || fail "the popup did not open"
sleep 2
echo "Measuring ${DURATION} s, popup open on the CPU tab..."
a0=$(total_ns "$app")
sleep "$DURATION"
popup_shown || fail "the popup closed during the measurement"
printf '%-32s %12s\n' "pulsewick (popup on CPU)" "$(ms "$a0" "$(total_ns "$app")")"
echo "pulsewick peak RSS: $(peak_rss_mb "$app") MB"
tmux -L bench kill-server 2>/dev/null || true
