#!/usr/bin/env bash
# Builds the Debian package from the release build (the one scripts/run.sh
# uses) and prints the package's path.
# Install it with: sudo apt-get install ./build/release/pulsewick_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# A fresh tree builds only what the package holds; one configured already
# keeps its choices, so a developer's tests and benchmarks stay built.
only_package=()
[ -f build/release/CMakeCache.txt ] ||
    only_package=(-DPULSEWICK_BUILD_TESTS=OFF -DPULSEWICK_BUILD_BENCH=OFF)
cmake --preset release "${only_package[@]}" "${launcher[@]}" >/dev/null
cmake --build --preset release >&2
rm -f build/release/pulsewick_*.deb
(cd build/release && cpack -G DEB >&2)
ls "$PWD"/build/release/pulsewick_*.deb
