#!/usr/bin/env bash
# Builds the libFuzzer targets under tests/fuzz with clang (ASan + UBSan) and
# runs each for SECONDS (default 30): first over every input stored in its
# corpus, tests/fuzz/corpus/<target>/, then on inputs of its own making.
# Fails on any crash, leak, timeout or sanitizer report; the input that caused
# it is copied into the target's corpus, where it stays as a regression case.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
scripts/deps.sh test

build=build/fuzz
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build"

failed=()
for corpus in tests/fuzz/corpus/*/; do
    target=$(basename "$corpus")
    work="$build/work/$target"
    artifacts="$build/artifacts/$target"
    rm -rf "$artifacts"
    mkdir -p "$work" "$artifacts"
    log="$build/$target.log"
    # New inputs go to the scratch corpus first in the list; the stored one is
    # only read.
    if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "$corpus" >"$log" 2>&1; then
        runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
        rate=$(awk '/stat::average_exec_per_sec/ {print $2}' "$log")
        echo "fuzz_$target: $runs runs in ${seconds} s, $rate exec/s"
    else
        echo "fuzz_$target: FAILED" >&2
        grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" >&2 || tail -n 20 "$log" >&2
        for input in "$artifacts"/*; do
            [ -e "$input" ] || continue
            cp "$input" "$corpus"
            echo "  kept $(basename "$input") in $corpus as a regression case" >&2
        done
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found problems in: ${failed[*]} (logs in $build/)" >&2
    exit 1
fi
