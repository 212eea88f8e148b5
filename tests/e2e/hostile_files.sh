#!/usr/bin/env bash
# Counter files that are a FIFO, a link to /dev/zero, a 2 GB sparse file and a
# folder, and a settings file that is a FIFO: every run still finishes, the
# figures behind those files are unknown, and SIGTERM ends the program within
# a second in the terminal readout and on the desktop. Every run is bounded
# with timeout, so a hang fails instead of waiting.
# Usage: hostile_files.sh PATH-TO-PULSEWICK FIXTURES-DIR
PULSEWICK=$1
FIXTURES=$2
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-daemon xdotool xwininfo python3 timeout
CHECK="$(dirname "$0")/check_output.py"

# ends_within SECONDS PID: PID is gone within SECONDS (fractions allowed).
ends_within() {
    timeout "$1" tail --pid="$2" -s 0.02 -f /dev/null
}

# sigterm_ends PID WHAT: SIGTERM ends PID within a second.
sigterm_ends() {
    local started=$EPOCHREALTIME
    kill -TERM "$1"
    ends_within 1 "$1" || fail "$2 still runs a second after SIGTERM"
    echo "$2 ended $(python3 -c "print(round(($EPOCHREALTIME - $started) * 1000))") ms after SIGTERM"
}

root="$E2E_TMP/machine"
cp -a "$FIXTURES/intel-hybrid-laptop" "$root"
rm "$root/proc/stat" && mkfifo "$root/proc/stat"
ln -sf /dev/zero "$root/proc/diskstats"
rm "$root/proc/meminfo" && truncate -s 2G "$root/proc/meminfo"
first=1
for freq in "$root"/sys/devices/system/cpu/cpufreq/policy*/scaling_cur_freq; do
    rm "$freq"
    if [ $first = 1 ]; then mkfifo "$freq"; else mkdir "$freq"; fi
    first=0
done
run=(--latency-host 127.0.0.1 --root "$root")
export TMPDIR="$E2E_TMP/tmp"
mkdir -p "$TMPDIR"

# Two samples, both modes, within 5 s.
timeout 5 "$PULSEWICK" "${run[@]}" --json --samples 2 >"$E2E_TMP/json.out" 2>"$E2E_TMP/json.log" ||
    fail "the JSON run did not finish within 5 s (status $?)"
python3 "$CHECK" json "$E2E_TMP/json.out" 2 || fail "JSON output"
python3 - "$E2E_TMP/json.out" <<'EOF' || fail "figures behind refused files are not unknown"
import json, sys
# The store still writes "no reading" as 0 for some figures; null is as good.
last = json.loads(open(sys.argv[1]).read().splitlines()[-1])
assert last["coreUsages"] == [] and last["cpuUserUsage"] in (None, 0), "CPU (proc/stat: FIFO)"
assert last["diskReadRate"] in (None, 0), "disk rates (proc/diskstats: /dev/zero)"
assert last["cpuClockGHz"] is None, "clock (scaling_cur_freq: a FIFO and folders)"
assert last["memoryTotal"] in (None, 0), "memory (proc/meminfo: 2 GB)"
EOF
for file in proc/stat proc/diskstats proc/meminfo policy0/scaling_cur_freq; do
    [ "$(grep -c "Not reading .*$file" "$E2E_TMP/json.log")" = 1 ] ||
        fail "$file is not reported exactly once"
done
timeout 5 "$PULSEWICK" "${run[@]}" --headless --samples 2 >"$E2E_TMP/text.out" 2>&1 ||
    fail "the text run did not finish within 5 s (status $?)"
grep -v '^Not reading ' "$E2E_TMP/text.out" >"$E2E_TMP/samples.out"
python3 "$CHECK" text "$E2E_TMP/samples.out" 2 || fail "text output"

# SIGTERM mid-run: the CSV is still written, and only JSON reaches stdout.
"$PULSEWICK" "${run[@]}" --json --samples 1000 --export-csv >"$E2E_TMP/term.out" \
    2>"$E2E_TMP/term.log" &
pid=$!
E2E_PIDS+=("$pid")
wait_until 10 test -s "$E2E_TMP/term.out" || fail "no sample from the JSON run"
sigterm_ends "$pid" "the headless JSON run"
wait "$pid" || fail "the JSON run ended with status $? after SIGTERM"
python3 "$CHECK" json "$E2E_TMP/term.out" "$(grep -c cpuUsage "$E2E_TMP/term.out")" ||
    fail "JSON output after SIGTERM"
csv=$(python3 -c 'import json,sys; print(json.loads(open(sys.argv[1]).read().splitlines()[-1])["exportedCsv"])' \
    "$E2E_TMP/term.out") || fail "no exportedCsv line after SIGTERM"
[ -s "$csv" ] || fail "the CSV $csv was not written"

"$PULSEWICK" "${run[@]}" --headless --samples 1000 >"$E2E_TMP/term-text.out" 2>&1 &
pid=$!
E2E_PIDS+=("$pid")
wait_until 10 grep -q '^CPU ' "$E2E_TMP/term-text.out" || fail "no sample from the text run"
sigterm_ends "$pid" "the headless text run"

# On the desktop, with the same machine and a FIFO for a settings file.
start_session
mkdir -p "$XDG_CONFIG_HOME/Pulsewick"
mkfifo "$XDG_CONFIG_HOME/Pulsewick/Pulsewick.ini"
start_pulsewick desktop --root "$root"
wait_until 15 visible_window_named '^Pulsewick Readout$' >/dev/null ||
    fail "no readout on the desktop"
sleep 1.5 # a few cycles over the refused files
sigterm_ends "$PULSEWICK_PID" "the desktop run"
[ -p "$XDG_CONFIG_HOME/Pulsewick/Pulsewick.ini" ] || fail "the settings FIFO was replaced"
grep -q "Not using the settings file .*not a regular file" "$E2E_TMP/desktop.log" ||
    fail "the settings FIFO was not reported"
timeout 5 "$PULSEWICK" "${run[@]}" --headless --samples 1 >"$E2E_TMP/settings.out" 2>&1 ||
    fail "a FIFO for a settings file stops the terminal readout"
echo "PASS hostile_files"
