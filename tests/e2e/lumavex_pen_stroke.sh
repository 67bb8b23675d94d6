#!/usr/bin/env bash
# End to end: Lumavex under Xvfb draws a horizontal stroke with the normal pen (N,
# width 4 set with Ctrl+N) and saves the picture before and after it (F12): the
# stroke must have painted 5 x 5 squares in the head colour at the positions the
# pen received, and nothing else.
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
wait_window 'ペン設定'
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
changed = {p for p in before if before[p] != after[p]}
xs = [x for x, _ in changed]
ys = [y for _, y in changed]
print("changed", len(changed), "box", min(xs), min(ys), max(xs), max(ys))
# The pen paints a 5 x 5 brush square at every position it receives and fills
# nothing in between. The press (client x 250) and the last move (450) always
# arrive; a busy machine may merge some moves in between, and those squares are
# then missing. So the change must be exactly whole squares at a subset of the
# sent positions that holds both ends and most of the others: one band 5 rows
# high, painted black (the head colour), with the frame layer untouched.
assert max(ys) - min(ys) == 4
shift = min(xs) - (250 - 2)
sent = [x + shift for x in range(250, 451, 4)]
def square(x):
    return {(x + dx, y) for dx in range(-2, 3) for y in range(min(ys), max(ys) + 1)}
arrived = [x for x in sent if square(x) <= changed]
print("positions painted", len(arrived), "of", len(sent))
assert arrived[0] == sent[0] and arrived[-1] == sent[-1]
assert len(arrived) >= 0.8 * len(sent)
assert changed == set().union(*(square(x) for x in arrived))
assert all(after[p][0] == 0 and after[p][1] == before[p][1] for p in changed)
PY
echo "PASS: the normal pen stroke was painted and saved"
