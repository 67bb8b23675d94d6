#!/usr/bin/env bash
# End to end: Lumavex in a fresh working folder under Xvfb creates a white picture
# through ファイル → 新規作成, shows it, and ends through ファイル → 終了 with exit code
# 1, leaving no session file behind (it goes to the trash).
# Usage: lumavex_new_and_end.sh <Lumavex binary> <source folder>
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
fail() { echo "FAIL: $*"; [ -f "$work/shot.png" ] && cp "$work/shot.png" /tmp/lumavex-e2e-failure.png; exit 1; }

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

# ファイル → 新規作成 (first item), then OK with the default size.
open_file_menu
xdotool key Down Return
xdotool search --sync --onlyvisible --name '新規作成' >/dev/null
sleep 0.5
xdotool key Return
sleep 2

import -window root "$work/shot.png"
pixel=$(convert "$work/shot.png" -format '%[pixel:p{300,300}]' info:)
case "$pixel" in
  *white*|*"255,255,255"*|*"gray(255)"*) ;;
  *) fail "the new picture is not shown white at (300, 300): $pixel" ;;
esac

# ファイル → 終了 (last item).
open_file_menu
xdotool key Up Return

set +e
wait "$app_pid"
code=$?
set -e
app_pid=""
[ "$code" -eq 1 ] || fail "exit code $code, expected 1"
[ ! -e "$work/LMV_Resource/CurrentFileInfo.ini" ] || fail "session file left behind"
[ -f "$work/data/Trash/files/CurrentFileInfo.ini" ] || fail "session file not in the trash"
echo "PASS: new picture shown, ended with 1, session file in the trash"
