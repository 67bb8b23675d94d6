#!/usr/bin/env bash
# End to end: Lumavex under Xvfb copies a curved band to memory and pastes it moved,
# the way a user does it: a filled ellipse is drawn; [曲面、貼り付け]-[曲面をメモリへコピー]
# is chosen from the menu, curve 1 is placed above the ellipse and curve 2 below it
# (Shift+Ctrl click after each), a Shift+Ctrl click copies; Q enters the paste, 5
# chooses the move tool, a left drag moves the curves 400 pixels to the right and a
# Shift+Ctrl click pastes. The saved picture must show the band, ellipse and all,
# 400 pixels to the right, word for word, with the original left as it was.
# Usage: lumavex_memory_paste.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-memory-paste-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture

lumavex_filled_ellipse  # from (250, 250) to (450, 380)
lumavex_save_native before.lmv

lumavex_copy_ellipse_band

xdotool mousemove 350 315 key q
sleep 0.5
xdotool key 5
sleep 0.3
xdotool mousedown 1
for x in 400 500 600 700 750; do xdotool mousemove $x 315; sleep 0.1; done
xdotool mouseup 1
sleep 0.5
shift_ctrl_click 1000 700
sleep 1
[ -n "${LUMAVEX_E2E_SHOT:-}" ] && import -window root "$LUMAVEX_E2E_SHOT"
lumavex_save_native after.lmv

PYTHONPATH="$(dirname "$0")" python3 - "$work/before.lmv" "$work/after.lmv" <<'PY' || fail "the band was not pasted moved"
import sys
from lmv_words import pixels as words_of

def pixels(path):
    return {p: colour for p, (colour, _) in words_of(path).items()}

before, after = (pixels(p) for p in sys.argv[1:3])
dark = [p for p in before if before[p] == 0]
xs = [x for x, _ in dark]
ys = [y for _, y in dark]
print("ellipse", len(dark), "box", min(xs), min(ys), max(xs), max(ys))
assert len(dark) > 15000
# The band between the curves, a few pixels inside them, arrives 400 pixels to the right.
top, bottom = min(ys) - 10, max(ys) + 10
left, right = min(xs) - 10, max(xs) + 10
moved = [(x, y) for x in range(left, right + 1) for y in range(top, bottom + 1)]
wrong = [p for p in moved if after[(p[0] + 400, p[1])] != before[p]]
print("band pixels", len(moved), "not moved word for word", len(wrong))
assert not wrong
assert sum(1 for p in after if after[p] == 0) >= 2 * len(dark)
# Nothing left of the pasted band changed.
assert all(after[p] == before[p] for p in before if p[0] < left + 400 - 40)
PY
echo "PASS: the band was copied to memory, moved with 5 and pasted"
