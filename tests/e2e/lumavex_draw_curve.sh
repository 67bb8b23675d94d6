#!/usr/bin/env bash
# End to end: Lumavex under Xvfb draws a curve the way a user does it (S, three
# clicks, Shift+Ctrl click to edit, Shift+Ctrl click to draw) and the screen shows
# a dark frame where the points were placed, on the white picture.
# Usage: lumavex_draw_curve.sh <Lumavex binary> <source folder>
# With LUMAVEX_E2E_SHOT=<file> the screenshot after drawing is kept there.
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-curve-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture

# Darkest value (0..65535) in a box of the screen.
darkest() { import -window root "$root/shot.png"; convert "$root/shot.png" -crop "$1" -format '%[min]' info:; }

before=$(darkest 60x120+370+240)
xdotool mousemove 300 300 key s
sleep 0.5
xdotool mousemove 300 300 click 1
lumavex_dismiss_silent_notice
for x in 400 500; do xdotool mousemove $x 300 click 1; sleep 0.3; done
xdotool mousemove 700 600 keydown shift keydown ctrl click 1 sleep 0.3 click 1 keyup ctrl keyup shift
sleep 1.5
after=$(darkest 60x120+370+240)
echo "darkest before $before, after $after"
[ "${before%.*}" -gt 60000 ] || fail "the picture was not white before drawing: $before"
[ "${after%.*}" -lt 20000 ] || fail "no dark frame where the curve was drawn: $after"
[ -n "${LUMAVEX_E2E_SHOT:-}" ] && cp "$root/shot.png" "$LUMAVEX_E2E_SHOT"
echo "PASS: the curve was drawn and shown"
