#!/usr/bin/env bash
# End to end: Veltrane in a movie folder under Xvfb compresses every picture into
# ".VTZ" files (the stale one goes to the trash), packs them and a sound into ".zip"
# archives, and after the pictures, ".VTZ" files and sound are deleted, extracts the
# archives and expands the ".VTZ" files again: every file must come back byte for
# byte. Every command is chosen from the コマンド menu, every report is answered with
# Return, and 終了 ends the tool with exit code 1.
# Usage: veltrane_round_trip.sh <Veltrane binary>
# With VELTRANE_E2E_SHOT=<file> the screenshot taken after compressing is kept there.
set -euo pipefail
binary=$(realpath "$1")

FAILURE_SHOT=/tmp/veltrane-e2e-failure.png
source "$(dirname "$0")/e2e_common.sh"
work="$root/movie"
reference="$root/reference"
backup="$root/backup"
mkdir "$work" "$reference" "$backup"

# The movie: three frames of one size and one of another (two ".VTZ" runs), two
# native pictures that differ in a few bytes, a sound, a stale ".VTZ" and the settings.
for i in 0 1 2; do
  convert -size 40x30 xc:'rgb(250,240,230)' -fill 'rgb(20,40,200)' \
    -draw "rectangle $((i * 5)),4 $((i * 5 + 12)),20" "BMP3:$work/000$i.bmp"
done
convert -size 17x9 xc:'rgb(1,2,3)' "BMP3:$work/0003.bmp"
head -c 6000 /dev/urandom >"$work/0000.lmv"
cp "$work/0000.lmv" "$work/0001.lmv"
printf '\x01\x02\x03' | dd of="$work/0001.lmv" bs=1 seek=2500 conv=notrunc status=none
head -c 3000 /dev/urandom >"$work/voice.wav"
printf 'stale' >"$work/old.VTZ"
printf 'BackupPath=%s\n' "$backup" >"$work/Compress.ini"
cp "$work"/*.bmp "$work"/*.lmv "$work/voice.wav" "$reference/"

start_app "$binary" "$work"

wait_window '^Veltrane$'
geometry=$(xdotool getwindowgeometry "$(window_id '^Veltrane$')")
echo "$geometry" | grep -q "Position: 0,0" || fail "window not at (0, 0): $geometry"
echo "$geometry" | grep -q "Geometry: 800x100" || fail "window not 800 x 100: $geometry"
sleep 1

# Opens コマンド and chooses its item `n` (1..6) with the keyboard.
choose() {
  xdotool mousemove 25 10 click 1
  sleep 0.7
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
}

# Waits for the message box titled `caption`, answers it with Return and waits until
# it is gone.
answer() {
  local caption=$1
  wait_window "^$caption\$"
  sleep 0.3
  xdotool key Return
  for _ in $(seq 50); do
    [ -n "$(visible_windows "^$caption\$")" ] || return 0
    sleep 0.1
  done
  fail "message box '$caption' did not close"
}

# The strip of the client area: black rows in a column of the window (x = 700).
black_rows() {
  convert "$1" -crop 1x100+700+0 +repage txt:- | grep -c '#000000' || true
}

choose 1  # カレントフォルダの全 *.bmp *.lmv を *.VTZ に圧縮
answer '圧縮完了'
for name in 0002.bmp.VTZ 0003.bmp.VTZ 0001.lmv.VTZ; do
  [ -f "$work/$name" ] || fail "$name not made"
done
[ ! -e "$work/old.VTZ" ] || fail "the stale .VTZ is still there"
[ -f "$root/data/Trash/files/old.VTZ" ] || fail "the stale .VTZ is not in the trash"
sleep 0.5
import -window root "$root/shot.png"
[ -n "${VELTRANE_E2E_SHOT:-}" ] && cp "$root/shot.png" "$VELTRANE_E2E_SHOT"
rows=$(black_rows "$root/shot.png")
[ "$rows" -eq 8 ] || fail "expected the 8 black rows of the finished strip, found $rows"

choose 2  # カレントフォルダの全 *.VTZ *.wav を *.zip に圧縮
answer '圧縮完了'
for name in 0002.bmp.VTZ 0003.bmp.VTZ 0001.lmv.VTZ voice.wav; do
  [ -f "$work/$name.zip" ] || fail "$name.zip not made"
done

rm "$work"/*.bmp "$work"/*.lmv "$work"/*.VTZ "$work/voice.wav"

choose 3  # カレントフォルダの全 *.zip を展開
answer '展開完了'
choose 4  # カレントフォルダの全 *.VTZ を *.bmp *.lmv に展開
answer '展開完了'

for file in "$reference"/*; do
  name=$(basename "$file")
  [ -f "$work/$name" ] || fail "$name did not come back"
  cmp -s "$file" "$work/$name" || fail "$name came back different"
done

choose 6  # 終了
wait_app 1
echo "PASS: $(ls "$reference" | wc -l) files back byte for byte, stale .VTZ in the trash, ended with 1"
