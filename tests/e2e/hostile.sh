#!/usr/bin/env bash
# Hostile machines end to end; every run is bounded by timeout, so a hang fails
# instead of waiting.
# Names that try to reach the terminal (ESC, OSC and C1 sequences, CR, a
# newline that forges a sample line, invalid UTF-8) in a process's comm,
# argv[0] and executable, an interface and $TMPDIR: the terminal readout stays
# one clean line per sample and the JSON carries them intact.
# Counter files that are a FIFO, a link to /dev/zero, a 2 GB sparse file and
# folders, and a settings file that is a FIFO: every run finishes, the figures
# behind them are unknown, and SIGTERM ends the program within a second, the
# CSV still written, in the terminal readout and on the desktop.
# (Each reader's refusal and its one report: tst_hostile_files; the escaping:
# tst_terminal_text; a full disk: tst_failed_writes.)
# Usage: hostile.sh PATH-TO-PULSEWICK FIXTURES-DIR
PULSEWICK=$1
FIXTURES=$2
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon xdotool xwininfo python3 timeout
check() { python3 "$(dirname "$0")/check_output.py" "$@"; }
unset DISPLAY WAYLAND_DISPLAY
export TMPDIR="$E2E_TMP/tmp"
mkdir -p "$TMPDIR"

names="$E2E_TMP/names"
cp -a "$FIXTURES/intel-hybrid-laptop" "$names"
forged=$'\nCPU 99.9% (E 0.0% P 0.0%)  forged\r'
tricks=$'\e[2J\e]0;owned\a\xc2\x9b31m\x7f\xff\xfe'
# pid 3: named by comm; pid 4: by its executable; pid 5: by an absolute argv[0].
add_process() { # PID COMM
    mkdir -p "$names/proc/$1"
    printf '%s (%s) S 1 %s %s 0 -1 4194560 1900 0 12 0 %s 20 0 0 20 0 1 0 42 0 0\n' \
        "$1" "$2" "$1" "$1" "$((100 * $1))" >"$names/proc/$1/stat"
    printf 'x\0' >"$names/proc/$1/cmdline"
}
add_process 3 "top${tricks}${forged}"
add_process 4 "exe"
ln -s "/usr/bin/exe${tricks}${forged}" "$names/proc/4/exe"
add_process 5 "argv"
printf '/opt/argv%s%s\0--flag\0' "$tricks" "$forged" >"$names/proc/5/cmdline"
sed -i $'s/wlp0s20f3/wl\e[2Jan0/g' "$names/proc/net/route" "$names/proc/net/dev"
run=(--latency-host 127.0.0.1 --root "$names")

# The process list is published every 2 s: five samples show it twice.
timeout 20 "$PULSEWICK" "${run[@]}" --headless --samples 5 >"$E2E_TMP/text.out" 2>&1 ||
    fail "the text run failed (status $?)"
check text "$E2E_TMP/text.out" 5 || fail "text output"
for shown in 'Top: top\x1b[2J\x1b]0;owned\x07\x9b31m\x7f' 'exe\x1b[2J' 'argv\x1b[2J' \
    'Interface wl\x1b[2Jan0'; do
    grep -qF "$shown" "$E2E_TMP/text.out" || fail "not shown escaped: $shown"
done
timeout 20 "$PULSEWICK" "${run[@]}" --json --samples 5 --export-csv >"$E2E_TMP/json.out" \
    2>"$E2E_TMP/json.log" || fail "the JSON run failed (status $?)"
check json "$E2E_TMP/json.out" 5 || fail "JSON output"
python3 - "$E2E_TMP/json.out" <<'EOF' || fail "names in JSON lost their characters"
import json, sys
names = {p["name"] for line in open(sys.argv[1], encoding="utf-8")
         for p in json.loads(line).get("topProcesses", [])}
# JSON carries the names as they are, escaped only in its own way.
assert any(n.startswith("top\x1b[2J\x1b]0;owned\x07\x9b31m\x7f\ufffd\ufffd\nCPU 99.9%")
           for n in names), names
EOF
# A $TMPDIR with controls in its name is reported on one line, not echoed raw.
TMPDIR="$E2E_TMP/no${tricks}${forged}where" timeout 10 "$PULSEWICK" "${run[@]}" --headless \
    --samples 1 --export-csv >"$E2E_TMP/tmpdir.out" 2>&1 && fail "an export into nowhere succeeded"
