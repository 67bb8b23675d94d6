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

# picture <name> <r> <g> <b>: a 24-bit BMP of one colour, an odd width so that its
# rows carry padding.
python=/usr/bin/python3  # Debian's, which has PIL
[ -x "$python" ] || python=python3
picture() {
  "$python" -c "from PIL import Image; Image.new('RGB', (1001, 700), ($2, $3, $4)).save('$work/$1')"
}
picture 0001.bmp 200 30 40
picture 0002.bmp 30 160 220

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
xdotool search --sync --onlyvisible --name 'ロード' >/dev/null
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
picture 0002.bmp 20 200 60
xdotool key Left
shown 20 200 60
xdotool key Left
shown 200 30 40
xdotool key Right Right
shown 30 160 220
echo "PASS: loads through the menu and the folder walk show each file, .lmv included"
