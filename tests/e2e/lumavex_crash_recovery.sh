#!/usr/bin/env bash
# End to end: Lumavex under Xvfb draws curves and an ellipse, saves the picture
# (F12), is killed with SIGKILL, starts again in the same folder, accepts the
# recovery question, and saves the rebuilt picture: both files must be equal.
# Usage: lumavex_crash_recovery.sh <Lumavex binary> <source folder>
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
FAILURE_SHOT=/tmp/lumavex-e2e-recovery-failure.png
source "$(dirname "$0")/e2e_common.sh"

lumavex_start "$binary" "$source_dir"
lumavex_new_picture

both_click() { xdotool keydown shift keydown ctrl click "$1" keyup ctrl keyup shift; sleep 0.5; }
curve() {
  xdotool mousemove "$1" "$2" key s
  sleep 0.3
  shift 2
  while [ $# -gt 0 ]; do xdotool mousemove "$1" "$2" click 1; sleep 0.3; shift 2; done
  both_click 1
  both_click 1
  both_click 3  # clear the points for the next curve
}

xdotool mousemove 200 200 click 1
lumavex_dismiss_silent_notice
curve 100 100 300 150 500 120 700 300
curve 150 400 400 600 650 450
xdotool key ctrl+s  # a transparent curve over the others
sleep 0.3
xdotool mousemove 120 500 click 1 sleep 0.3 mousemove 600 110 click 1 sleep 0.3
both_click 1
both_click 1
both_click 3
xdotool key ctrl+shift+s  # an ellipse dragged from (250, 250) to (450, 380)
sleep 0.3
xdotool mousemove 250 250 mousedown 1 mousemove 350 300 mousemove 450 380 mouseup 1
sleep 0.3
both_click 1
sleep 1

lumavex_save_native before.lmv
[ -s "$work/LMV_Resource/UndoFile00.dat" ] || fail "no undo file was written"

kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
[ -f "$work/LMV_Resource/CurrentFileInfo.ini" ] || fail "the session file did not survive the kill"

start_app "$binary" "$work"
wait_window 'リドゥー復帰機能'
sleep 0.5
xdotool key Return
wait_window '^Lumavex$'
sleep 2
lumavex_save_native after.lmv
[ -n "${LUMAVEX_E2E_KEEP:-}" ] && cp "$work"/*.lmv "$work/LMV_Resource/CurrentFileInfo.ini" "$LUMAVEX_E2E_KEEP"/
cmp -s "$work/before.lmv" "$work/after.lmv" || fail "the rebuilt picture differs from the saved one"
echo "PASS: the picture rebuilt after SIGKILL equals the one saved before it"
