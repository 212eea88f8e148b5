#!/usr/bin/env bash
# Without a tray host: the entry is a frameless 70 x 22 readout window with
# the same clicks, which can be dragged and keeps its place across launches.
# Usage: no_tray.sh PATH-TO-PULSEWICK
PULSEWICK=$1
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon xdotool xwininfo xprop

start_session
start_pulsewick app
wait_until 15 visible_window_named '^Pulsewick Readout$' >/dev/null ||
    fail "no readout window without a tray"
readout=$(visible_window_named '^Pulsewick Readout$')
read -r rx ry rw rh < <(geometry "$readout")
[ "$rw" -eq 70 ] && [ "$rh" -eq 22 ] || fail "readout is ${rw}x${rh}, not 70x22"
echo "readout at $rx,$ry"
# One readout for the whole desktop: every workspace, no taskbar or pager entry.
states=$(xprop -id "$readout" _NET_WM_STATE)
grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$states" && grep -q _NET_WM_STATE_SKIP_PAGER <<<"$states" ||
    fail "the readout is listed in taskbars or pagers: $states"
xprop -id "$readout" _NET_WM_DESKTOP | grep -q '= 4294967295' ||
    fail "the readout is not on every workspace: $(xprop -id "$readout" _NET_WM_DESKTOP)"

click_center "$readout" 1
wait_until 5 popup_shown || fail "left click on the readout did not open the popup"
check_popup_geometry
xprop -id "$(popup_window)" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    fail "the popup has a taskbar entry"
click_center "$readout" 1
wait_until 5 popup_gone || fail "second left click did not close the popup"

click_center "$readout" 3
wait_until 5 menu_shown || fail "right click on the readout did not show the menu"
sleep 0.3
popup_gone || fail "a right click opened the popup"
xdotool key Escape
wait_until 5 menu_gone || fail "Escape did not close the menu"

# Drag it to the lower left.
xdotool mousemove $((rx + 35)) $((ry + 11)) sleep 0.1 mousedown 1
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((rx + 35 - step * 100)) $((ry + 11 + step * 60)) sleep 0.05
done
xdotool mouseup 1
moved() {
    read -r dx dy _ _ < <(geometry "$readout")
    [ "$dx" -ne "$rx" ] || [ "$dy" -ne "$ry" ]
}
wait_until 5 moved || fail "dragging did not move the readout"
sleep 0.3 # settled
read -r dx dy _ _ < <(geometry "$readout")
echo "dragged to $dx,$dy"
popup_gone || fail "a drag opened the popup"

# Quit from the menu and start again: same place.
click_center "$readout" 3
wait_until 5 menu_shown || fail "right click did not show the menu"
xdotool key q
wait_until 10 process_ended "$PULSEWICK_PID" || fail "q in the menu did not quit"
start_pulsewick second
wait_until 15 visible_window_named '^Pulsewick Readout$' >/dev/null ||
    fail "no readout window on the second launch"
read -r nx ny _ _ < <(geometry "$(visible_window_named '^Pulsewick Readout$')")
[ "$nx" -eq "$dx" ] && [ "$ny" -eq "$dy" ] ||
    fail "readout came back at $nx,$ny instead of $dx,$dy"
echo "PASS no_tray"
