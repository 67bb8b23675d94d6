#!/usr/bin/env bash
# End to end: Lumavex under Xvfb draws an ellipse, deselects everything with
# Ctrl+Shift+H (which leaves the select fill's mode on), clicks inside the ellipse
# and saves (F12): only the ellipse and its inside must be selected. Ctrl+H twice
# must then give the same words again.
# Usage: lumavex_select_area.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-select-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture

xdotool mousemove 200 200 click 1
lumavex_dismiss_silent_notice
lumavex_draw_ellipse  # from (250, 250) to (450, 380)

xdotool key ctrl+shift+h
sleep 0.5
xdotool mousemove 350 315 click 1
sleep 1
[ -n "${LUMAVEX_E2E_SHOT:-}" ] && import -window root "$LUMAVEX_E2E_SHOT"
lumavex_save_native selected.lmv
xdotool key ctrl+h
sleep 0.5
xdotool key ctrl+h
sleep 0.5
lumavex_save_native reversed_twice.lmv

PYTHONPATH="$(dirname "$0")" python3 - "$work/selected.lmv" "$work/reversed_twice.lmv" <<'PY' || fail "the selection does not follow the ellipse"
import sys
from lmv_words import words

width, height, selected = words(sys.argv[1])
chosen = []
for row in range(height):
    for x in range(width):
        if not selected[row * width * 2 + x] & 0x01000000:
            chosen.append((x, height - 1 - row))
xs = [x for x, _ in chosen]
ys = [y for _, y in chosen]
print("selected", len(chosen), "box", min(xs), min(ys), max(xs), max(ys))
# The ellipse spans 200 x 130 pixels: its inside and its frame, about 20,000 pixels.
assert 15000 < len(chosen) < 25000
assert max(xs) - min(xs) <= 203 and max(ys) - min(ys) <= 133
# The processing marks of the fill are cleared by the next command; nothing else moves.
def unmarked(all_words):
    return [w & ~0x7C000000 if i % (2 * width) < width else w for i, w in enumerate(all_words)]
assert unmarked(words(sys.argv[2])[2]) == unmarked(selected)
PY
echo "PASS: the selection followed the ellipse and reversing twice restored it"
