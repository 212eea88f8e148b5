# Shared by the end-to-end scripts (and bench/): a private X server, session bus
# and tray host per run, and helpers to find and poke Pulsewick's windows.
# Everything started here is recorded in E2E_PIDS and killed, by PID, on exit.

set -euo pipefail

E2E_PIDS=()
# A command prefix for talking to the session as another user (see sway.sh).
E2E_RUN=()
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/pulsewick-e2e.XXXXXX")

e2e_cleanup() {
    local pid
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do kill "${E2E_PIDS[i]}" 2>/dev/null || true; done
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
# The screen is 1280 x 800 unless E2E_SCREEN says otherwise.
start_session() {
    unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORMTHEME
    export HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_RUNTIME_DIR="$E2E_TMP/run"
    export XDG_DATA_HOME="$E2E_TMP/data" XDG_CACHE_HOME="$E2E_TMP/cache" XDG_STATE_HOME="$E2E_TMP/state"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    export QT_QPA_PLATFORM=xcb

    # The X server picks a free display number and writes it to fd 3. Two
    # servers starting at once can pick the same number; the loser exits, so
    # it only counts once it is still alive and answering.
    local attempt xvfb
    for attempt in 1 2 3 4 5; do
        rm -f "$E2E_TMP/display"
        Xvfb -displayfd 3 -nolisten tcp -screen 0 "${E2E_SCREEN:-1280x800}x24" 3>"$E2E_TMP/display" \
            >"$E2E_TMP/xvfb.log" 2>&1 &
        xvfb=$!
        E2E_PIDS+=("$xvfb")
        if wait_until 10 test -s "$E2E_TMP/display"; then
            export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
            sleep 0.3
            if kill -0 "$xvfb" 2>/dev/null && xwininfo -root >/dev/null 2>&1 &&
                kill -0 "$xvfb" 2>/dev/null; then
                break
            fi
        fi
        unset DISPLAY
        kill "$xvfb" 2>/dev/null || true
        sleep "0.$((RANDOM % 9 + 1))"
    done
    [ -n "${DISPLAY:-}" ] || fail "Xvfb did not start"

    # A bus of our own: no other Pulsewick, no StatusNotifierItem host.
    dbus-daemon --session --nofork --print-address=3 3>"$E2E_TMP/bus" >"$E2E_TMP/dbus.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 10 test -s "$E2E_TMP/bus" || fail "dbus-daemon did not start"
    export DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_TMP/bus")
}

# An XEmbed tray host along the top edge, icons at the right.
start_tray() {
    trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
        --transparent false >>"$E2E_TMP/trayer.log" 2>&1 &
    TRAYER_PID=$!
    E2E_PIDS+=("$TRAYER_PID")
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

process_ended() { ! kill -0 "$1" 2>/dev/null; }

# ends_cleanly WHAT: Pulsewick ends within 10 s with status 0.
ends_cleanly() {
    wait_until 10 process_ended "$PULSEWICK_PID" || fail "$1 did not end the program"
    local status=0
    wait "$PULSEWICK_PID" || status=$?
    [ "$status" -eq 0 ] || fail "pulsewick exited with $status after $1"
}

# The first window whose name matches the regex: any, or only viewable ones.
# (A search has been seen to hang for minutes: bounded, it is just retried.)
window_named() { timeout 5 xdotool search --name "$1" 2>/dev/null | head -n1 | grep .; }
visible_window_named() { timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 | grep .; }
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

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
readout_shown() { visible_window_named '^Pulsewick Readout$' >/dev/null; }
readout_gone() { ! readout_shown; }

# The popup is on screen at 320 x 620, inside the 1280 x 800 screen.
check_popup_geometry() {
    local x y w h
    read -r x y w h < <(geometry "$(popup_window)")
    [ "$w" -eq 320 ] && [ "$h" -eq 620 ] || fail "popup is ${w}x${h}, not 320x620"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 800 ] ||
        fail "popup at $x,$y leaves the screen"
}

# A window manager, for the work area: it keeps panels' struts out of
# _NET_WORKAREA, which is what Qt calls a screen's available geometry.
start_wm() {
    openbox --sm-disable >"$E2E_TMP/wm.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 10 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        fail "openbox did not start"
}

# The work area of the first desktop: "X Y WIDTH HEIGHT".
work_area() {
    xprop -root _NET_WORKAREA | sed -n 's/.*= \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\).*/\1 \2 \3 \4/p'
}

# start_xfce_panel: an XFCE panel in its stock dark style with only a systray
# (StatusNotifierItem and XEmbed) at the right end of the top edge. Its
# settings come from a private xfconf store.
start_xfce_panel() {
    local store="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
    mkdir -p "$store"
    sed "s/@POSITION@/6/" "$(dirname "${BASH_SOURCE[0]}")/xfce4-panel.xml" >"$store/xfce4-panel.xml"
    xfce4-panel --disable-wm-check >"$E2E_TMP/panel.log" 2>&1 &
    XFCE_PANEL_PID=$!
    E2E_PIDS+=("$XFCE_PANEL_PID")
}

watcher_up() {
    "${E2E_RUN[@]}" dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null |
        grep -q true
}

# dbus_call SERVICE PATH INTERFACE.METHOD ARGS...: prints the reply.
dbus_call() {
    local service=$1 path=$2 method=$3
    shift 3
    "${E2E_RUN[@]}" dbus-send --session --print-reply --dest="$service" "$path" "$method" "$@"
}

# The bus name of our item once it is registered with the watcher (an entry is
# a bus name or service name, maybe followed by its object path).
sni_service() {
    dbus_call org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null |
        sed -n 's/^ *string "\(.*\)"$/\1/p' | grep -m1 -E 'StatusNotifierItem-[0-9]+|^:' | cut -d/ -f1
}

# sni_menu_click SERVICE LABEL: chooses the entry of the item's published menu
# as a host does when it is clicked.
sni_menu_click() {
    local id path
    path=$(dbus_call "$1" /StatusNotifierItem org.freedesktop.DBus.Properties.Get \
        string:org.kde.StatusNotifierItem string:Menu | sed -n 's/.*object path "\(.*\)".*/\1/p')
    [ -n "$path" ] && [ "$path" != /NO_DBUSMENU ] || return 1
    id=$(dbus_call "$1" "$path" com.canonical.dbusmenu.GetLayout int32:0 int32:-1 array:string: |
        awk -v label="string \"$2\"" '/^ *int32 / {id = $2} index($0, label) {print id}')
    [ -n "$id" ] || return 1
    dbus_call "$1" "$path" com.canonical.dbusmenu.Event int32:"$id" string:clicked \
        variant:string: uint32:0 >/dev/null
}
