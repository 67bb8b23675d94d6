#!/usr/bin/env bash
# End to end: Lumavex in a fresh working folder under Xvfb creates a white picture
# through ファイル → 新規作成, shows it, and ends through ファイル → 終了 with exit code
# 1, leaving no session file behind (it goes to the trash).
# Usage: lumavex_new_and_end.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")

FAILURE_SHOT=/tmp/lumavex-e2e-failure.png
source "$(dirname "$0")/e2e_common.sh"
lumavex_start "$binary" "$source_dir"
geometry=$(xdotool getwindowgeometry "$(window_id '^Lumavex$')")
echo "$geometry" | grep -q "Position: 0,0" || fail "window not at (0, 0): $geometry"
echo "$geometry" | grep -q "Geometry: 1280x996" || fail "window not screen minus 28: $geometry"
[ -f "$work/LMV_Resource/CurrentFileInfo.ini" ] || fail "no session file after start"

lumavex_new_picture

import -window root "$root/shot.png"
pixel=$(convert "$root/shot.png" -format '%[pixel:p{300,300}]' info:)
case "$pixel" in
  *white*|*"255,255,255"*|*"gray(255)"*) ;;
  *) fail "the new picture is not shown white at (300, 300): $pixel" ;;
esac

# ファイル → 終了 (last item).
lumavex_open_file_menu
xdotool key Up Return

wait_app 1
[ ! -e "$work/LMV_Resource/CurrentFileInfo.ini" ] || fail "session file left behind"
[ -f "$root/data/Trash/files/CurrentFileInfo.ini" ] || fail "session file not in the trash"
echo "PASS: new picture shown, ended with 1, session file in the trash"
