#!/usr/bin/env bash
# With a real XEmbed tray host: the icon docks showing the readout (and docks
# again when the tray restarts), a left click opens the popup
# under the tray and a second one closes it, a right click shows only the menu,
# another X client taking focus closes the popup, and "q" in the menu quits.
# (Escape, the click after the menu and the menu's entries: test_app_shell.)
# Usage: tray_popup.sh PATH-TO-PULSEWICK
PULSEWICK=$1
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon trayer xdotool xwininfo xmessage import identify

# docked: the panel has grown around the icon, and the icon shows the readout
# (its backing, figures and line give many colours; an empty slot has one).
docked() {
    icon=$(window_named '^panel$') &&
        xwininfo -id "$icon" | awk '/Width:/ {exit !($2 >= 16)}' &&
        [ "$(import -window "$icon" png:- 2>/dev/null | identify -format '%k' -)" -gt 8 ]
}

start_session
start_tray
start_pulsewick app
wait_until 15 docked || fail "no readout docked in the tray"

# The icon docks itself, so a tray that restarts must get it back.
kill "$TRAYER_PID"
wait "$TRAYER_PID" 2>/dev/null || true
start_tray
wait_until 15 docked || fail "the icon did not dock again in the restarted tray"

click_center "$icon" 1
wait_until 5 popup_shown || fail "left click did not open the popup"
check_popup_geometry
read -r _ py _ _ < <(geometry "$(popup_window)")
read -r _ iy _ ih < <(geometry "$icon")
[ "$py" -ge $((iy + ih)) ] || fail "popup at y=$py is not under the tray (bottom $((iy + ih)))"
menu_gone || fail "a left click showed the menu"
click_center "$icon" 1
wait_until 5 popup_gone || fail "second left click did not close the popup"

click_center "$icon" 3
wait_until 5 menu_shown || fail "right click did not show the menu"
sleep 0.5
popup_gone || fail "a right click opened the popup"
xdotool key Escape
wait_until 5 menu_gone || fail "Escape did not close the menu"

# The X server's focus going to another client is what deactivates us.
click_center "$icon" 1
wait_until 5 popup_shown || fail "popup did not reopen"
xmessage -geometry +40+400 "another application" >"$E2E_TMP/xmessage.log" 2>&1 &
E2E_PIDS+=($!)
wait_until 5 visible_window_named '^xmessage$' >/dev/null || fail "xmessage did not appear"
sleep 0.3
popup_shown || fail "the popup closed before the other application was active"
xdotool windowfocus "$(visible_window_named '^xmessage$')"
wait_until 5 popup_gone || fail "the popup stayed open when another application became active"

click_center "$icon" 3
wait_until 5 menu_shown || fail "right click did not show the menu"
xdotool key q
ends_cleanly "q in the menu"
echo "PASS tray_popup"
