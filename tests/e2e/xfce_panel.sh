#!/usr/bin/env bash
# On the XFCE panel (its systray hosts StatusNotifierItems, dark by default):
# the entry registers as an item whose published menu holds "Settings..." and
# "Quit Pulsewick", choosing Quit there ends the program, the figures read on
# the dark panel (measured in a screenshot), a click on the icon opens the
# popup under it, and the entry follows the panel as it goes and comes back.
# Usage: xfce_panel.sh PATH-TO-PULSEWICK PATH-TO-TRAY_CONTRAST FIXTURE-DIR
PULSEWICK=$1
CONTRAST=$2
FIXTURE=$3
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon dbus-send xfce4-panel openbox xdotool xwininfo xprop import python3

start_session
start_wm
start_xfce_panel top
wait_until 15 watcher_up || fail "the panel did not start its StatusNotifierItem watcher"
start_pulsewick app --root "$FIXTURE"
wait_until 15 sni_service >/dev/null || fail "no item registered with the watcher"
service=$(sni_service)
echo "registered as $service"
readout_gone || fail "a floating readout stays beside the tray icon"

entries=$(sni_menu_entries "$service") || fail "the item publishes no menu"
echo "$entries"
grep -q ' Settings\.\.\.$' <<<"$entries" || fail "no \"Settings...\" in the published menu"
grep -q ' Quit Pulsewick$' <<<"$entries" || fail "no \"Quit Pulsewick\" in the published menu"

# The icon as the panel shows it: the figures against what surrounds them.
read -r cpu temperature < <("$PULSEWICK" --json --samples 1 --root "$FIXTURE" \
    --latency-host 127.0.0.1 2>/dev/null | python3 -c '
import json, sys
d = json.loads(sys.stdin.readline())
print(d["cpuUsage"], d["socTemperature"])')
sleep 2 # the panel draws the latest icon
import -window root "$E2E_TMP/panel.png"
found=$("$CONTRAST" "$E2E_TMP/panel.png" 1000 0 280 40 "$cpu" "$temperature") ||
    fail "figures not legible on the dark panel: $found"
echo "$found"

# A left click on the icon: the popup, under it and inside the work area.
read -r ix iy iside < <(sed -n 's/.* \([0-9]*\) px at \([0-9]*\),\([0-9]*\) .*/\2 \3 \1/p' <<<"$found")
xdotool mousemove $((ix + iside / 2)) $((iy + iside / 2)) sleep 0.2 click 1
wait_until 5 popup_shown || fail "a left click on the icon did not open the popup"
read -r px py pw ph < <(geometry "$(popup_window)")
read -r ax ay aw ah < <(work_area)
echo "popup at $px,$py ${pw}x${ph}; work area $ax,$ay ${aw}x${ah}; icon at $ix,$iy"
[ "$py" -ge $((iy + iside)) ] && [ "$px" -ge "$ax" ] && [ "$py" -ge "$ay" ] &&
    [ $((px + pw)) -le $((ax + aw)) ] && [ $((py + ph)) -le $((ay + ah)) ] ||
    fail "the popup is not under the icon inside the work area"
menu_gone || fail "a left click showed a menu"
xdotool key Escape
wait_until 5 popup_gone || fail "Escape did not close the popup"

# A right click is the panel's business (it draws the published menu): no popup.
xdotool mousemove $((ix + iside / 2)) $((iy + iside / 2)) sleep 0.2 click 3
sleep 1
popup_gone || fail "a right click opened the popup"
xdotool key Escape

# "Quit Pulsewick" chosen in the panel's menu.
sni_menu_click "$service" "Quit Pulsewick" || fail "could not choose Quit in the published menu"
wait_until 10 process_ended "$PULSEWICK_PID" || fail "Quit in the published menu did not end the program"
wait "$PULSEWICK_PID" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "pulsewick exited with $status after Quit"

# Started before the panel, as at login: the readout, then the icon once the
# panel is up, and the readout again when the panel goes.
kill "$XFCE_PANEL_PID"
wait_until 10 bash -c '! kill -0 '"$XFCE_PANEL_PID"' 2>/dev/null' || fail "the panel did not stop"
wait_until 10 bash -c '! dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher | grep -q true' ||
    fail "the watcher stayed after the panel"
start_pulsewick early --root "$FIXTURE"
wait_until 15 readout_shown || fail "no floating readout without a tray"
start_xfce_panel top
started=$SECONDS
wait_until 10 sni_service >/dev/null || fail "no tray icon within 10 s of the panel starting"
wait_until $((10 - (SECONDS - started) > 1 ? 10 - (SECONDS - started) : 1)) readout_gone ||
    fail "the floating readout remains beside the tray icon"
echo "tray icon $((SECONDS - started)) s after the panel started"
kill "$XFCE_PANEL_PID"
wait_until 10 readout_shown || fail "the readout did not come back when the panel went"
kill -0 "$PULSEWICK_PID" || fail "pulsewick ended with the panel"
echo "PASS xfce_panel"
