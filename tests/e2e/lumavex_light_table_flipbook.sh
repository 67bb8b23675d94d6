#!/usr/bin/env bash
# End to end: Lumavex under Xvfb loads the middle one of a folder's pictures, shows its
# neighbours under it with K and hides them again, then plays the folder with J: the
# view must show the pictures in order and return to the edited one, as it was, when
# the play ends or a key stops it.
# Usage: lumavex_light_table_flipbook.sh <Lumavex binary> <source folder> [screenshot]
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
shot="${3:-}"
FAILURE_SHOT=/tmp/lumavex-e2e-lighttable-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"

# Twelve pictures: 0001 reddish, 0002 white (the edited one), 0003 bluish, then greys
# that tell the flipbook's order apart.
solid_bmp 0001.bmp 640 480 200 30 40
solid_bmp 0002.bmp 640 480 255 255 255
solid_bmp 0003.bmp 640 480 30 160 220
for i in $(seq 4 12); do solid_bmp "$(printf %04d "$i").bmp" 640 480 $((i * 20 + 1)) $((i * 20 + 1)) $((i * 20 + 1)); done

pixel() {
  import -window root -crop 1x1+300+300 -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n1
}
# shown <r> <g> <b>: the view's colour at a point of the picture.
shown() {
  local want="$1,$2,$3" got=""
  for _ in $(seq 25); do
    got=$(pixel)
    [ "$got" = "$want" ] && return 0
    sleep 0.2
  done
  fail "the view shows $got, expected $want"
}

lumavex_open_file_menu
xdotool key Down Down Return
wait_window 'ロード'
sleep 0.7
xdotool type --delay 50 0002.bmp
xdotool key Return
lumavex_dismiss_silent_notice
shown 255 255 255

# The neighbours at opacity 128: 0001 (lightness 90) tints green and blue to 172,
# 0003 (lightness 136) tints red and green to 195; white multiplied by both.
xdotool key k
shown 195 132 172
[ -n "$shot" ] && import -window root "$shot"
xdotool key k
shown 255 255 255

# The play at 12 pictures a second: sample the view while it runs.
xdotool key j
seen=""
for _ in $(seq 40); do
  seen="$seen $(pixel | cut -d, -f1)"
  sleep 0.04
done
shown 255 255 255
# The greys come in rising order, and the samples catch most of them.
last=0
count=0
for value in $seen; do
  if [ $((value % 20)) -eq 1 ] && [ "$value" -ge 81 ] && [ "$value" -le 241 ]; then
    [ "$value" -ge "$last" ] || fail "the play went back from $last to $value (saw:$seen)"
    [ "$value" -gt "$last" ] && count=$((count + 1))
    last=$value
  fi
done
[ "$count" -ge 2 ] || fail "the play showed too few pictures (saw:$seen)"

# A key stops the play at once and the edited picture comes back.
xdotool key j
sleep 0.2
xdotool key Escape
shown 255 255 255
sleep 1
shown 255 255 255
echo "PASS: the light table tints the neighbours and the flipbook plays the folder in order"
