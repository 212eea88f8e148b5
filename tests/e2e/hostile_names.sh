#!/usr/bin/env bash
# Names that try to reach the terminal: processes whose comm, argv[0] and
# executable carry ESC sequences, an OSC title, a C1 CSI, CR, a newline that
# forges a sample line and invalid UTF-8, an interface name with ESC, and a
# $TMPDIR with controls. The terminal readout stays one clean line per sample;
# the JSON lines parse. Then the CSV export onto a full file system fails
# loudly and leaves nothing behind.
# Usage: hostile_names.sh PATH-TO-PULSEWICK FIXTURES-DIR
PULSEWICK=$1
FIXTURES=$2
source "$(dirname "$0")/lib.sh"
need python3 timeout
CHECK="$(dirname "$0")/check_output.py"
unset DISPLAY WAYLAND_DISPLAY

root="$E2E_TMP/machine"
cp -a "$FIXTURES/intel-hybrid-laptop" "$root"
forged=$'\nCPU 99.9% (E 0.0% P 0.0%)  forged\r'
tricks=$'\e[2J\e]0;owned\a\xc2\x9b31m\x7f\xff\xfe'
# pid 3: named by comm; pid 4: by its executable; pid 5: by an absolute argv[0].
add_process() { # PID COMM
    mkdir -p "$root/proc/$1"
    printf '%s (%s) S 1 %s %s 0 -1 4194560 1900 0 12 0 %s 20 0 0 20 0 1 0 42 0 0\n' \
        "$1" "$2" "$1" "$1" "$((100 * $1))" >"$root/proc/$1/stat"
    printf 'x\0' >"$root/proc/$1/cmdline"
}
add_process 3 "top${tricks}${forged}"
add_process 4 "exe"
ln -s "/usr/bin/exe${tricks}${forged}" "$root/proc/4/exe"
add_process 5 "argv"
printf '/opt/argv%s%s\0--flag\0' "$tricks" "$forged" >"$root/proc/5/cmdline"
sed -i $'s/wlp0s20f3/wl\e[2Jan0/g' "$root/proc/net/route" "$root/proc/net/dev"
run=(--latency-host 127.0.0.1 --root "$root")
export TMPDIR="$E2E_TMP/tmp"
mkdir -p "$TMPDIR"

# The process list is published every 2 s: five samples show it twice.
timeout 20 "$PULSEWICK" "${run[@]}" --headless --samples 5 >"$E2E_TMP/text.out" 2>&1 ||
    fail "the text run failed (status $?)"
python3 "$CHECK" text "$E2E_TMP/text.out" 5 || fail "text output"
grep -qF 'Top: top\x1b[2J\x1b]0;owned\x07\x9b31m\x7f' "$E2E_TMP/text.out" ||
    fail "the comm name is not shown escaped"
grep -qF 'exe\x1b[2J' "$E2E_TMP/text.out" || fail "the executable's name is not shown escaped"
grep -qF 'argv\x1b[2J' "$E2E_TMP/text.out" || fail "argv[0] is not shown escaped"
grep -qF 'Interface wl\x1b[2Jan0' "$E2E_TMP/text.out" || fail "the interface is not shown escaped"

timeout 20 "$PULSEWICK" "${run[@]}" --json --samples 5 --export-csv >"$E2E_TMP/json.out" \
    2>"$E2E_TMP/json.log" || fail "the JSON run failed (status $?)"
python3 "$CHECK" json "$E2E_TMP/json.out" 5 || fail "JSON output"
python3 - "$E2E_TMP/json.out" <<'EOF' || fail "names in JSON lost their characters"
import json, sys
names = set()
for line in open(sys.argv[1], encoding="utf-8"):
    for process in json.loads(line).get("topProcesses", []):
        names.add(process["name"])
# JSON carries the names as they are, escaped only in its own way.
assert any(n.startswith("top\x1b[2J\x1b]0;owned\x07\x9b31m\x7f\ufffd\ufffd\nCPU 99.9%")
           for n in names), names
EOF

# A $TMPDIR with controls in its name is reported, not echoed raw.
TMPDIR="$E2E_TMP/no${tricks}${forged}where" timeout 10 "$PULSEWICK" "${run[@]}" --headless \
    --samples 1 --export-csv >"$E2E_TMP/tmpdir.out" 2>&1 && fail "an export into nowhere succeeded"
grep -q '^Failed to write CSV: ' "$E2E_TMP/tmpdir.out" || fail "no failure line for a bad TMPDIR"
grep -v '^Failed to write CSV: ' "$E2E_TMP/tmpdir.out" >"$E2E_TMP/tmpdir-samples.out"
python3 "$CHECK" text "$E2E_TMP/tmpdir-samples.out" 1 || fail "output with a bad TMPDIR"
[ "$(wc -l <"$E2E_TMP/tmpdir.out")" = 2 ] || fail "the failure line was split"

# A full file system (a small tmpfs, which takes root to mount).
if [ "$(id -u)" = 0 ] && mkdir -p "$E2E_TMP/full" &&
    mount -t tmpfs -o size=64k tmpfs "$E2E_TMP/full" 2>/dev/null; then
    trap 'umount -l "$E2E_TMP/full"; e2e_cleanup' EXIT
    head -c 1M /dev/zero >"$E2E_TMP/full/filler" 2>/dev/null || true
    for mode in --headless --json; do
        TMPDIR="$E2E_TMP/full" timeout 10 "$PULSEWICK" "${run[@]}" "$mode" --samples 1 \
            --export-csv >"$E2E_TMP/full.out" 2>"$E2E_TMP/full.log" &&
            fail "$mode: an export onto a full disk exited 0"
        grep -qx 'Failed to write CSV: No space left on device' "$E2E_TMP/full.out" \
            "$E2E_TMP/full.log" || fail "$mode: no 'No space left on device' line"
        [ "$(ls -A "$E2E_TMP/full")" = filler ] || fail "$mode: a file was left: $(ls -A "$E2E_TMP/full")"
    done
    python3 "$CHECK" json "$E2E_TMP/full.out" 1 || fail "JSON output of the failed export"
else
    echo "not root: the full file system is covered by tst_failed_writes"
fi
echo "PASS hostile_names"
