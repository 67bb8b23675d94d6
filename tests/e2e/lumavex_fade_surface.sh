#!/usr/bin/env bash
# End to end: Lumavex under Xvfb draws a gentle fade surface the way a user does it
# (Z, two clicks for the fade curve, Shift+Ctrl click, two clicks 60 pixels lower
# for the width curve, Shift+Ctrl click to edit, Shift+Ctrl click to draw) and saves
# the picture before, after and after one undo (U): the band between the curves is
# shaded darkest along the fade curve, nothing outside it changes, and one undo
# brings the picture back.
# Usage: lumavex_fade_surface.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-fade-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture

xdotool mousemove 200 150 click 1
lumavex_dismiss_silent_notice
lumavex_save_native before.lmv

xdotool mousemove 300 300 key z
sleep 0.5
for x in 200 500; do xdotool mousemove $x 200 click 1; sleep 0.3; done
shift_ctrl_click 700 600
for x in 200 500; do xdotool mousemove $x 260 click 1; sleep 0.3; done
shift_ctrl_click 700 600
shift_ctrl_click 700 600
sleep 1.5
[ -n "${LUMAVEX_E2E_SHOT:-}" ] && import -window root "$LUMAVEX_E2E_SHOT"
lumavex_save_native after.lmv
xdotool mousemove 300 300 key u
sleep 1
lumavex_save_native undone.lmv

PYTHONPATH="$(dirname "$0")" python3 - "$work/before.lmv" "$work/after.lmv" "$work/undone.lmv" <<'PY' || fail "the fade surface was not drawn as expected"
import sys
from lmv_words import pixels as words_of

def pixels(path):
    return {p: colour for p, (colour, _) in words_of(path).items()}

before, after, undone = (pixels(p) for p in sys.argv[1:4])
changed = [p for p in before if before[p] != after[p]]
xs = [x for x, _ in changed]
ys = [y for _, y in changed]
print("changed", len(changed), "box", min(xs), min(ys), max(xs), max(ys))
# The band: 300 pixels along, 60 across (with a pixel of tolerance at each edge).
assert 295 <= max(xs) - min(xs) <= 302
assert 55 <= max(ys) - min(ys) <= 62
assert len(changed) > 300 * 50
top, bottom = min(ys), max(ys)
mid = (min(xs) + max(xs)) // 2
# Black over white, darkest at the fade curve and fading towards the width curve.
near, far = after[(mid, top + 2)] & 0xFF, after[(mid, bottom - 2)] & 0xFF
print("blue near the fade curve", near, "near the width curve", far)
assert near < 20 and far > 200
assert undone == before
PY
echo "PASS: the gentle fade surface was drawn, saved and undone"
