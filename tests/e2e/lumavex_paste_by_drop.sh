#!/usr/bin/env bash
# End to end: Lumavex under Xvfb pastes a BMP into dropped numbered pictures through
# 曲面、貼り付け → 連続でファイルから単純ペースト: the step "+100" is kept in
# ファイル名変更規則指定, the picture chosen, and two .lmv files dropped on the window
# (a synthesised XDND drop). Each is saved under its number plus 100 with the picture
# at its top-left; the dropped files stay as they were and the run ends in magenta.
# Usage: lumavex_paste_by_drop.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-paste-by-drop-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture
lumavex_dismiss_silent_notice

solid_bmp paste.bmp 50 40 20 200 60
lumavex_save_native c0003.lmv
lumavex_dismiss_silent_notice
cp "$work/c0003.lmv" "$work/c0004.lmv"
before=$(md5sum < "$work/c0003.lmv")

# The sixth popup of the menu bar; from the bottom: three border and opacity
# commands, the string paste, then the paste by drop.
lumavex_open_file_menu
xdotool key Right Right Right Right Right
sleep 0.5
xdotool key Up Up Up Up Up Return
wait_window 'ファイル名変更規則指定'
sleep 0.7
xdotool key Return
wait_window '連続でファイルから単純ペースト'
sleep 0.7
xdotool type --delay 50 paste.bmp
xdotool key Return
sleep 1

window=$(window_id '^Lumavex$')
python3 "$(dirname "$0")/xdnd_drop.py" "$window" 400 300 "$work/c0003.lmv" "$work/c0004.lmv" ||
  fail "the window took no drop"
for _ in $(seq 50); do [ -f "$work/c0104.lmv" ] && break; sleep 0.2; done
[ -f "$work/c0103.lmv" ] && [ -f "$work/c0104.lmv" ] || fail "the renumbered files were not saved"
[ "$(md5sum < "$work/c0003.lmv")" = "$before" ] || fail "the dropped file changed"

PYTHONPATH="$(dirname "$0")" python3 - "$work/c0103.lmv" "$work/c0104.lmv" <<'PY' || fail "the saved files do not hold the paste at their top-left"
import sys
from lmv_words import pixels

for path in sys.argv[1:]:
    p = pixels(path)
    green = [q for q in p if p[q][0] == 0x14C83C]
    xs = [x for x, _ in green]
    ys = [y for _, y in green]
    print(path, "pasted", len(green), "box", min(xs), min(ys), max(xs), max(ys))
    assert len(green) == 50 * 40
    assert (min(xs), min(ys), max(xs), max(ys)) == (0, 0, 49, 39)
PY
got=$(import -window root -crop 1x1+400+300 -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n1)
[ "$got" = "255,0,255" ] || fail "the view shows $got after the run, not magenta"
echo "PASS: the dropped pictures were pasted into and saved under their numbers plus 100"
