#!/usr/bin/env bash
# Installs the Debian packages Pulsewick needs when any is missing.
# Usage: scripts/deps.sh build|test
# As root it runs apt-get; otherwise it prints the exact command and fails.
set -euo pipefail

build_pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev
    libbenchmark-dev adwaita-icon-theme)
test_pkgs=(xvfb xauth xdotool x11-utils trayer iputils-ping dbus dbus-bin python3 conky-std
    prometheus curl apache2-utils)

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
