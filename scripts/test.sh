#!/usr/bin/env bash
# Builds Pulsewick and runs the whole test suite.
# PRESET=asan runs it in the sanitizer build. Starts its own Xvfb and session bus
# when none is there, so it works on a headless machine too.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-debug}
scripts/deps.sh test
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

if [ -z "${PULSEWICK_IN_SESSION:-}" ] && [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    export PULSEWICK_IN_SESSION=1
    exec dbus-run-session -- "$0" "$@"
fi
export PULSEWICK_IN_SESSION=1
exec ctest --preset "$preset" "$@"
