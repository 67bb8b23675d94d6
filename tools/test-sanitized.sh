#!/usr/bin/env bash
# Builds the libraries with clang under AddressSanitizer, UndefinedBehaviorSanitizer
# and libFuzzer's coverage, runs the unit and program tests once more in that build,
# then runs every fuzz target for LUMAVEX_FUZZ_SECONDS (30 by default). Any finding
# fails. Run after tools/test.sh (which runs ./setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DLUMAVEX_FUZZ=ON \
  -DLUMAVEX_BUILD_QT=OFF -DLUMAVEX_BUILD_BENCH=OFF \
  -DLUMAVEX_FUZZ_SECONDS="${LUMAVEX_FUZZ_SECONDS:-30}"
cmake --build build-fuzz
ctest --test-dir build-fuzz -LE fuzz --output-on-failure -j2 --timeout 600
ctest --test-dir build-fuzz -L fuzz --output-on-failure -j2
