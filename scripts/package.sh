#!/usr/bin/env bash
# Builds the Debian package from the release build (the one scripts/run.sh
# uses; only the program is built) and prints the package's path.
# Install it with: sudo apt-get install ./build/release/pulsewick_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset release -DPULSEWICK_BUILD_TESTS=OFF -DPULSEWICK_BUILD_BENCH=OFF "${launcher[@]}" \
    >/dev/null
cmake --build --preset release >&2
rm -f build/release/pulsewick_*.deb
(cd build/release && cpack -G DEB >&2)
ls "$PWD"/build/release/pulsewick_*.deb
