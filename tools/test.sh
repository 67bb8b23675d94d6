#!/usr/bin/env bash
# Sets up a fresh machine, builds everything and runs the whole test suite
# (unit, program, front-end and end-to-end tests).
set -euo pipefail
cd "$(dirname "$0")/.."
./setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -j2 --timeout 600
