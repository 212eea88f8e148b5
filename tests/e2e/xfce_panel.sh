#!/usr/bin/env bash
# On the XFCE panel (its systray hosts StatusNotifierItems, dark by default) of
# a small 1366 x 768 laptop screen under a window manager: the entry registers
# as an item, its figures read on the dark panel (measured in a screenshot), a
# left click opens the popup under the icon inside the work area, a right click
# does not, and Quit in the published menu ends the program. Then, started
# before the panel at 125 % with the panel at the bottom: the readout gives way
# to the icon, the popup and the dashboard fit the work area (the popup's
# content scrolls), and the readout comes back when the panel goes.
# (Placement rules: test_window_placement; the item's protocol: test_status_notifier.)
# Usage: xfce_panel.sh PATH-TO-PULSEWICK PATH-TO-TRAY_CONTRAST FIXTURE-DIR
PULSEWICK=$1
CONTRAST=$2
FIXTURE=$3
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon dbus-send xfce4-panel xfconf-query openbox xdotool xwininfo xprop import python3

read -r cpu temperature < <("$PULSEWICK" --json --samples 1 --root "$FIXTURE" \
    --latency-host 127.0.0.1 2>/dev/null | python3 -c '
import json, sys
d = json.loads(sys.stdin.readline())
print(d["cpuUsage"], d["socTemperature"])')
# find_icon Y: looks for the icon in the 40 px band from Y at the right end;
# sets ix, iy, iside and found; fails when the figures are not legible.
find_icon() {
    sleep 2 # the panel draws the latest icon
    import -window root "$E2E_TMP/screen.png"
    found=$("$CONTRAST" "$E2E_TMP/screen.png" 1000 "$1" 366 40 "$cpu" "$temperature") ||
        fail "figures not legible on the dark panel: $found"
    read -r iside ix iy < <(sed -n 's/.* \([0-9]*\) px at \([0-9]*\),\([0-9]*\) .*/\1 \2 \3/p' <<<"$found")
}
click_icon() { xdotool mousemove $((ix + iside / 2)) $((iy + iside / 2)) sleep 0.2 click "$1"; }
# inside_work_area ID: the window lies wholly inside the work area.
inside_work_area() {
    read -r ax ay aw ah < <(work_area)
    read -r x y w h < <(geometry "$1")
    echo "window at $x,$y ${w}x${h}; work area $ax,$ay ${aw}x${ah}"
    [ "$x" -ge "$ax" ] && [ "$y" -ge "$ay" ] && [ $((x + w)) -le $((ax + aw)) ] &&
        [ $((y + h)) -le $((ay + ah)) ]
}

E2E_SCREEN=1366x768
start_session
start_wm
start_xfce_panel
wait_until 15 watcher_up || fail "the panel did not start its StatusNotifierItem watcher"
start_pulsewick app --root "$FIXTURE"
wait_until 15 sni_service >/dev/null || fail "no item registered with the watcher"
service=$(sni_service)
readout_gone || fail "a floating readout stays beside the tray icon"
find_icon 0
echo "$found"

click_icon 1
wait_until 5 popup_shown || fail "a left click on the icon did not open the popup"
inside_work_area "$(popup_window)" || fail "the popup leaves the work area"
[ "$y" -ge $((iy + iside)) ] || fail "the popup is not under the icon"
menu_gone || fail "a left click showed a menu"
xdotool key Escape
wait_until 5 popup_gone || fail "Escape did not close the popup"
# A right click is the panel's business (it draws the published menu): no popup.
click_icon 3
sleep 1
popup_gone || fail "a right click opened the popup"
xdotool key Escape
sni_menu_click "$service" "Quit Pulsewick" || fail "could not choose Quit in the published menu"
ends_cleanly "Quit in the published menu"

# As at login: the program first, then the panel, now at the bottom.
kill "$XFCE_PANEL_PID"
wait_until 10 process_ended "$XFCE_PANEL_PID" || fail "the panel did not stop"
watcher_gone() { ! watcher_up; }
wait_until 10 watcher_gone || fail "the watcher stayed after the panel"
xfconf-query -c xfce4-panel -p /panels/panel-1/position -s 'p=8;x=0;y=0' ||
    fail "could not move the panel to the bottom"
QT_SCALE_FACTOR=1.25 start_pulsewick early --root "$FIXTURE"
wait_until 15 readout_shown || fail "no floating readout without a tray"
start_xfce_panel
started=$SECONDS
wait_until 10 sni_service >/dev/null || fail "no tray icon within 10 s of the panel starting"
wait_until $((started + 10 > SECONDS ? started + 10 - SECONDS : 1)) readout_gone ||
    fail "the floating readout remains beside the tray icon"
echo "tray icon $((SECONDS - started)) s after the panel started"
has_work_area() { read -r _ _ _ h < <(work_area) && [ "${h:-768}" -lt 768 ]; }
wait_until 10 has_work_area || fail "the window manager did not leave the panel out of the work area"
find_icon 728
click_icon 1
wait_until 5 popup_shown || fail "a left click on the bottom icon did not open the popup"
sleep 0.5
inside_work_area "$(popup_window)" || fail "the popup leaves the work area"
[ "$h" -lt 775 ] || fail "the popup was not cut to the screen"
xdotool key Escape
"$PULSEWICK" --latency-host 127.0.0.1 --dashboard Sensors >"$E2E_TMP/request.log" 2>&1 ||
    fail "--dashboard exited with $?"
wait_until 10 visible_window_named '^Pulsewick Dashboard$' >/dev/null || fail "no dashboard window"
sleep 1
inside_work_area "$(visible_window_named '^Pulsewick Dashboard$')" ||
    fail "the dashboard window leaves the work area"

kill "$XFCE_PANEL_PID"
wait_until 10 readout_shown || fail "the readout did not come back when the panel went"
kill -0 "$PULSEWICK_PID" || fail "pulsewick ended with the panel"
echo "PASS xfce_panel"
