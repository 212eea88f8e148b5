#!/usr/bin/env bash
# Makes the README's pictures: runs Pulsewick on a private X server and session
# bus, reading a fixture machine instead of this one, and saves PNGs under
# docs/: the floating readout, each popup tab, the dashboard pages, then the
# readout in a real panel: XFCE's (dark, as it ships) and swaybar under sway.
# Rerunning it replaces them. Needs Xvfb, xdotool, dbus, ImageMagick's
# `import`, xfce4-panel, sway and grim; as root it installs whichever is missing.
# Exits non-zero when any picture cannot be made or comes out blank (CI runs
# it for that reason).
# Usage: [PULSEWICK_BIN=path] scripts/screenshots.sh [OUTPUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs}
fixture=tests/fixtures/intel-hybrid-laptop

need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdotool >/dev/null || need+=(xdotool)
command -v dbus-daemon >/dev/null || need+=(dbus-daemon)
command -v import >/dev/null || need+=(imagemagick)
command -v xfce4-panel >/dev/null || need+=(xfce4-panel)
command -v openbox >/dev/null || need+=(openbox)
command -v sway >/dev/null || need+=(sway qt6-wayland)
command -v grim >/dev/null || need+=(grim)
if [ ${#need[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "screenshots.sh needs: sudo apt-get install -y ${need[*]}" >&2
        exit 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${need[@]}"
fi

# PULSEWICK_BIN names an already built binary; otherwise the release build is made.
bin=${PULSEWICK_BIN:-}
if [ -z "$bin" ]; then
    scripts/deps.sh build
    cmake --preset release >/dev/null
    cmake --build --preset release --target pulsewick
    bin=$PWD/build/release/src/app/pulsewick
fi
[ -d "$fixture" ] || { echo "missing fixture $fixture" >&2; exit 1; }
mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
    # Only what this script started, newest first.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

# A private session bus and home, so neither the user's desktop nor their
# stored preferences take part (services the bus starts, such as the panel's
# settings store, get the same home).
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$work/bus"
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$work/bus")
pids+=("$(sed -n 2p "$work/bus")")
export QT_QPA_PLATFORM=xcb

"$bin" --root "$fixture" --latency-host 127.0.0.1 >"$work/app.log" 2>&1 &
pids+=($!)

# Waits for a window whose title is exactly $1 and prints its id.
window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "no window titled '$1'" >&2
    cat "$work/app.log" >&2
    return 1
}

shot() { # window-id file
    sleep 0.6 # let the window draw its current figures
    rm -f "$out/$2"
    import -window "$1" "$out/$2"
    # A window that never drew is one flat colour: that is no picture.
    local spread
    spread=$(convert "$out/$2" -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
    if [ ! -s "$out/$2" ] || awk -v s="$spread" 'BEGIN { exit !(s == 0) }'; then
        echo "could not make $out/$2" >&2
        cat "$work/app.log" >&2
        exit 1
    fi
    echo "wrote $out/$2"
}

# Moves the pointer over a point of a window, then clicks: buttons want to see
# the pointer arrive before the press.
press() { # window-id x y
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.2
    xdotool click 1
}

readout=$(window "Pulsewick Readout")
sleep 4 # a few cycles, so the sparkline and rates have figures
shot "$readout" tray-readout.png

press "$readout" 20 11
popup=$(window "Pulsewick Popup")
shot "$popup" popup-cpu.png

# The tab buttons sit in the tray at the bottom, 44 points apart from x = 36;
# the tray is taller when it lists applications. Find the row by the selected
# CPU button's backdrop (it differs from the gap beside it) instead of
# clicking blindly, which could start an application.
pixel() { convert "$out/popup-cpu.png" -format "%[pixel:p{$1,$2}]" info:; }
eval "$(xdotool getwindowgeometry --shell "$popup")"
tab_y=
first=
for ((y = HEIGHT - 90; y < HEIGHT - 8; y += 2)); do
    if [ "$(pixel 24 "$y")" != "$(pixel 58 "$y")" ]; then
        [ -n "$first" ] || first=$y
        last=$y
    elif [ -n "$first" ]; then
        break
    fi
done
[ -n "$first" ] && tab_y=$(((first + last) / 2))
if [ -z "$tab_y" ]; then
    echo "popup tab row not found: the other tabs cannot be captured" >&2
    exit 1
else
    i=1
    for tab in network disk memory; do
        press "$popup" $((36 + 44 * i)) "$tab_y"
        shot "$popup" "popup-$tab.png"
        i=$((i + 1))
    done
    press "$popup" 36 "$tab_y"
fi

previous=
for page in Sensors Memory Power Network Settings Alerts History Disk Fans; do
    "$bin" --dashboard "$page" --root "$fixture" --latency-host 127.0.0.1 >>"$work/app.log" 2>&1
    # The running instance replaces its dashboard window; wait for the new one.
    for _ in $(seq 50); do
        id=$(window "Pulsewick Dashboard")
        [ "$id" != "$previous" ] && break
        sleep 0.1
    done
    [ -n "$id" ] && [ "$id" != "$previous" ] || { echo "no new dashboard for $page" >&2; exit 1; }
    previous=$id
    # Connections are read on their own thread and come with the next cycle,
    # up to a second after the page shows.
    [ "$page" = Network ] && sleep 1.2
    shot "$id" "dashboard-$(echo "$page" | tr '[:upper:]' '[:lower:]').png"
done

# The last dashboard window would stand behind the popup.
xdotool windowunmap "$id"

# The tray appears: the floating readout gives way to an icon in a dark XFCE
# panel; a click on it opens the popup under it.
# A window manager keeps the panel out of the work area, as on any desktop.
openbox --sm-disable >"$work/wm.log" 2>&1 &
pids+=($!)
store=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml
mkdir -p "$store"
sed "s/@POSITION@/6/" tests/e2e/xfce4-panel.xml >"$store/xfce4-panel.xml"
xfce4-panel --disable-wm-check >"$work/panel.log" 2>&1 &
pids+=($!)
for _ in $(seq 150); do
    xdotool search --onlyvisible --name '^Pulsewick Readout$' >/dev/null 2>&1 || break
    sleep 0.1
done
sleep 3 # the panel lays out and draws the icon
# The panel holds only the systray, at its right end: the icon is the last
# 22-pixel square of the 26-pixel panel.
icon_x=$((1280 - 13))
xdotool mousemove "$icon_x" 13 sleep 0.3 click 1
popup=$(window "Pulsewick Popup")
sleep 1
import -window root "$work/screen.png"
convert "$work/screen.png" -crop 520x680+760+0 +repage "$out/xfce-panel.png"
echo "wrote $out/xfce-panel.png"
convert "$work/screen.png" -crop 60x27+1220+0 +repage -scale 400% "$out/xfce-tray-icon.png"
echo "wrote $out/xfce-tray-icon.png"

# sway with swaybar, through the end-to-end script (it runs sway as a user of
# its own when started as root) on the same fixture machine.
E2E_FIXTURE=$PWD/$fixture tests/e2e/sway.sh "$bin" "$work/sway.png" >"$work/sway.log" 2>&1 ||
    { cat "$work/sway.log" >&2; exit 1; }
cp "$work/sway.png" "$out/sway.png"
convert "$work/sway.png" -crop 60x24+1220+0 +repage -scale 400% "$out/sway-tray-icon.png"
echo "wrote $out/sway.png and $out/sway-tray-icon.png"
