#!/usr/bin/env bash
# Installs the Debian packages Pulsewick needs when any is missing.
# Usage: scripts/deps.sh build|test
# As root it runs apt-get; otherwise it prints the exact command and fails.
set -euo pipefail

build_pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev
    libqt6sql6-sqlite libbenchmark-dev adwaita-icon-theme)
test_pkgs=(xvfb xauth xdotool x11-utils trayer iputils-ping dbus dbus-bin python3 conky-std sqlite3)

wanted=("${build_pkgs[@]}")
if [ "${1:-build}" = test ]; then
    wanted+=("${test_pkgs[@]}")
fi

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
apt-get install -y --no-install-recommends "${missing[@]}"
