# Shared by the end-to-end scripts: a temporary root folder that is removed at
# exit, a desktop environment of its own (runtime folder, trash), an X server of
# its own on a free display number, and the program started in a working folder.
# The caller sets FAILURE_SHOT (where a failure's screenshot is kept) before sourcing.

root=$(mktemp -d)
xvfb_pid=""
app_pid=""

# stop_process <pid>: asks a child process to end, kills it if it has not after 5 s,
# and returns only once it is gone, so that no program or X server of one test is
# still shutting down while the next test starts its own.
stop_process() {
  kill "$1" 2>/dev/null || return 0
  (sleep 5; kill -9 "$1" 2>/dev/null) >/dev/null 2>&1 &
  local killer=$!
  wait "$1" 2>/dev/null || true
  kill "$killer" 2>/dev/null || true
}

e2e_cleanup() {
  [ -n "$app_pid" ] && stop_process "$app_pid"
  [ -n "$xvfb_pid" ] && stop_process "$xvfb_pid"
  rm -rf "$root"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*"
  import -window root "$root/failure.png" 2>/dev/null && cp "$root/failure.png" "${FAILURE_SHOT:-/tmp/e2e-failure.png}"
  exit 1
}

mkdir -m 700 "$root/runtime"
export XDG_RUNTIME_DIR="$root/runtime" XDG_DATA_HOME="$root/data" HOME="$root"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# Without -noreset the server starts afresh whenever its last client leaves, and
# refuses connections meanwhile: the program, started just after the check below has
# disconnected, could then find no display.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$root/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$root/display" ] && break; sleep 0.1; done
[ -s "$root/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$root/display")"
# The server has announced its number; wait until it also takes connections.
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation >/dev/null 2>&1 || fail "the X server $DISPLAY takes no connections"

# visible_windows <name pattern>: the ids of the visible windows whose name matches,
# one a line, nothing when none does. xdotool dies with BadWindow when a window it is
# looking at vanishes meanwhile, as the programs' short-lived helper windows do while
# they start and open dialogs; such a try is simply made again.
visible_windows() {
  local ids
  for _ in $(seq 50); do
    if ids=$(xdotool search --onlyvisible --name "$1" 2>"$root/xdotool.err"); then
      echo "$ids"
      return 0
    fi
    grep -q "X Error" "$root/xdotool.err" || return 0  # no window matched
    sleep 0.05
  done
  echo "FAIL: xdotool kept failing to list the windows: $(head -n1 "$root/xdotool.err")" >&2
  return 2
}

# window_id <name pattern> [seconds]: waits up to the given seconds (60 by default)
# for a visible window whose name matches and prints its id.
window_id() {
  local deadline=$((SECONDS + ${2:-60})) ids
  while :; do
    ids=$(visible_windows "$1") || return 2
    [ -n "$ids" ] && { echo "$ids" | head -n1; return 0; }
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# wait_window <name pattern> [seconds]: waits for a visible window whose name matches.
wait_window() { window_id "$@" >/dev/null || fail "no window '$1' after ${2:-60} s"; }

# start_app <binary> <working folder>: starts the program there; app_pid is its process.
start_app() {
  (cd "$2" && exec "$1") &
  app_pid=$!
}

# wait_app <expected exit code>: waits for the program to end with that code.
wait_app() {
  set +e
  wait "$app_pid"
  local code=$?
  set -e
  app_pid=""
  [ "$code" -eq "$1" ] || fail "exit code $code, expected $1"
}

# Lumavex in a fresh working folder "$root/work" with its resource folder; waits
# for its window.
lumavex_start() {
  work="$root/work"
  mkdir -p "$work"
  cp -r "$2/resources/LMV_Resource" "$work/LMV_Resource"
  start_app "$1" "$work"
  wait_window '^Lumavex$'
  sleep 1
}

lumavex_open_file_menu() {
  xdotool mousemove 25 10 click 1
  sleep 0.7
}

# ファイル → 新規作成 (the first item), then OK with the size the dialog offers.
lumavex_new_picture() {
  lumavex_open_file_menu
  xdotool key Down Return
  wait_window '新規作成'
  sleep 0.5
  xdotool key Return
  sleep 2
}

# Without a sound device the first sound brings the silent-running notice once.
lumavex_dismiss_silent_notice() {
  sleep 0.7
  if [ -n "$(visible_windows '音無し実行')" ]; then
    xdotool key Return
    sleep 0.5
  fi
}

# An ellipse dragged from (250, 250) to (450, 380) and drawn (Ctrl+Shift+S, then
# Shift+Ctrl click).
lumavex_draw_ellipse() {
  xdotool key ctrl+shift+s
  sleep 0.3
  xdotool mousemove 250 250 mousedown 1 mousemove 350 300 mousemove 450 380 mouseup 1
  sleep 0.3
  xdotool keydown shift keydown ctrl click 1 keyup ctrl keyup shift
  sleep 1
}

# A Shift+Ctrl click at (x, y).
shift_ctrl_click() { xdotool mousemove "$1" "$2" keydown shift keydown ctrl click 1 keyup ctrl keyup shift; sleep 0.5; }

# On a new picture: the ellipse of lumavex_draw_ellipse filled black with the
# region fill (P) clicked at its centre, (350, 315).
lumavex_filled_ellipse() {
  xdotool mousemove 200 200 click 1
  lumavex_dismiss_silent_notice
  lumavex_draw_ellipse
  xdotool key p
  sleep 0.3
  xdotool mousemove 350 315 click 1
  sleep 1
}

# 曲面、貼り付け → 曲面をメモリへコピー (its fifth item): the band between curve 1
# above that ellipse (y = 230) and curve 2 below it (y = 400).
lumavex_copy_ellipse_band() {
  xdotool mousemove 560 8 click 1
  sleep 0.7
  xdotool key Down Down Down Down Down Return
  sleep 0.5
  for x in 230 470; do xdotool mousemove $x 230 click 1; sleep 0.3; done
  shift_ctrl_click 700 600
  for x in 230 470; do xdotool mousemove $x 400 click 1; sleep 0.3; done
  shift_ctrl_click 700 600
  shift_ctrl_click 700 600
}

# LMVセーブ (F12) under the typed name, in the working folder; waits for the file.
lumavex_save_native() {
  xdotool key F12
  wait_window 'LMVセーブ'
  sleep 0.7
  xdotool type --delay 50 "$1"
  xdotool key Return
  for _ in $(seq 50); do [ -f "$work/$1" ] && break; sleep 0.2; done
  [ -f "$work/$1" ] || fail "$1 was not saved"
  sleep 0.5
}

# solid_bmp <name> <width> <height> <r> <g> <b>: a 24-bit BMP of one colour in the
# working folder, made with Debian's python3 and its PIL.
solid_bmp() {
  local python=/usr/bin/python3
  [ -x "$python" ] || python=python3
  "$python" -c "from PIL import Image; Image.new('RGB', ($2, $3), ($4, $5, $6)).save('$work/$1')"
}
