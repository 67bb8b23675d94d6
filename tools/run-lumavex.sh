#!/usr/bin/env bash
# Sets up a fresh machine, builds Lumavex and starts it in the working folder
# ./run (created with its LMV_Resource folder on first use).
set -euo pipefail
cd "$(dirname "$0")/.."
./setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target Lumavex
mkdir -p run
[ -d run/LMV_Resource ] || cp -r resources/LMV_Resource run/LMV_Resource
cd run
exec ../build/lumavex/qt/Lumavex
