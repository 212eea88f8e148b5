#!/usr/bin/env bash
# A small laptop screen: 1366 x 768 at 125 % (QT_SCALE_FACTOR=1.25) with the
# panel at the bottom. The popup opened from the tray icon lies wholly inside
# the work area the window manager leaves beside the panel (its content
# scrolls instead), and so does the dashboard window.
# Usage: work_area.sh PATH-TO-PULSEWICK PATH-TO-TRAY_CONTRAST FIXTURE-DIR
PULSEWICK=$1
CONTRAST=$2
FIXTURE=$3
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon dbus-send xfce4-panel openbox xdotool xwininfo xprop import python3

E2E_SCREEN=1366x768
start_session
start_wm
start_xfce_panel bottom
wait_until 15 watcher_up || fail "the panel did not start its StatusNotifierItem watcher"
has_work_area() { read -r _ _ _ h < <(work_area) && [ "${h:-768}" -lt 768 ]; }
wait_until 10 has_work_area || fail "the window manager did not leave the panel out of the work area"
read -r ax ay aw ah < <(work_area)
echo "work area $ax,$ay ${aw}x${ah}"

QT_SCALE_FACTOR=1.25 start_pulsewick app --root "$FIXTURE"
wait_until 15 sni_service >/dev/null || fail "no item registered with the watcher"
sleep 2
import -window root "$E2E_TMP/screen.png"
found=$("$CONTRAST" "$E2E_TMP/screen.png" 1000 738 366 30 0 0 || true)
read -r ix iy iside < <(sed -n 's/.* \([0-9]*\) px at \([0-9]*\),\([0-9]*\) .*/\2 \3 \1/p' <<<"$found")
[ -n "$ix" ] || fail "tray icon not found in the bottom panel: $found"

inside_work_area() { # X Y W H
    [ "$1" -ge "$ax" ] && [ "$2" -ge "$ay" ] && [ $(($1 + $3)) -le $((ax + aw)) ] &&
        [ $(($2 + $4)) -le $((ay + ah)) ]
}
xdotool mousemove $((ix + iside / 2)) $((iy + iside / 2)) sleep 0.2 click 1
wait_until 5 popup_shown || fail "a left click on the icon did not open the popup"
sleep 0.5
read -r px py pw ph < <(geometry "$(popup_window)")
echo "popup at $px,$py ${pw}x${ph}"
inside_work_area "$px" "$py" "$pw" "$ph" || fail "the popup leaves the work area"
[ "$ph" -lt 775 ] || fail "the popup was not cut to the screen"

xdotool key Escape
"$PULSEWICK" --latency-host 127.0.0.1 --dashboard Sensors >"$E2E_TMP/request.log" 2>&1 ||
    fail "--dashboard exited with $?"
wait_until 10 visible_window_named '^Pulsewick Dashboard$' >/dev/null || fail "no dashboard window"
sleep 1
window=$(visible_window_named '^Pulsewick Dashboard$')
read -r dx dy dw dh < <(geometry "$window")
echo "dashboard at $dx,$dy ${dw}x${dh}"
inside_work_area "$dx" "$dy" "$dw" "$dh" || fail "the dashboard window leaves the work area"
echo "PASS work_area"
