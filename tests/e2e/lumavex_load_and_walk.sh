#!/usr/bin/env bash
# End to end: Lumavex under Xvfb loads a BMP through ファイル → ロード, walks the
# folder's pictures with Right and Left, saves one as .lmv (F12) and walks back to
# the saved file: each step must show that file's colour.
# Usage: lumavex_load_and_walk.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-walk-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"

# Two one-colour pictures, an odd width so that their rows carry padding.
solid_bmp 0001.bmp 1001 700 200 30 40
solid_bmp 0002.bmp 1001 700 30 160 220

# shown <r> <g> <b>: the picture's colour at a point of the view.
shown() {
  local want="$1,$2,$3" got=""
  for _ in $(seq 25); do
    got=$(import -window root -crop 1x1+400+300 -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n1)
    [ "$got" = "$want" ] && return 0
    sleep 0.2
  done
  fail "the view shows $got, expected $want"
}

lumavex_open_file_menu
xdotool key Down Down Return
wait_window 'ロード'
sleep 0.7
xdotool type --delay 50 0001.bmp
xdotool key Return
lumavex_dismiss_silent_notice
shown 200 30 40

xdotool key Right
shown 30 160 220

lumavex_save_native 0003.lmv
[ "$(stat -c %s "$work/0003.lmv")" -eq $((1001 * 700 * 8 + 54)) ] || fail "0003.lmv has the wrong size"

# 0002.bmp changes on the disk: walking back must read it again.
solid_bmp 0002.bmp 1001 700 20 200 60
xdotool key Left
shown 20 200 60
xdotool key Left
shown 200 30 40
xdotool key Right Right
shown 30 160 220
echo "PASS: loads through the menu and the folder walk show each file, .lmv included"
