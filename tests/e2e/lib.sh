# Shared by the end-to-end scripts: a private X server, session bus and tray
# host per run, and helpers to find and poke Pulsewick's windows.
# Everything started here is recorded in E2E_PIDS and killed, by PID, on exit.

set -euo pipefail

E2E_PIDS=()
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/pulsewick-e2e.XXXXXX")

e2e_cleanup() {
    local pid
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${E2E_PIDS[i]}
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${E2E_PIDS[@]}"; do
        # Up to 3 s for a clean exit, then hard.
        for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$E2E_TMP"/*.log; do
        [ -s "$log" ] || continue
        echo "--- $(basename "$log")" >&2
        tail -n 30 "$log" >&2
    done
    exit 1
}

need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
    done
}

# wait_until SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# A fresh environment: no display, no bus, a configuration folder of our own.
start_session() {
    unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
    export HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_RUNTIME_DIR="$E2E_TMP/run"
    export XDG_DATA_HOME="$E2E_TMP/data" XDG_CACHE_HOME="$E2E_TMP/cache" XDG_STATE_HOME="$E2E_TMP/state"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    export QT_QPA_PLATFORM=xcb
    unset QT_QPA_PLATFORMTHEME

    # The X server picks a free display number and writes it to fd 3. Two
    # servers starting at once can pick the same number; the loser exits, so
    # it only counts once it is still alive and answering.
    local attempt xvfb
    for attempt in 1 2 3 4 5; do
        rm -f "$E2E_TMP/display"
        Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x800x24 3>"$E2E_TMP/display" \
            >"$E2E_TMP/xvfb.log" 2>&1 &
        xvfb=$!
        E2E_PIDS+=("$xvfb")
        if wait_until 10 test -s "$E2E_TMP/display"; then
            export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
            sleep 0.3
            if kill -0 "$xvfb" 2>/dev/null && xwininfo -root >/dev/null 2>&1 &&
                kill -0 "$xvfb" 2>/dev/null; then
                echo "e2e: Xvfb $xvfb serves $DISPLAY" >>"$E2E_TMP/session.log"
                break
            fi
        fi
        unset DISPLAY
        kill "$xvfb" 2>/dev/null || true
        sleep "0.$((RANDOM % 9 + 1))"
    done
    [ -n "${DISPLAY:-}" ] || fail "Xvfb did not start"

    # A bus of our own: no other Pulsewick, no StatusNotifierItem host.
    dbus-daemon --session --nofork --print-address=3 3>"$E2E_TMP/bus" \
        >"$E2E_TMP/dbus.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 10 test -s "$E2E_TMP/bus" || fail "dbus-daemon did not start"
    export DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_TMP/bus")
}

# An XEmbed tray host along the top edge, icons at the right.
start_tray() {
    trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
        --transparent false >"$E2E_TMP/trayer.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 10 window_named '^panel$' >/dev/null || fail "trayer did not map its panel"
}

# start_pulsewick LOGNAME ARGS...: sets PULSEWICK_PID.
start_pulsewick() {
    local log=$1
    shift
    "$PULSEWICK" --latency-host 127.0.0.1 "$@" >"$E2E_TMP/$log.log" 2>&1 &
    PULSEWICK_PID=$!
    E2E_PIDS+=("$PULSEWICK_PID")
}

# The first window whose name matches the regex, mapped or not.
window_named() {
    xdotool search --name "$1" 2>/dev/null | head -n1 | grep .
}

# A viewable window whose name matches.
visible_window_named() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 | grep .
}

is_viewable() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

is_hidden() {
    ! is_viewable "$1"
}

# geometry ID: "X Y WIDTH HEIGHT" in root coordinates.
geometry() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# click_center ID BUTTON
click_center() {
    local x y w h
    read -r x y w h < <(geometry "$1")
    # No --sync: it waits for a motion that never comes when the pointer is
    # already there.
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) sleep 0.1 click "$2"
}

popup_window() { window_named '^Pulsewick Popup$'; }
popup_shown() { local id; id=$(popup_window) && is_viewable "$id"; }
popup_gone() { ! popup_shown; }
menu_shown() { visible_window_named '^Pulsewick Menu$' >/dev/null; }
menu_gone() { ! menu_shown; }

# The popup is on screen at 320 x 620, inside the 1280 x 800 screen.
check_popup_geometry() {
    local x y w h
    read -r x y w h < <(geometry "$(popup_window)")
    [ "$w" -eq 320 ] && [ "$h" -eq 620 ] || fail "popup is ${w}x${h}, not 320x620"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 800 ] ||
        fail "popup at $x,$y leaves the screen"
    echo "popup at $x,$y ${w}x${h}"
}

process_ended() { ! kill -0 "$1" 2>/dev/null; }
