#!/usr/bin/env bash
# `cmake --install` into a scratch prefix puts the program and the service unit
# there, the unit starts that program in server mode, and systemd accepts the
# unit without a single complaint.
# Usage: installed_unit.sh BUILD_DIR
set -euo pipefail
command -v systemd-analyze >/dev/null || { echo "SKIP: systemd-analyze is not installed"; exit 77; }
prefix=$(mktemp -d "${TMPDIR:-/tmp}/pulsewick-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log"; exit 1; }
rm -f "$prefix.log"
unit="$prefix/lib/systemd/system/pulsewick.service"
[ -x "$prefix/bin/pulsewick" ] || { echo "FAIL: no program in $prefix/bin"; exit 1; }
[ -f "$unit" ] || { echo "FAIL: no unit at $unit"; exit 1; }
grep -qx "ExecStart=$prefix/bin/pulsewick --serve" "$unit" || {
    echo "FAIL: the unit does not start the installed program"; exit 1; }
for setting in DynamicUser=yes NoNewPrivileges=yes ProtectSystem=strict ProtectHome=yes \
    PrivateTmp=yes 'RestrictAddressFamilies=AF_INET AF_INET6 AF_UNIX'; do
    grep -qx "$setting" "$unit" || { echo "FAIL: the unit lacks $setting"; exit 1; }
done
complaints=$(systemd-analyze verify --man=no "$unit" 2>&1) || true
if [ -n "$complaints" ]; then
    echo "FAIL: systemd-analyze verify: $complaints"
    exit 1
fi
echo "installed unit verified"
