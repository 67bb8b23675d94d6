#!/usr/bin/env bash
# Crash soak: drawing sessions of the real Lumavex under Xvfb, each killed with SIGKILL
# at a random moment of a fixed script of operations (curves, ellipses, a fill, pen
# strokes, undo and redo), restarted, with the recovery accepted and the rebuilt
# picture saved.
#
# A reference run plays the script once without a crash and, after each operation i,
# keeps the picture (ref-i.lmv) and a digest of the undo files and the position file.
# A session plays operations 1..j, checks that its undo files match the reference's
# after j, starts operation j+1, is killed after a random delay and rebuilt. The
# picture must equal ref-(j+1) when the files on the disk are those the reference had
# after operation j+1 (its records reached the disk), and ref-j otherwise.
#
# Usage: tools/crash-soak.sh [sessions (100)] [seed (1)]
# LUMAVEX_BUILD names the build folder (build); LUMAVEX_SOAK_WORKERS runs sessions on
# that many X servers side by side (1). Prints "N/M sessions passed"; fails unless all.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd)
binary=$(realpath "${LUMAVEX_BUILD:-build}/lumavex/qt/Lumavex")
ops=10

# --- the operations -------------------------------------------------------------

both_click() { xdotool keydown shift keydown ctrl click "$1" keyup ctrl keyup shift; sleep 0.5; }
curve() {  # curve <key> <x y>...: a curve through the points, then the points cleared
  xdotool mousemove "$2" "$3" key "$1"
  sleep 0.3
  shift
  while [ $# -gt 0 ]; do xdotool mousemove "$1" "$2" click 1; sleep 0.3; shift 2; done
  both_click 1
  both_click 1
  both_click 3
}
ellipse() {  # ellipse <x0 y0 x1 y1>: dragged from corner to corner
  xdotool key ctrl+shift+s
  sleep 0.3
  xdotool mousemove "$1" "$2" mousedown 1 mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2)) \
    mousemove "$3" "$4" mouseup 1
  sleep 0.3
  both_click 1
}
pen_stroke() {  # pen_stroke <x0 x1 y>: the normal pen along a line, one move every 20 pixels
  xdotool key n
  sleep 0.3
  xdotool mousemove "$1" "$3" mousedown 1
  # Moves far enough apart in time that none is merged with the next: the stroke
  # then passes the same positions in every run.
  for x in $(seq $(($1 + 20)) 20 "$2"); do sleep 0.15; xdotool mousemove "$x" "$3"; done
  sleep 0.15
  xdotool mouseup 1
  sleep 0.5
}
run_op() {
  case "$1" in
    1) curve s 100 100 300 150 500 120 700 300 ;;
    2) ellipse 250 250 450 380 ;;
    3) xdotool key p; sleep 0.3; xdotool mousemove 350 315 click 1; sleep 0.5 ;;
    4) pen_stroke 250 450 500 ;;
    5 | 6) xdotool key u; sleep 0.5 ;;
    7) xdotool key shift+u; sleep 0.5 ;;
    8) curve ctrl+s 120 500 600 110 ;;
    9) ellipse 600 450 800 600 ;;
    10) curve s 150 600 400 650 650 550 ;;
  esac
}

# --- one program run --------------------------------------------------------------

app_pid=""
stop_app() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  app_pid=""
  return 0
}
# Nothing held in the X server after a killed operation.
release_all() { xdotool mouseup 1 mouseup 3 keyup shift keyup ctrl 2>/dev/null || true; }

start_in() {  # start_in <folder>: the program started there, its window shown
  (cd "$1" && exec "$binary" >/dev/null 2>&1) &
  app_pid=$!
  timeout 60 xdotool search --sync --onlyvisible --name '^Lumavex$' >/dev/null
  sleep 1
}
fresh_session() {  # fresh_session <folder>: a new picture, the silent notice dismissed
  rm -rf "$1"
  mkdir -p "$1"
  cp -r "$source_dir/resources/LMV_Resource" "$1/LMV_Resource"
  start_in "$1"
  xdotool mousemove 25 10 click 1
  sleep 0.7
  xdotool key Down Return
  timeout 30 xdotool search --sync --onlyvisible --name '新規作成' >/dev/null
  sleep 0.5
  xdotool key Return
  sleep 2
  xdotool mousemove 200 200 click 1
  sleep 0.7
  if xdotool search --onlyvisible --name '音無し実行' >/dev/null 2>&1; then
    xdotool key Return
    sleep 0.5
  fi
}
save_as() {  # save_as <folder> <name>: LMVセーブ (F12); false when no file appears
  xdotool key F12
  timeout 30 xdotool search --sync --onlyvisible --name 'LMVセーブ' >/dev/null || return 1
  sleep 0.7
  xdotool type --delay 50 "$2"
  xdotool key Return
  for _ in $(seq 50); do [ -f "$1/$2" ] && break; sleep 0.2; done
  sleep 0.5
  [ -f "$1/$2" ]
}
keep_journal() {  # keep_journal <folder> <copy>: the undo files and the position, copied
  mkdir -p "$2"
  cp "$1"/LMV_Resource/UndoFile*.dat "$2"/ 2>/dev/null || true
}
journal_digest() {  # journal_digest <folder>: a digest of the undo files and the position
  (cd "$1/LMV_Resource" && for f in UndoFile*.dat; do [ -f "$f" ] && echo "$f" && cat "$f"; done
   echo position; cat UndoFilePosition.dat 2>/dev/null || true) | md5sum | cut -d' ' -f1
}

