#!/usr/bin/env bash
# Installs the Debian packages Pulsewick needs when any is missing.
# Usage: scripts/deps.sh build|package|test
# As root it runs apt-get; otherwise it prints the exact command and fails.
set -euo pipefail

build_pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev
    libxcb1-dev libqt6sql6-sqlite libsqlite3-dev libbenchmark-dev adwaita-icon-theme)
# Real tray hosts (XFCE panel, sway with swaybar, trayer), a window manager for
# the work area, screenshots, the tools that check the Debian package, and
# sqlite3 to check the history store as a user would.
test_pkgs=(xvfb xauth xdotool x11-utils trayer iputils-ping dbus dbus-bin python3 conky-std
    xfce4-panel openbox imagemagick sway qt6-wayland grim
    lintian desktop-file-utils appstream clang libclang-rt-14-dev
    prometheus curl apache2-utils sqlite3)
# What CPack needs to make the Debian package.
package_pkgs=(dpkg-dev file)

wanted=("${build_pkgs[@]}")
case "${1:-build}" in
test) wanted+=("${package_pkgs[@]}" "${test_pkgs[@]}") ;;
package) wanted+=("${package_pkgs[@]}") ;;
esac

missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Pulsewick needs these Debian packages. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [ -z "${PULSEWICK_APT_UPDATED:-}" ]; then
    apt-get update
    export PULSEWICK_APT_UPDATED=1
fi
# Packages installed for the tests (the Prometheus server) must not start
# services of their own: unless the machine already has a policy, one that
# refuses every start stands for the time of the install.
policy=/usr/sbin/policy-rc.d
if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' >"$policy"
    chmod +x "$policy"
    trap 'rm -f "$policy"' EXIT
fi
apt-get install -y --no-install-recommends "${missing[@]}"
