#!/usr/bin/env bash
# End to end: Lumavex under Xvfb draws an ellipse, fills it with P and a click
# inside, and saves the picture before and after the fill (F12): the fill must have
# painted the inside of the ellipse in the head colour and nothing outside it.
# Usage: lumavex_fill_ellipse.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-fill-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture

xdotool mousemove 200 200 click 1
lumavex_dismiss_silent_notice
lumavex_draw_ellipse  # from (250, 250) to (450, 380)
lumavex_save_native before.lmv

xdotool key p
sleep 0.3
xdotool mousemove 350 315 click 1
sleep 1
[ -n "${LUMAVEX_E2E_SHOT:-}" ] && import -window root "$LUMAVEX_E2E_SHOT"
lumavex_save_native after.lmv

PYTHONPATH="$(dirname "$0")" python3 - "$work/before.lmv" "$work/after.lmv" <<'PY' || fail "the fill did not paint the inside of the ellipse"
import sys
from lmv_words import pixels

before, after = pixels(sys.argv[1]), pixels(sys.argv[2])
changed = [p for p in before if before[p] != after[p]]
xs = [x for x, _ in changed]
ys = [y for _, y in changed]
print("changed", len(changed), "box", min(xs), min(ys), max(xs), max(ys))
# The ellipse spans 200 x 130 pixels: its inside is about 20,000 pixels, all of
# them painted black (the head colour) and with no frame.
assert 15000 < len(changed) < 25000
assert max(xs) - min(xs) <= 201 and max(ys) - min(ys) <= 131
assert all(after[p][0] == 0 for p in changed)
PY
echo "PASS: the inside of the ellipse was filled and saved"
