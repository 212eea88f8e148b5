#!/usr/bin/env bash
# The Debian package: built from the tree, it passes lintian without errors,
# holds the program, icons and metadata, its desktop entry and AppStream
# metadata validate, and as root it installs with apt-get (bringing what it
# needs) and the installed program runs.
# Usage: deb.sh SOURCE-DIR
set -euo pipefail
source_dir=$1
for tool in lintian desktop-file-validate appstreamcli dpkg-deb apt-get cpack; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/pulsewick-deb.XXXXXX")
installed_here=
cleanup() {
    [ -n "$installed_here" ] && apt-get remove -y pulsewick >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$("$source_dir/scripts/package.sh" | tail -n1)
[ -f "$deb" ] || fail "no package built"
lintian --fail-on error "$deb" || fail "lintian found errors"

dpkg-deb -x "$deb" "$work/root"
desktop=usr/share/applications/io.github.pulsewick.Pulsewick.desktop
metainfo=usr/share/metainfo/io.github.pulsewick.Pulsewick.metainfo.xml
files=(usr/bin/pulsewick "$desktop" "$metainfo" usr/share/doc/pulsewick/copyright
    usr/share/icons/hicolor/scalable/apps/pulsewick.svg)
for size in 16 22 24 32 48 64 128 256; do files+=("usr/share/icons/hicolor/${size}x${size}/apps/pulsewick.png"); done
for path in "${files[@]}"; do
    [ -e "$work/root/$path" ] || fail "the package lacks /$path"
done
desktop-file-validate "$work/root/$desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$work/root/$metainfo" || fail "the AppStream metadata does not validate"

# Installing touches the system: only as root (CI runs as root).
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing the package needs root" >&2; exit 77; }
dpkg-query -W -f='${Status}' pulsewick 2>/dev/null | grep -q "install ok installed" || installed_here=1
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" \
    >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get could not install the package"; }
version=$(/usr/bin/pulsewick --version) || fail "the installed program does not run"
[ "$version" = "pulsewick $(dpkg-deb -f "$deb" Version)" ] || fail "unexpected version: $version"
/usr/bin/pulsewick --headless --samples 1 --latency-host 127.0.0.1 >/dev/null ||
    fail "the installed program's terminal readout failed"
echo "PASS deb"
