#!/usr/bin/env bash
# Sets up a fresh machine, builds Lumavex and starts it in the working folder
# ./run (created with its LMV_Resource folder on first use).
# LUMAVEX_BUILD names another build folder and LUMAVEX_RUN another working folder;
# LUMAVEX_SKIP_SETUP=1 leaves the packages alone.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LUMAVEX_BUILD:-build}
run=${LUMAVEX_RUN:-run}
[ "${LUMAVEX_SKIP_SETUP:-0}" = 1 ] || ./setup.sh
# A configured build folder keeps its settings; ninja re-runs cmake when needed.
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target Lumavex
binary=$(realpath "$build/lumavex/qt/Lumavex")
mkdir -p "$run"
[ -d "$run/LMV_Resource" ] || cp -r resources/LMV_Resource "$run/LMV_Resource"
cd "$run"
exec "$binary"
