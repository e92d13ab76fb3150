#!/usr/bin/env bash
# The end of a session end to end: SIGTERM, SIGHUP and SIGINT (what a logout,
# a shutdown and a terminal send) save what changed and end the program, also
# while a question is open, and SIGPIPE does not end it; a start over an empty or garbled lock file runs; a
# settings file that cannot be read is never replaced;
# without XDG_RUNTIME_DIR the lock lives in the user's own cache folder.
# Usage: session_test.sh <Tarvok binary> <build dir>
set -u -o pipefail
binary=$1
build=$2
source "$(dirname "$0")/lib.sh"
e2e_init session
start_xvfb
start_trayer
private_runtime_dir
exe=$(install_copy "$binary" "$WORK/app")
app=$WORK/app
settings=$app/Tarvok.ini

# Starts the program, answers the start-up question with Yes, waits for the icon.
start_saying_yes() {
  start_program "$exe"
  answer_box '^Confirm$' Return
  wait_gone 30 windows_named '^Confirm$' || fail "the question stayed open"
  wait_until 30 tray_icon >/dev/null || fail "no icon in the notification area"
}

# end_by SIGNAL: the signal ends the program, which saved automatic backups on.
end_by() {
  local pid=$PROGRAM_PID
  kill -s "$1" "$pid"
  wait_exit "$pid" 30 || fail "SIG$1 did not end the program"
  [ "$EXIT_STATUS" -eq 0 ] || fail "SIG$1: the program ended with $EXIT_STATUS"
  [ "$(sed -n 3p "$settings")" = $'1\r' ] || fail "SIG$1: automatic backups saved as '$(sed -n 3p "$settings")'"
  [ ! -e "$XDG_RUNTIME_DIR/Tarvok" ] || fail "SIG$1: the wake-up socket outlived the program"
}

# The next start asks again: automatic backups were off.
switch_off() { sed -i '3s/.*/0\r/' "$settings"; }

note "SIGTERM saves the Yes to the question and the shown project's file"
start_saying_yes
"$exe" || fail "the wake-up start failed"
wait_until 30 main_window >/dev/null || fail "the window did not show"
end_by TERM
[ -f "$app/BkUp/Project.ini" ] || fail "SIGTERM: the current project file was not written"

note "SIGPIPE (a write to a pipe nobody reads) does not end the program"
start_program "$exe"
wait_until 30 tray_icon >/dev/null || fail "no icon in the notification area"
kill -s PIPE "$PROGRAM_PID"
# The wake-up is handled after the signal was delivered; a program it ended
# leaves this start to run as the first copy, which the timeout ends.
timeout 20 "$exe" || fail "SIGPIPE ended the program"
wait_until 30 main_window >/dev/null || fail "the window did not show after SIGPIPE"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "SIGPIPE ended the program"
end_by TERM

note "SIGHUP saves too"
switch_off
start_saying_yes
end_by HUP

note "SIGINT while the quit question is open saves and ends"
switch_off
start_saying_yes
tray_menu_key q
wait_until 30 windows_named '^Confirm$' >/dev/null || fail "no quit question"
end_by INT

note "an empty lock file does not block the start"
: >"$XDG_RUNTIME_DIR/Tarvok.lock"
start_program "$exe"
wait_until 30 tray_icon >/dev/null || fail "no icon with an empty lock file"
"$exe" || fail "a second start failed"
wait_until 30 main_window >/dev/null || fail "the copy over the empty lock did not answer a wake-up"
end_by TERM

note "a garbled lock file does not block the start"
printf 'not\001a lock\n' >"$XDG_RUNTIME_DIR/Tarvok.lock"
start_program "$exe"
wait_until 30 tray_icon >/dev/null || fail "no icon with a garbled lock file"
end_by TERM

note "a settings file too large to read is reported, the program runs and never replaces it"
cp "$settings" "$WORK/settings.kept"
truncate -s 5G "$settings"
start_program "$exe"
answer_box '^Tarvok$' Return
wait_gone 30 message_box || fail "the error box stayed open"
answer_box '^Confirm$' Return
wait_gone 30 windows_named '^Confirm$' || fail "the question stayed open"
wait_until 30 tray_icon >/dev/null || fail "no icon after the error"
pid=$PROGRAM_PID
tray_menu_key q
answer_box '^Confirm$' Return
box=$(wait_until 30 windows_named '^Warning$' | head -n 1) || fail "the close did not say the settings were not saved"
wait_painted "$box"
import -window "$box" "$build/e2e-session-not-saved.png" || fail "no screenshot"
answer_box '^Warning$' Return
wait_exit "$pid" 30 || fail "the program did not end after the message"
[ "$(stat -c %s "$settings")" = $((5 << 30)) ] || fail "the unread settings file was replaced"
mv "$WORK/settings.kept" "$settings"

note "without XDG_RUNTIME_DIR the lock is in a private folder of the cache folder"
unset XDG_RUNTIME_DIR
export XDG_CACHE_HOME=$WORK/cache
start_program "$exe"
wait_until 30 tray_icon >/dev/null || fail "no icon without XDG_RUNTIME_DIR"
[ -f "$XDG_CACHE_HOME/Tarvok/Tarvok.lock" ] || fail "no lock in the cache folder"
[ "$(stat -c %a "$XDG_CACHE_HOME/Tarvok")" = 700 ] || fail "the runtime folder is not private"
"$exe" || fail "a second start failed"
wait_until 30 main_window >/dev/null || fail "the running copy did not show its window"
XDG_RUNTIME_DIR=$XDG_CACHE_HOME/Tarvok end_by TERM
echo "-- PASS"
