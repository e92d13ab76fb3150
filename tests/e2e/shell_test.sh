#!/usr/bin/env bash
# The application shell end to end: start into the notification area, the
# start-up question, a second start waking the first (or saying it cannot),
# the tray icon's double click and menu, quitting, a stale lock after a kill,
# a tray host that appears late. Usage: shell_test.sh <Tarvok binary> <build dir>
set -u -o pipefail
binary=$1
build=$2
source "$(dirname "$0")/lib.sh"
e2e_init shell
start_xvfb
start_trayer
private_runtime_dir
exe=$(install_copy "$binary" "$WORK/app")
app=$WORK/app

note "first start asks about automatic backups and stays in the tray"
start_program "$exe"
first=$PROGRAM_PID
answer_box '^Confirm$' Return
wait_gone 30 windows_named '^Confirm$' || fail "the question stayed open"
wait_until 30 tray_icon >/dev/null || fail "no icon in the notification area"
kill -0 "$first" 2>/dev/null || fail "the program ended"
[ -z "$(main_window)" ] || fail "the main window is visible after start"
[ ! -e "$app/Tarvok.ini" ] || fail "the settings file was written at start"

note "a second start exits 0 at once, writes nothing and shows the first one's window"
listing() { (cd "$app" && find . -printf '%p %s %T@\n' | sort); }
before=$(listing)
started=$EPOCHREALTIME
"$exe" >"$WORK/second.out" 2>&1
status=$?
elapsed=$(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN {print b - a}')
[ "$status" -eq 0 ] || fail "the second start ended with $status"
awk -v t="$elapsed" 'BEGIN {exit !(t < 1.0)}' || fail "the second start took ${elapsed}s"
[ ! -s "$WORK/second.out" ] || fail "the second start wrote: $(cat "$WORK/second.out")"
[ "$(listing)" = "$before" ] || fail "the second start changed files beside the program"
window=$(wait_until 30 main_window) || fail "the running copy did not show its window"
[ "$(window_size "$window")" = "700x500" ] || fail "window size $(window_size "$window")"
wait_painted "$window"
import -window "$window" "$build/e2e-shell.png" || fail "no screenshot"

note "the tray menu hides the window, a double click on the icon shows it"
tray_menu_key i
wait_gone 30 main_window || fail "H&ide left the window visible"
double_click_tray
wait_until 30 main_window >/dev/null || fail "a double click did not show the window"

note "Quit from the tray menu asks, then ends the program and saves the settings"
tray_menu_key q
answer_box '^Confirm$' Return
wait_exit "$first" 30 || fail "the program did not end after Quit"
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with $EXIT_STATUS"
[ -f "$app/Tarvok.ini" ] || fail "no Tarvok.ini beside the executable"
[ "$(sed -n 3p "$app/Tarvok.ini")" = $'1\r' ] || fail "the Yes to the question was not saved"
[ ! -e "$XDG_RUNTIME_DIR/Tarvok" ] || fail "the wake-up socket outlived the program"

note "a lock left by a killed copy is taken over"
start_program "$exe"
killed=$PROGRAM_PID
wait_until 30 tray_icon >/dev/null || fail "no icon after the restart"
{ kill -9 "$killed" && wait "$killed"; } 2>/dev/null
wait_gone 30 tray_icon || fail "the killed copy's icon stayed"
start_program "$exe"
second=$PROGRAM_PID
wait_until 30 tray_icon >/dev/null || fail "the start after a killed copy did not take over"
"$exe" >/dev/null 2>&1 || fail "a further start failed"
wait_until 30 main_window >/dev/null || fail "the new copy did not answer a wake-up"

note "a start that cannot reach the running copy says so and ends with an error"
rm -f "$XDG_RUNTIME_DIR/Tarvok"
"$exe" >/dev/null 2>"$WORK/unreached.err" && fail "a start that reached nobody ended with 0"
grep -q 'does not answer' "$WORK/unreached.err" || fail "the unreached start said: $(cat "$WORK/unreached.err")"
tray_menu_key q
answer_box '^Confirm$' Return
wait_exit "$second" 30 || fail "the new copy did not end after Quit"

note "an icon docks in a tray host that starts after the program"
stop_trayer
start_program "$exe"
late=$PROGRAM_PID
# Running without a host: once it listens, a second start wakes it and it
# shows its window.
wake_socket() { [ -S "$XDG_RUNTIME_DIR/Tarvok" ] && echo yes; }
wait_until 30 wake_socket >/dev/null || fail "the program did not start without a tray host"
"$exe" >/dev/null 2>&1 || fail "a start beside the copy without a tray host failed"
wait_until 30 main_window >/dev/null || fail "the program did not run without a tray host"
kill -0 "$late" 2>/dev/null || fail "the program did not run without a tray host"
start_trayer
wait_until 30 tray_icon >/dev/null || fail "the icon did not dock in the late tray host"
echo "-- PASS"
