#!/usr/bin/env bash
# End to end: Lumavex under Xvfb draws a horizontal stroke with the normal pen (N,
# width 4 set with Ctrl+N) and saves the picture before and after it (F12): the
# stroke must have painted a 5-pixel-high band in the head colour and nothing else.
# Usage: lumavex_pen_stroke.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-pen-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture

xdotool mousemove 200 200 click 1
lumavex_dismiss_silent_notice
lumavex_save_native before.lmv

xdotool key ctrl+n  # the pen's dialog: width 4, then the pen
xdotool search --sync --onlyvisible --name 'ペン設定' >/dev/null
sleep 0.5
xdotool key ctrl+a type 4
xdotool key Return
sleep 0.5
xdotool mousemove 250 300 mousedown 1
for x in $(seq 254 4 450); do xdotool mousemove "$x" 300; done
xdotool mouseup 1
sleep 1
[ -n "${LUMAVEX_E2E_SHOT:-}" ] && import -window root "$LUMAVEX_E2E_SHOT"
lumavex_save_native after.lmv

PYTHONPATH="$(dirname "$0")" python3 - "$work/before.lmv" "$work/after.lmv" <<'PY' || fail "the pen stroke was not painted as expected"
import sys
from lmv_words import pixels

before, after = pixels(sys.argv[1]), pixels(sys.argv[2])
changed = [p for p in before if before[p] != after[p]]
xs = [x for x, _ in changed]
ys = [y for _, y in changed]
print("changed", len(changed), "box", min(xs), min(ys), max(xs), max(ys))
# Positions 4 client pixels apart with a 5-pixel brush leave no gaps: one band,
# 5 rows high and about 205 pixels long, painted black (the head colour), with
# the frame layer untouched.
assert max(ys) - min(ys) == 4
assert 195 <= max(xs) - min(xs) <= 210
assert len(changed) == (max(xs) - min(xs) + 1) * 5
assert all(after[p][0] == 0 and after[p][1] == before[p][1] for p in changed)
PY
echo "PASS: the normal pen stroke was painted and saved"
