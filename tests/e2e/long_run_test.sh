#!/usr/bin/env bash
# A backup of a 1 GiB file: while it copies, the window answers the window
# manager's ping and shows how far the run is; a close asked by the window
# manager during the run brings the exit question once the run is over.
# The program is held (SIGSTOP) at chosen points of the copy, read off its
# partial copy's size, so that no step depends on the machine's speed.
# Usage: long_run_test.sh TARVOK_BINARY BUILD_DIR
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init long_run
message=${X11_WINDOW_MESSAGE:-$2/tests/e2e/x11_window_message}
[ -x "$message" ] || fail "no $message"

start_xvfb
start_trayer
private_runtime_dir
exe=$(install_copy "$1" "$WORK/app") || fail "cannot install $1"
mkdir -p "$WORK/app/BkUp" "$WORK/sources" || fail "cannot make the folders"
big="$WORK/sources/big.bin"
truncate -s 1G "$big" || fail "cannot make the source file"
printf '%s\r\n' "$big" >"$WORK/app/BkUp/Project.ini"

# The size of the run's partial copy, once there is one.
partial_size() {
  local f
  for f in "$WORK"/app/BkUp/*/.tarvok-partial-*; do
    [ -f "$f" ] && stat -c %s "$f" && return 0
  done
  return 1
}

# Holds the program once its partial copy has at least $1 bytes. Looks as
# often as it can: a fast disk copies a gigabyte in half a second.
hold_at() {
  local end=$((SECONDS + 60)) size
  until size=$(partial_size) && [ "$size" -ge "$1" ]; do
    [ $SECONDS -le $end ] || fail "the copy did not reach $1 bytes"
  done
  kill -STOP "$PROGRAM_PID"
}

# The mean brightness of the progress bar in the status line (white on black).
bar_share() {
  import -window "$win" -crop 505x3+99+346 +repage miff:- 2>/dev/null | convert - -format '%[fx:mean]' info:
}

start_program "$exe"
answer_box '^Confirm$' Escape
double_click_tray
win=$(wait_until 30 main_window | head -n 1) || fail "the main window did not show"
wait_painted "$win"

note "BackUp of 1 GiB; held as soon as the copy starts"
xdotool mousemove --window "$win" 333 124 click 1
hold_at 1
"$message" "$win" ping 10000 >"$WORK/answered" &
pinger=$!
"$message" "$win" close || fail "cannot send the close"
continued=$(date +%s%3N)
kill -CONT "$PROGRAM_PID"
wait "$pinger" || fail "the ping was never answered"
still_copying=$(partial_size) || fail "the ping was answered only after the run"
delay=$(($(cat "$WORK/answered") - continued))
note "ping answered after ${delay} ms, with ${still_copying} bytes copied"
[ "$delay" -lt 1000 ] || fail "the ping took ${delay} ms"

note "the bar shows more done later in the run"
hold_at $((300 << 20))
early=$(bar_share)
kill -CONT "$PROGRAM_PID"
hold_at $((800 << 20))
late=$(bar_share)
kill -CONT "$PROGRAM_PID"
awk -v a="$early" -v b="$late" 'BEGIN { exit !(a > 0.1 && b > a + 0.2) }' ||
  fail "the bar did not grow: $early at 300 MiB, $late at 800 MiB"
[ -z "$(windows_named '^Confirm$')" ] || fail "the exit question came during the run"

note "the run ends, then the exit question comes"
box=$(wait_until 60 message_box | head -n 1) || fail "no \"BackUP Success.\" box"
focus_window "$box"
xdotool key Return
answer_box '^Confirm$' Return
wait_exit "$PROGRAM_PID" 30 || fail "the program did not end after Yes"
[ -f "$WORK/app/Tarvok.ini" ] || fail "the settings were not written"
copy=$(ls "$WORK"/app/BkUp/*/big.bin 2>/dev/null | head -n 1)
[ "$(stat -c %s "$copy" 2>/dev/null)" = $((1 << 30)) ] || fail "the copy is not whole"
note "passed"
