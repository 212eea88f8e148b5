#!/usr/bin/env bash
# Builds Pulsewick (release) and starts it with the given arguments.
# Without a display it runs the headless readout.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release --target pulsewick
exec build/release/src/app/pulsewick "$@"
