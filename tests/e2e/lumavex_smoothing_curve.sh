#!/usr/bin/env bash
# End to end: Lumavex under Xvfb draws a smoothing curve with the mouse standing in for
# the pen (L, a left drag along a slightly shaky line) and saves the picture (F12): a
# frame must lie along the dragged path, and nowhere else.
# Usage: lumavex_smoothing_curve.sh <Lumavex binary> <source folder>
# With LUMAVEX_E2E_SHOT=<file> the screenshot after drawing is kept there.
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-smoothing-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture

xdotool mousemove 200 200 click 1
lumavex_dismiss_silent_notice
xdotool key l
sleep 0.5
xdotool mousemove 250 300 mousedown 1
for x in $(seq 253 3 550); do xdotool mousemove "$x" $((300 + (x / 3) % 3 - 1)); done
xdotool mouseup 1
sleep 1.5
import -window root "$root/shot.png"
[ -n "${LUMAVEX_E2E_SHOT:-}" ] && cp "$root/shot.png" "$LUMAVEX_E2E_SHOT"
lumavex_save_native stroke.lmv

PYTHONPATH="$(dirname "$0")" python3 - "$work/stroke.lmv" <<'PY' || fail "no frame along the dragged path"
import sys
from lmv_words import pixels

framed = [p for p, (colour, frame) in pixels(sys.argv[1]).items() if frame >> 24]
xs = [x for x, _ in framed]
ys = [y for _, y in framed]
print("frame pixels", len(framed), "box", min(xs), min(ys), max(xs), max(ys))
# The path ran 300 screen pixels to the right at one height (the menu bar above the
# picture shifts it up a little): one thin band along it, smoothed, not a blot.
assert 280 <= max(xs) - min(xs) <= 310
assert max(ys) - min(ys) <= 8
assert 240 <= min(xs) <= 255
assert len(framed) >= 300
PY
echo "PASS: the smoothing curve was drawn along the mouse drag"
