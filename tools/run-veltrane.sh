#!/usr/bin/env bash
# Sets up a fresh machine, builds Veltrane and starts it in the example movie
# folder ./run-veltrane (made by make-example-movie.sh on first use).
# LUMAVEX_BUILD names another build folder and VELTRANE_RUN another movie folder;
# LUMAVEX_SKIP_SETUP=1 leaves the packages alone.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LUMAVEX_BUILD:-build}
run=${VELTRANE_RUN:-run-veltrane}
[ "${LUMAVEX_SKIP_SETUP:-0}" = 1 ] || ./setup.sh
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target Veltrane
binary=$(realpath "$build/veltrane/qt/Veltrane")
[ -f "$run/Compress.ini" ] || ./tools/make-example-movie.sh "$run"
cd "$run"
exec "$binary"
