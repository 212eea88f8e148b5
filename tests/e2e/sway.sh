#!/usr/bin/env bash
# Under sway (Wayland) with swaybar as the tray host: the entry registers as a
# StatusNotifierItem, and neither a right click (the bar asks the item for its
# menu) nor a left click (the popup) ever gives our window a tile of its own.
# sway will not run as root, so as root the session runs as a system user of
# its own.
# Usage: [E2E_FIXTURE=DIR] sway.sh PATH-TO-PULSEWICK [SCREENSHOT.png]
# E2E_FIXTURE makes the program read a fixture machine (scripts/screenshots.sh).
PULSEWICK=$1
SHOT=${2:-}
source "$(dirname "$0")/lib.sh"
need sway swaymsg dbus-daemon dbus-send setpriv python3

user_dir=$E2E_TMP/wayland
mkdir -p "$user_dir"
if [ "$(id -u)" -eq 0 ]; then
    account=pulsewick-e2e
    if ! id "$account" >/dev/null 2>&1; then
        need useradd
        useradd --system --no-create-home --shell /usr/sbin/nologin "$account" ||
            fail "could not create the user $account"
    fi
    E2E_RUN=(setpriv --reuid="$(id -u "$account")" --regid="$(id -g "$account")" --clear-groups)
    chmod 711 "$E2E_TMP"
    chown "$account:" "$user_dir"
fi
# Started straight from the shell (not through a function) so that $! is the
# process itself: setpriv and env each replace themselves with the next.
as_user=("${E2E_RUN[@]}" env HOME="$user_dir/home" XDG_RUNTIME_DIR="$user_dir/run"
    XDG_CONFIG_HOME="$user_dir/config")
run() { "${as_user[@]}" "$@"; }
run mkdir -p "$user_dir/home" "$user_dir/config"
run mkdir -m 700 "$user_dir/run"
# The program itself (and the fixture), where that user can read them.
cp "$PULSEWICK" "$E2E_TMP/pulsewick"
chmod 755 "$E2E_TMP/pulsewick"
fixture_args=()
if [ -n "${E2E_FIXTURE:-}" ]; then
    cp -r "$E2E_FIXTURE" "$E2E_TMP/fixture"
    chmod -R a+rX "$E2E_TMP/fixture"
    fixture_args=(--root "$E2E_TMP/fixture")
fi

"${as_user[@]}" dbus-daemon --session --nofork --print-address=3 3>"$E2E_TMP/bus" >"$E2E_TMP/dbus.log" 2>&1 &
E2E_PIDS+=($!)
wait_until 10 test -s "$E2E_TMP/bus" || fail "dbus-daemon did not start"
unset DISPLAY
export DBUS_SESSION_BUS_ADDRESS
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_TMP/bus")
printf 'output HEADLESS-1 resolution 1280x800\nbar {\n    position top\n    font monospace 10\n}\n' \
    >"$E2E_TMP/sway.conf"
chmod 644 "$E2E_TMP/sway.conf"
"${as_user[@]}" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$E2E_TMP/sway.conf" >"$E2E_TMP/sway.log" 2>&1 &
E2E_PIDS+=($!)
socket() { ls "$user_dir"/run/sway-ipc.*.sock 2>/dev/null | head -n1 | grep .; }
wait_until 15 socket >/dev/null || fail "sway did not start"
swaymsg() { run env SWAYSOCK="$(socket)" swaymsg "$@"; }
wayland=$(cd "$user_dir/run" && ls wayland-* | grep -v lock | head -n1)
wait_until 15 watcher_up || fail "swaybar did not start its StatusNotifierItem watcher"

"${as_user[@]}" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" WAYLAND_DISPLAY="$wayland" \
    QT_QPA_PLATFORM=wayland "$E2E_TMP/pulsewick" --latency-host 127.0.0.1 "${fixture_args[@]}" \
    >"$E2E_TMP/app.log" 2>&1 &
PULSEWICK_PID=$!
E2E_PIDS+=("$PULSEWICK_PID")
wait_until 15 sni_service >/dev/null || fail "no item registered with swaybar's watcher"
service=$(sni_service)

# Our windows in sway's tree: "tiled" or "floating" and the title, one per line.
our_windows() {
    swaymsg -t get_tree | python3 -c '
import json, sys
pid = int(sys.argv[1])
def walk(node, floating):
    if node.get("pid") == pid and node.get("type") in ("con", "floating_con"):
        print("floating" if floating else "tiled", node.get("name"))
    for child in node.get("nodes", []):
        walk(child, floating)
    for child in node.get("floating_nodes", []):
        walk(child, True)
walk(json.load(sys.stdin), False)' "$PULSEWICK_PID"
}
# (grep reads to the end: with pipefail an early exit would fail the pipe.)
no_tiles() { ! our_windows | grep '^tiled' >/dev/null; }
has_window() { our_windows | grep -- "$1" >/dev/null; }
no_menu() { ! has_window 'Pulsewick Menu'; }
sleep 1
no_tiles || fail "a window of ours is tiled at start: $(our_windows)"
has_window 'Pulsewick Readout' && fail "a floating readout beside the tray icon"

# What swaybar does on a right click, then on a left click.
dbus_call "$service" /StatusNotifierItem org.kde.StatusNotifierItem.ContextMenu \
    int32:1270 int32:10 >/dev/null || fail "ContextMenu call failed"
wait_until 5 has_window 'Pulsewick Menu' || fail "no menu after a right click: $(our_windows)"
sleep 0.5
no_tiles || fail "the menu took a tile: $(our_windows)"
has_window 'Pulsewick Popup' && fail "a right click opened the popup"
swaymsg '[title="^Pulsewick Menu$"] kill' >/dev/null
wait_until 5 no_menu || fail "the menu did not close"
dbus_call "$service" /StatusNotifierItem org.kde.StatusNotifierItem.Activate \
    int32:1270 int32:10 >/dev/null || fail "Activate call failed"
wait_until 5 has_window 'Pulsewick Popup' || fail "no popup after a left click: $(our_windows)"
sleep 0.5
no_tiles || fail "the popup took a tile: $(our_windows)"
if [ -n "$SHOT" ]; then
    sleep 2 # the popup draws its first figures
    run env WAYLAND_DISPLAY="$wayland" grim "$user_dir/shot.png" && cp "$user_dir/shot.png" "$SHOT" ||
        echo "no screenshot: grim failed" >&2
fi

sni_menu_click "$service" "Quit Pulsewick" || fail "could not choose Quit in the published menu"
wait_until 10 process_ended "$PULSEWICK_PID" || fail "Quit in the published menu did not end the program"
echo "PASS sway"
