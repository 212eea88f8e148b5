#!/usr/bin/env bash
# With a real XEmbed tray host: a left click on the icon opens the 320 x 620
# popup and a second one closes it; a right click shows only the menu; another
# application taking focus closes the popup; "q" in the menu quits.
# Usage: tray_popup.sh PATH-TO-PULSEWICK
PULSEWICK=$1
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon trayer xdotool xwininfo xmessage

start_session
start_tray
start_pulsewick app
icon=$(window_named '^panel$')
# Docked once the panel has grown around the icon.
wait_until 15 bash -c "xwininfo -id $icon | awk '/Width:/ {exit !(\$2 >= 16)}'" ||
    fail "no icon docked in the tray"
sleep 1 # the first readout image

click_center "$icon" 1
wait_until 5 popup_shown || fail "left click did not open the popup"
check_popup_geometry
read -r px py _ _ < <(geometry "$(popup_window)")
read -r ix iy iw ih < <(geometry "$icon")
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

# After the menu, a left click opens the popup again.
click_center "$icon" 1
wait_until 5 popup_shown || fail "left click after the menu did not open the popup"
# Escape in the popup closes it.
xdotool key Escape
wait_until 5 popup_gone || fail "Escape did not close the popup"

# Another application becomes active: the popup goes.
click_center "$icon" 1
wait_until 5 popup_shown || fail "popup did not reopen"
xmessage -geometry +40+400 "another application" >"$E2E_TMP/xmessage.log" 2>&1 &
E2E_PIDS+=($!)
wait_until 5 visible_window_named '^xmessage$' >/dev/null || fail "xmessage did not appear"
sleep 0.3
popup_shown || fail "the popup closed before the other application was active"
xdotool windowfocus "$(visible_window_named '^xmessage$')"
wait_until 5 popup_gone || fail "the popup stayed open when another application became active"

# "q" in the menu ends the program, cleanly.
click_center "$icon" 3
wait_until 5 menu_shown || fail "right click did not show the menu"
xdotool key q
wait_until 10 process_ended "$PULSEWICK_PID" || fail "q in the menu did not quit"
wait "$PULSEWICK_PID" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "pulsewick exited with $status after Quit"
echo "PASS tray_popup"