# Waits until the undo files have stood still for a moment: the operation is done.
wait_idle() {
  local last="" now
  for _ in $(seq 30); do
    now=$(journal_digest "$1")
    [ "$now" = "$last" ] && return 0
    last=$now
    sleep 0.4
  done
}

# --- reference and sessions -----------------------------------------------------

reference() {  # reference <folder>: ref-i.lmv and digest-i for i = 0..ops
  local dir=$1/run
  fresh_session "$dir"
  save_as "$dir" ref-0.lmv || return 1
  journal_digest "$dir" >"$1/digest-0"
  keep_journal "$dir" "$1/journal-0"
  for i in $(seq 1 $ops); do
    run_op "$i"
    wait_idle "$dir"
    journal_digest "$dir" >"$1/digest-$i"
    keep_journal "$dir" "$1/journal-$i"
    save_as "$dir" "ref-$i.lmv" || return 1
  done
  cp "$dir"/ref-*.lmv "$1"/
  stop_app
}

session() {  # session <refs> <folder> <number>: one killed run; prints its verdict
  local refs=$1 dir=$2 n=$3
  # The session's draw: how many operations finish, and when the next one is killed
  # (up to 3 s, past the end of the shorter operations).
  local draw
  draw=$(echo "$seed-$n" | md5sum)
  local done_ops=$((0x${draw:0:4} % ops)) delay=$((0x${draw:4:4} % 3000))
  fresh_session "$dir"
  for i in $(seq 1 "$done_ops"); do run_op "$i"; done
  wait_idle "$dir"
  if [ "$(journal_digest "$dir")" != "$(cat "$refs/digest-$done_ops")" ]; then
    echo "session $n: FAIL after $done_ops operations the undo files differ from the reference"
    ls -l "$dir/LMV_Resource" "$refs/journal-$done_ops" | grep -E "Undo|:"
    for f in "$dir"/LMV_Resource/UndoFile*.dat; do cmp "$f" "$refs/journal-$done_ops/${f##*/}"; done
    stop_app
    return 1
  fi
  run_op $((done_ops + 1)) &
  local op_pid=$!
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  kill -KILL "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  kill "$op_pid" 2>/dev/null || true
  wait "$op_pid" 2>/dev/null || true
  release_all
  local expected=$done_ops
  [ "$(journal_digest "$dir")" = "$(cat "$refs/digest-$((done_ops + 1))")" ] &&
    expected=$((done_ops + 1))

  start_in "$dir"
  if [ -f "$dir/LMV_Resource/UndoFile00.dat" ] || [ -f "$dir/LMV_Resource/CurrentFileInfo.ini" ]; then
    timeout 30 xdotool search --sync --onlyvisible --name 'リドゥー復帰機能' >/dev/null
    sleep 0.5
    xdotool key Return
    sleep 2
  fi
  local verdict="FAIL"
  if save_as "$dir" after.lmv && cmp -s "$dir/after.lmv" "$refs/ref-$expected.lmv"; then
    verdict="pass"
  fi
  stop_app
  echo "session $n: $verdict killed ${delay} ms into operation $((done_ops + 1)), picture of operation $expected expected"
  [ "$verdict" = pass ]
}

worker() {  # worker <refs> <first> <last>: sessions first..last on an X server of its own
  FAILURE_SHOT=/tmp/lumavex-soak-failure.png
  source "$source_dir/tests/e2e/e2e_common.sh"
  trap 'stop_app; e2e_cleanup' EXIT
  local passed=0
  for n in $(seq "$2" "$3"); do
    if session "$1" "$root/s$n" "$n"; then passed=$((passed + 1)); fi
    rm -rf "$root/s$n"
  done
  echo "$passed" >"$1/passed-$2"
}

sessions=${1:-100}
seed=${2:-1}
workers=${LUMAVEX_SOAK_WORKERS:-1}
refs=$(mktemp -d)
trap 'rm -rf "$refs"' EXIT
(
  FAILURE_SHOT=/tmp/lumavex-soak-failure.png
  source "$source_dir/tests/e2e/e2e_common.sh"
  trap 'stop_app; e2e_cleanup' EXIT
  reference "$refs"
) || { echo "the reference run failed"; exit 1; }
echo "reference: $(ls "$refs"/ref-*.lmv | wc -l) pictures"

per=$(((sessions + workers - 1) / workers))
pids=()
for w in $(seq 0 $((workers - 1))); do
  first=$((w * per + 1))
  last=$(((w + 1) * per))
  [ "$last" -gt "$sessions" ] && last=$sessions
  [ "$first" -gt "$last" ] && continue
  worker "$refs" "$first" "$last" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || true; done
passed=$(cat "$refs"/passed-* 2>/dev/null | awk '{s += $1} END {print s + 0}')
echo "$passed/$sessions sessions passed"
[ "$passed" -eq "$sessions" ]
