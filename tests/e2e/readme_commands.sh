#!/usr/bin/env bash
# End to end: both programs started the way the README says, under Xvfb.
# tools/run-lumavex.sh makes its working folder with LMV_Resource and starts Lumavex
# there; a new picture is made, and after the load dialog is cancelled the top of the
# client area (the "-先頭色-" label under the menu bar) is painted as it was before
# the dialog. tools/run-veltrane.sh makes the example movie folder and starts
# Veltrane in it; its pictures are compressed, archived, deleted and expanded back
# byte for byte, and the window shows the folder and the results.
# Usage: readme_commands.sh <build folder> <source folder>
set -euo pipefail
build=$(realpath "$1")
source_dir=$(realpath "$2")

FAILURE_SHOT=/tmp/readme-e2e-failure.png
source "$(dirname "$0")/e2e_common.sh"
# The packages are there (the test runs), and the build is the one under test.
export LUMAVEX_SKIP_SETUP=1 LUMAVEX_BUILD="$build"

# --- Lumavex through run-lumavex.sh ---
export LUMAVEX_RUN="$root/run"
"$source_dir/tools/run-lumavex.sh" >"$root/lumavex.log" 2>&1 &
app_pid=$!
window_id '^Lumavex$' 120 >/dev/null ||
  fail "Lumavex did not start: $(tail -n 5 "$root/lumavex.log")"
sleep 1
[ -f "$root/run/LMV_Resource/CurrentFileInfo.ini" ] || fail "no session file in run/LMV_Resource"
work="$root/run"
lumavex_new_picture
lumavex_dismiss_silent_notice

# The first white row of column 300 is the client area's top: the picture fills it.
client_top() {
  convert "$1" -crop 1x60+300+0 +repage txt:- |
    awk -F'[:,]' '/#FFFFFF/ { print $2; exit }'
}
# The top 40 rows of the client area's right part: labels, colour strip, picture.
top_right() {
  convert "$1" -crop "400x40+880+$2" +repage -depth 8 rgb:- | md5sum
}
import -window root "$root/before.png"
top=$(client_top "$root/before.png")
[ -n "$top" ] || fail "no picture under the menu bar"
before=$(top_right "$root/before.png" "$top")

lumavex_open_file_menu
xdotool key Down Down Return  # ロード
wait_window '^ロード$'
sleep 0.7
xdotool key Escape
sleep 1.5
import -window root "$root/after.png"
[ "$(top_right "$root/after.png" "$top")" = "$before" ] ||
  fail "the top of the client area was not painted again after the dialog closed"

lumavex_open_file_menu
xdotool key Up Return  # 終了
wait_app 1

# --- Veltrane through run-veltrane.sh ---
export VELTRANE_RUN="$root/movie"
"$source_dir/tools/run-veltrane.sh" >"$root/veltrane.log" 2>&1 &
app_pid=$!
window_id '^Veltrane$' 120 >/dev/null ||
  fail "Veltrane did not start: $(tail -n 5 "$root/veltrane.log")"
sleep 1
movie="$root/movie"
[ -f "$movie/Compress.ini" ] || fail "no Compress.ini in the example folder"
mkdir "$root/reference"
cp "$movie"/*.bmp "$movie/voice.wav" "$root/reference/"

# Opens コマンド and chooses its item `n` (1..6) with the keyboard.
choose() {
  xdotool mousemove 25 10 click 1
  sleep 0.7
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
}
answer() {
  wait_window "^$1\$"
  sleep 0.3
  xdotool key Return
  sleep 0.7
}
# Dark pixels of the lines under the progress strip (left half of the window).
ink() {
  import -window root "$root/veltrane.png"
  convert "$root/veltrane.png" -crop 400x60+0+30 +repage -threshold 50% -format '%[fx:int(w*h*(1-mean))]' info:
}
[ "$(ink)" -gt 200 ] || fail "the window shows no folder and backup lines"

choose 1  # compress
answer '圧縮完了'
ls "$movie"/*.VTZ >/dev/null 2>&1 || fail "no .VTZ files made"
choose 2  # archive
answer '圧縮完了'
[ "$(ls "$movie"/*.zip | wc -l)" -eq "$(($(ls "$movie"/*.VTZ | wc -l) + 1))" ] ||
  fail "not one archive per .VTZ file and sound"
rm "$movie"/*.bmp "$movie"/*.VTZ "$movie/voice.wav"
choose 3  # extract
answer '展開完了'
choose 4  # expand
answer '展開完了'
for file in "$root/reference"/*; do
  cmp -s "$file" "$movie/$(basename "$file")" || fail "$(basename "$file") did not come back"
done
[ "$(ink)" -gt 300 ] || fail "the window shows no result line"
choose 6  # quit
wait_app 1
echo "PASS: both README commands start their program; the example movie goes round byte for byte"
