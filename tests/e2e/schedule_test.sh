#!/usr/bin/env bash
# Automatic backups end to end: the real program, its clock set by faketime to
# a Thursday at 09:59:40, one daily project at 10 and automatic backups on.
# Within a few seconds the 10 o'clock snapshot folder holds the project's
# file, while the window stays hidden in the notification area.
# Usage: schedule_test.sh TARVOK_BINARY BUILD_DIR
# No errexit: every step checks its own outcome.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init schedule

libfaketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$libfaketime" ] || fail "libfaketime is not installed (package faketime)"

start_xvfb
start_trayer
private_runtime_dir
exe=$(install_copy "$1" "$WORK/app") || fail "cannot install $1"

mkdir -p "$WORK/sources" "$WORK/daily" || fail "cannot make the folders"
source_file="$WORK/sources/ledger 2024.txt"
printf 'figures of the day\n' >"$source_file" || fail "cannot write the source file"
printf '%s\r\n' "$source_file" >"$WORK/daily/Project.ini" || fail "cannot write the project file"
# RandomSkin 0, SkinNo 0, TimerBkUp 1, three reserved lines, then the project:
# name, backup directory, AutoBkUp 1, Period 1 (daily), Day 0, Hour 10.
printf '%s\r\n' 0 0 1 "Reserve 1" "Reserve 2" "Reserve 3" \
  "Accounts" "$WORK/daily" 1 1 0 10 >"$WORK/app/Tarvok.ini" || fail "cannot write Tarvok.ini"

# A sanitizer build needs its runtime loaded before anything preloaded.
preload=$libfaketime
asan=$(ldd "$exe" | awk '/libasan/ {print $3}')
[ -n "$asan" ] && preload="$asan $libfaketime"

# 7 March 2024 is a Thursday; the faked clock runs on from 09:59:40, time enough
# for a slow start on a busy machine (the first tick must come before 10:00).
cat >"$WORK/faked" <<SCRIPT || fail "cannot write the faketime wrapper"
#!/bin/sh
FAKETIME="@2024-03-07 09:59:40" LD_PRELOAD="$preload" exec "$exe"
SCRIPT
chmod +x "$WORK/faked"

start_program "$WORK/faked"
note "started at a faked 09:59:40; waiting for the 10 o'clock backup"
copy="$WORK/daily/03_07_10/ledger 2024.txt"
backed_up() { [ -f "$copy" ] && cmp -s "$source_file" "$copy" && echo yes; }
wait_until 60 backed_up >/dev/null ||
  fail "no backup in $WORK/daily/03_07_10: $(ls -R "$WORK/daily"); output: $(cat "$WORK"/*.out)"

kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended"
[ "$(ls "$WORK/daily")" = $'03_07_10\nProject.ini' ] || fail "unexpected folders: $(ls "$WORK/daily")"
[ -z "$(main_window)" ] || fail "the main window showed"
[ -z "$(message_box)" ] || fail "a message box opened"
[ -z "$(windows_named '^Confirm$')" ] || fail "the start-up question was asked"
note "backed up into $copy with the window hidden"
