#!/usr/bin/env bash
# End to end: Lumavex under Xvfb draws a curve the way a user does it (S, three
# clicks, Shift+Ctrl click to edit, Shift+Ctrl click to draw) and the screen shows
# a dark frame where the points were placed, on the white picture.
# Usage: lumavex_draw_curve.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/shot.png" ] && cp "$work/shot.png" /tmp/lumavex-e2e-curve-failure.png; exit 1; }

cp -r "$source_dir/resources/LMV_Resource" "$work/LMV_Resource"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data" HOME="$work"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# An X server of our own on a free display number.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

(cd "$work" && exec "$binary") &
app_pid=$!

xdotool search --sync --onlyvisible --name '^Lumavex$' >/dev/null
geometry=$(xdotool search --onlyvisible --name '^Lumavex$' getwindowgeometry)
echo "$geometry" | grep -q "Position: 0,0" || fail "window not at (0, 0): $geometry"
echo "$geometry" | grep -q "Geometry: 1280x996" || fail "window not screen minus 28: $geometry"
[ -f "$work/LMV_Resource/CurrentFileInfo.ini" ] || fail "no session file after start"
sleep 1

open_file_menu() {
  xdotool mousemove 25 10 click 1
  sleep 0.7
}

# A new white picture of the default size.
open_file_menu
xdotool key Down Return
xdotool search --sync --onlyvisible --name '新規作成' >/dev/null
sleep 0.5
xdotool key Return
sleep 2

# Darkest value (0..65535) in a box of the screen.
darkest() { import -window root "$work/shot.png"; convert "$work/shot.png" -crop "$1" -format '%[min]' info:; }

before=$(darkest 60x120+370+240)
xdotool mousemove 300 300 key s
sleep 0.5
# Without a sound device the first click's sound brings the silent-running notice once.
xdotool mousemove 300 300 click 1
sleep 0.7
if xdotool search --onlyvisible --name '音無し実行' >/dev/null 2>&1; then xdotool key Return; sleep 0.5; fi
for x in 400 500; do xdotool mousemove $x 300 click 1; sleep 0.3; done
xdotool mousemove 700 600 keydown shift keydown ctrl click 1 sleep 0.3 click 1 keyup ctrl keyup shift
sleep 1.5
after=$(darkest 60x120+370+240)
echo "darkest before $before, after $after"
[ "${before%.*}" -gt 60000 ] || fail "the picture was not white before drawing: $before"
[ "${after%.*}" -lt 20000 ] || fail "no dark frame where the curve was drawn: $after"
[ -n "${LUMAVEX_E2E_SHOT:-}" ] && cp "$work/shot.png" "$LUMAVEX_E2E_SHOT"
echo "PASS: the curve was drawn and shown"
