#!/usr/bin/env bash
# End to end: Lumavex under Xvfb pastes a copied band across a movie of five pictures
# held in memory, the way a user does it: a filled ellipse is drawn and saved as
# init.lmv, the band around it is copied to memory, 連続貼り付け → 対象ファイル郡作成
# makes walk0001 .. walk0005 from the dropped init.lmv (a synthesised XDND drop);
# group 1 is kept at the copy position on file 0, group 2 is set on file 4 with the
# curves moved 400 pixels to the right (5 and a left drag), span 1～2 is run from the
# midpoint with a Shift+Ctrl click, and the group is saved. Every saved file must hold
# the ellipse moved by a quarter of the way more than the one before, word for word.
# Usage: lumavex_continuous_paste.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-continuous-paste-failure.png
source "$(dirname "$0")/e2e_common.sh"

# The continuous paste popup (its title is the seventh, about 750 pixels in), then
# <keys> among its enabled items. A popup opened by a click has no item active yet,
# so the first Down takes the first enabled item.
continuous_menu() {
  xdotool mousemove 750 8 click 1
  sleep 0.7
  xdotool key "$@"
  sleep 0.2
  xdotool key Return
  sleep 0.7
}
wait_dialog() { wait_window "$1"; sleep 0.7; }

lumavex_start "$binary" "$source_dir"
lumavex_new_picture
lumavex_filled_ellipse  # from (250, 250) to (450, 380)
lumavex_save_native init.lmv

lumavex_copy_ellipse_band

# 対象ファイル郡作成: head walk0001, five files, then the initialisation picture.
continuous_menu Down
wait_dialog 'メモリから連続貼り付け対象ファイル郡作成'
xdotool type --delay 50 walk0001
xdotool key Tab
xdotool type --delay 50 5
xdotool key Return
wait_dialog '貼り付け先初期化ファイル指定'
xdotool key Return
sleep 0.5
window=$(window_id '^Lumavex$')
python3 "$(dirname "$0")/xdnd_drop.py" "$window" 400 300 "$work/init.lmv" || fail "the window took no drop"
sleep 1.5

# Group 1 at the copy position on file 0, group 2 on file 4 moved 400 to the right.
continuous_menu Down Down Down
sleep 0.5
continuous_menu Down Down Down Down
wait_dialog '貼り付け対象ファイル名２を指定'
xdotool key Home Down Down Down Down Return  # the list starts at file 0
sleep 1
xdotool mousemove 350 315 key 5
sleep 0.3
xdotool mousedown 1
for x in 400 500 600 700 750; do xdotool mousemove $x 315; sleep 0.1; done
xdotool mouseup 1
sleep 0.5

# Span 1～2 (the seventh enabled item now): the midpoint is kept as it is.
continuous_menu Down Down Down Down Down Down Down
sleep 0.5
[ -n "${LUMAVEX_E2E_SHOT:-}" ] && import -window root "$LUMAVEX_E2E_SHOT"
shift_ctrl_click 1000 700
sleep 2

# 対象ファイル郡セーブ: the last item.
continuous_menu Up
for _ in $(seq 50); do [ -f "$work/walk0005.lmv" ] && break; sleep 0.2; done
[ -f "$work/walk0005.lmv" ] || fail "the group was not saved"
sleep 1

PYTHONPATH="$(dirname "$0")" python3 - "$work" <<'PY' || fail "the span did not move the ellipse a quarter of the way per picture"
import sys
from lmv_words import words

# The display colours row by row, top row first (the file keeps its rows bottom-up,
# each row's display words before its frame words).
def rows(path):
    width, height, all_words = words(path)
    starts = [(height - 1 - y) * width * 2 for y in range(height)]
    return [[w & 0xFFFFFF for w in all_words[i:i + width]] for i in starts]

folder = sys.argv[1]
init = rows(folder + "/init.lmv")
dark = [(x, y) for y, row in enumerate(init) for x, c in enumerate(row) if c == 0]
assert len(dark) > 15000
left = min(x for x, _ in dark)
right = max(x for x, _ in dark)
inner = [(x, y) for (x, y) in dark if left + 12 <= x <= right - 12]
for k in range(5):
    got = rows("%s/walk%04d.lmv" % (folder, k + 1))
    shift = 100 * k
    wrong = [(x, y) for (x, y) in inner if got[y][x + shift] != 0]
    print("file", k, "shift", shift, "wrong", len(wrong))
    assert not wrong
    # Nothing right of the pasted band changed.
    edge = right + shift + 41
    assert all(g[edge:] == i[edge:] for g, i in zip(got, init))
PY
echo "PASS: the band was pasted along span 1～2 into every picture of the group and saved"
