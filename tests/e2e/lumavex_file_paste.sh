#!/usr/bin/env bash
# End to end: Lumavex under Xvfb pastes a BMP from a file through 曲面、貼り付け →
# ファイルから単純ペースト: the picture is chosen in the open dialog, its top-left
# corner typed into ペースト左上座標指定, it shows inside its corners, and a Shift+Ctrl
# click pastes it. The saved .lmv holds it at that place; one undo takes it away.
# Usage: lumavex_file_paste.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-file-paste-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture
lumavex_dismiss_silent_notice

solid_bmp paste.bmp 120 90 200 30 40

# shown <x> <y> <r> <g> <b>: the colour of a screen point.
shown() {
  local want="$3,$4,$5" got=""
  for _ in $(seq 25); do
    got=$(import -window root -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n1)
    [ "$got" = "$want" ] && return 0
    sleep 0.2
  done
  fail "($1, $2) shows $got, expected $want"
}

# The sixth popup of the menu bar; its last items, from the bottom, are the three
# border and opacity commands, then the string paste, the paste by drop and the
# simple paste.
lumavex_open_file_menu
xdotool key Right Right Right Right Right
sleep 0.5
xdotool key Up Up Up Up Up Up Return
wait_window 'ファイルから単純ペースト'
sleep 0.7
xdotool type --delay 50 paste.bmp
xdotool key Return
wait_window 'ペースト左上座標指定'
sleep 0.7
# The corner at (300, 200), shown 1-based.
xdotool type --delay 50 301
xdotool key Tab
xdotool type --delay 50 201
xdotool key Return
sleep 1

# The window's client area starts below the menu bar: find the picture's top-left
# on the screen from the white of the new picture around it.
geometry=$(xdotool getwindowgeometry --shell "$(window_id '^Lumavex$')" | tr '\n' ' ')
eval "$geometry"
shown $((X + 360)) $((Y + 300)) 200 30 40   # inside the picture: shown before the paste

xdotool mousemove $((X + 700)) $((Y + 500)) keydown shift keydown ctrl click 1 keyup ctrl keyup shift
lumavex_dismiss_silent_notice
sleep 1
lumavex_save_native pasted.lmv

xdotool mousemove $((X + 700)) $((Y + 500)) key u
sleep 1
lumavex_save_native undone.lmv

PYTHONPATH="$(dirname "$0")" python3 - "$work/pasted.lmv" "$work/undone.lmv" <<'PY' || fail "the picture was not pasted at (300, 200), or not undone in one step"
import sys
from lmv_words import pixels

undone = pixels(sys.argv[2])
assert all(colour == 0xFFFFFF for colour, _ in undone.values())
p = pixels(sys.argv[1])
red = [q for q in p if p[q][0] == 0xC81E28]
xs = [x for x, _ in red]
ys = [y for _, y in red]
print("pasted", len(red), "box", min(xs), min(ys), max(xs), max(ys))
assert len(red) == 120 * 90
assert (min(xs), min(ys), max(xs), max(ys)) == (300, 200, 419, 289)
PY
echo "PASS: the picture from the file was shown in place, pasted at the typed corner, saved and undone in one step"