grep -q '^Failed to write CSV: ' "$E2E_TMP/tmpdir.out" || fail "no failure line for a bad TMPDIR"
[ "$(wc -l <"$E2E_TMP/tmpdir.out")" = 2 ] || fail "the failure line was split"
grep -v '^Failed to write CSV: ' "$E2E_TMP/tmpdir.out" >"$E2E_TMP/tmpdir-samples.out"
check text "$E2E_TMP/tmpdir-samples.out" 1 || fail "output with a bad TMPDIR"

files="$E2E_TMP/files"
cp -a "$FIXTURES/intel-hybrid-laptop" "$files"
rm "$files/proc/stat" && mkfifo "$files/proc/stat"
ln -sf /dev/zero "$files/proc/diskstats"
rm "$files/proc/meminfo" && truncate -s 2G "$files/proc/meminfo"
kind=mkfifo
for freq in "$files"/sys/devices/system/cpu/cpufreq/policy*/scaling_cur_freq; do
    rm "$freq" && $kind "$freq" && kind=mkdir
done
run=(--latency-host 127.0.0.1 --root "$files")

timeout 5 "$PULSEWICK" "${run[@]}" --json --samples 2 >"$E2E_TMP/json.out" 2>"$E2E_TMP/json.log" ||
    fail "the JSON run did not finish within 5 s (status $?)"
check json "$E2E_TMP/json.out" 2 || fail "JSON output"
python3 - "$E2E_TMP/json.out" <<'EOF' || fail "figures behind refused files are not unknown"
import json, sys
# The store still writes "no reading" as 0 for some figures; null is as good.
last = json.loads(open(sys.argv[1]).read().splitlines()[-1])
assert last["coreUsages"] == [] and last["cpuUserUsage"] in (None, 0), "CPU (proc/stat: FIFO)"
assert last["diskReadRate"] in (None, 0), "disk rates (proc/diskstats: /dev/zero)"
assert last["cpuClockGHz"] is None, "clock (scaling_cur_freq: a FIFO and folders)"
assert last["memoryTotal"] in (None, 0), "memory (proc/meminfo: 2 GB)"
EOF
timeout 5 "$PULSEWICK" "${run[@]}" --headless --samples 2 >"$E2E_TMP/text.out" 2>&1 ||
    fail "the text run did not finish within 5 s (status $?)"
grep -v '^Not reading ' "$E2E_TMP/text.out" >"$E2E_TMP/samples.out"
check text "$E2E_TMP/samples.out" 2 || fail "text output"

# sigterm_ends PID WHAT: SIGTERM ends PID within a second.
sigterm_ends() {
    kill -TERM "$1"
    timeout 1 tail --pid="$1" -s 0.02 -f /dev/null || fail "$2 still runs a second after SIGTERM"
}
# SIGTERM mid-run (the text readout shares the path): the CSV is still
# written, and only JSON reaches stdout.
"$PULSEWICK" "${run[@]}" --json --samples 1000 --export-csv >"$E2E_TMP/term.out" \
    2>"$E2E_TMP/term.log" &
pid=$!
E2E_PIDS+=("$pid")
wait_until 10 test -s "$E2E_TMP/term.out" || fail "no sample from the JSON run"
sigterm_ends "$pid" "the headless run"
wait "$pid" || fail "the JSON run ended with status $? after SIGTERM"
check json "$E2E_TMP/term.out" "$(grep -c cpuUsage "$E2E_TMP/term.out")" || fail "JSON output after SIGTERM"
csv=$(python3 -c 'import json,sys; print(json.loads(open(sys.argv[1]).read().splitlines()[-1])["exportedCsv"])' \
    "$E2E_TMP/term.out") || fail "no exportedCsv line after SIGTERM"
[ -s "$csv" ] || fail "the CSV $csv was not written"

# On the desktop, with the same machine and a FIFO for a settings file.
start_session
mkdir -p "$XDG_CONFIG_HOME/Pulsewick"
mkfifo "$XDG_CONFIG_HOME/Pulsewick/Pulsewick.ini"
start_pulsewick desktop --root "$files"
wait_until 15 readout_shown || fail "no readout on the desktop"
sleep 1.5 # a few cycles over the refused files
sigterm_ends "$PULSEWICK_PID" "the desktop run"
[ -p "$XDG_CONFIG_HOME/Pulsewick/Pulsewick.ini" ] || fail "the settings FIFO was replaced"
grep -q "Not using the settings file .*not a regular file" "$E2E_TMP/desktop.log" ||
    fail "the settings FIFO was not reported"
timeout 5 "$PULSEWICK" "${run[@]}" --headless --samples 1 >"$E2E_TMP/settings.out" 2>&1 ||
    fail "a FIFO for a settings file stops the terminal readout"
echo "PASS hostile"
