#!/usr/bin/env bash
# Writes the JSON key list of `pulsewick --list-figures` into README.md between
# its figure-list markers, so the README never drifts from the output.
# Usage: [PULSEWICK_BIN=path] scripts/readme-figures.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${PULSEWICK_BIN:-build/debug/src/app/pulsewick}
table=$(mktemp)
trap 'rm -f "$table"' EXIT
"$bin" --list-figures >"$table"
[ -s "$table" ] || { echo "empty key list from $bin" >&2; exit 1; }
awk -v table="$table" '
    /<!-- figure-list -->/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
    /<!-- \/figure-list -->/ { skip = 0 }
    !skip { print }
' README.md >README.md.new
mv README.md.new README.md
