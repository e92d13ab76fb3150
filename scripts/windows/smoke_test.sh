#!/usr/bin/env bash
# The Windows program as a user gets it, under Wine on a private display with
# a window manager (openbox) and an XEmbed tray (trayer):
#  portable folder: the tray icon docks; a second start shows the main window,
#    whose corners are cut away; a backup through the window's menu makes the
#    MM_DD_HH folder with whole copies; Tools enters the program in the Run
#    key and takes it out again;
#  installer: a silent install puts the files, the shortcut and the Uninstall
#    key in place; the installed program docks, keeps its files in
#    %APPDATA%\Tarvok and takes over the settings an earlier copy left beside
#    it; a silent install and a silent uninstall while it runs end it as a
#    logout does (its settings written), then replace or remove what was
#    installed, and only that.
# --package-only leaves out the checks of the program's own behaviour (for a
# stand-in exe). Screenshots go to OUT_FOLDER (default: beside the installer).
# Usage: smoke_test.sh [--package-only] DEPLOY_FOLDER INSTALLER [OUT_FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/windows/wine_lab.sh
. "$here/wine_lab.sh"
full=1
[ "${1:-}" != --package-only ] || { full=0; shift; }
[ $# -ge 2 ] || { echo "usage: smoke_test.sh [--package-only] DEPLOY_FOLDER INSTALLER [OUT_FOLDER]" >&2; exit 2; }
deploy=$(cd "$1" && pwd)
setup=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
shots=${3:-$(dirname "$setup")/smoke-test}
[ -f "$deploy/Tarvok.exe" ] || { echo "smoke_test.sh: no Tarvok.exe in $deploy" >&2; exit 1; }
[ -f "$setup" ] || { echo "smoke_test.sh: no installer $setup" >&2; exit 1; }
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
rm -f "$shots"/*.png
began=$SECONDS
# The folder alone must do: no DLLs or plugins from elsewhere.
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM_PLUGIN_PATH

fail() { echo "smoke_test.sh: FAIL: $*" >&2; exit 1; }
note() { echo "smoke_test.sh: [$((SECONDS - began)) s] $*"; }

# --- what the screen shows -------------------------------------------------

# Ids of the viewable windows whose name matches REGEX. Tree lines read:
#   0x400013 "Tarvok": ("tarvok.exe" "tarvok.exe")  700x500+0+0  +162+134
xwininfo_named() {
  local id
  for id in $(xwininfo -root -tree | awk -v re="$1" '
      match($0, /"[^"]*":/) { name = substr($0, RSTART + 1, RLENGTH - 3); if (name ~ re) print $1 }'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id"
  done
  true
}
width_of() { xwininfo -id "$1" | awk '/Width:/ { print $2 }'; }
origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }'; }
# WIDTHxHEIGHT+X+Y on the screen, of inner windows too.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }'
}

# Wine's explorer docks one unnamed window per tray icon into the tray; only
# our program runs in this prefix, so an icon there is ours.
tray_icon() {
  xwininfo -tree -id "$panel" | awk '/"explorer.exe"/ { split($(NF - 1), g, "x"); if (g[1] <= 64) print $1 }'
}
main_window() {
  local id
  for id in $(xwininfo_named '^Tarvok$'); do
    [ "$(width_of "$id")" -gt 300 ] && echo "$id"
  done
  true
}
override_redirect() { xwininfo -id "$1" | grep -q 'Override Redirect State: yes'; }
# The program's pop-up menus: its viewable windows the window manager leaves alone.
popup_menu() {
  local id
  for id in $(xwininfo -root -tree | awk '/\("tarvok.exe" "tarvok.exe"\)/ { print $1 }'); do
    xwininfo -id "$id" | grep -q 'Map State: IsViewable' && override_redirect "$id" && echo "$id"
  done
  true
}
# Its message boxes carry its name like the main window.
message_box() {
  local id main
  main=$(main_window)
  for id in $(xwininfo_named '^Tarvok$'); do
    [ "$id" != "$main" ] && ! override_redirect "$id" && echo "$id"
  done
  true
}
shot() { # file name, window id: the screen's part under the window
  import -window root -crop "$(geometry "$2")" +repage "$shots/$1" ||
    fail "no screenshot $1"
}
# Waits until window ID shows a settled picture of more than one colour
# (Wine docks the icon's window before it draws into it), then keeps it.
# Wine under trayer now and then never draws a docked icon (about one start
# in three; a plain Qt tray icon too, and a hover does not help): that is
# told, not failed.
shot_drawn() { # file name, window id
  # Each try runs in a subshell: the last picture's sum is kept in a file.
  : >"$WORK/part.last"
  drawn() {
    local now
    import -window root -crop "$(geometry "$1")" +repage miff:- 2>/dev/null >"$WORK/part.miff" || return
    now=$(identify -format '%k %#' "$WORK/part.miff")
    [ "${now%% *}" -gt 1 ] && [ "$now" = "$(cat "$WORK/part.last")" ] && echo yes
    echo "$now" >"$WORK/part.last"
  }
  wait_until 10 drawn "$2" >/dev/null || note "WARNING: the icon docked but Wine did not draw it ($1)"
  convert "$WORK/part.miff" "$shots/$1"
}
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk 'NR == 2 { print $3 }'; }

focus() {
  focused_or_ask() {
    if [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; then echo yes; else xdotool windowactivate "$1"; fi
  }
  wait_until 30 focused_or_ask "$1" >/dev/null || fail "window $1 did not take the keyboard focus"
}

# Opens the main menu with a right click on the menu button and types KEYS.
menu_keys() {
  local win
  win=$(main_window)
  [ -n "$win" ] || fail "no main window for the menu"
  focus "$win"
  click_for_menu() {
    xdotool mousemove --window "$win" 112 46 click 3
    wait_until 3 popup_menu
  }
  wait_until 30 click_for_menu >/dev/null || fail "the menu did not open"
  # shellcheck disable=SC2068 # one key per word
  xdotool key --delay 100 $@
}

# --- programs and the registry ----------------------------------------------

runs=0
start_exe() { # the program's Linux path; sets PROGRAM_PID
  runs=$((runs + 1))
  wine "$1" >"$WORK/run$runs.out" 2>&1 &
  PROGRAM_PID=$!
  lab_track "$PROGRAM_PID"
}
# The docked icon of the program just started; a program that ends first
# (a DLL missing from the folder, say) fails at once.
icon_or_end() { tray_icon | head -n 1; kill -0 "$PROGRAM_PID" 2>/dev/null || echo ended; }
wait_icon() {
  local icon
  icon=$(wait_until 60 icon_or_end | head -n 1) || fail "no tray icon docked within 60 s"
  [ "$icon" != ended ] || fail "the program ended before its icon docked (a DLL missing from the folder?) $(cat "$WORK/run$runs.out")"
  echo "$icon"
}
stop_exe() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
  wait_gone 30 tray_icon || fail "the tray icon stayed after the program ended"
}

win_path() { winepath -w "$1" 2>/dev/null; }
unix_path() { winepath -u "$1" 2>/dev/null; }
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvok'
# reg writes its errors to stdout: a missing key gives nothing here.
reg_lines() {
  local out
  out=$(wine reg query "$1" 2>/dev/null) && tr -d '\r' <<<"$out"
  true
}
# The Run values (of HKCU and HKLM) whose command names PATH, whatever the
# case or separators.
lower_backslashed() { tr '[:upper:]' '[:lower:]' | sed 's|/|\\|g'; }
run_values_naming() {
  local want
  want=$(lower_backslashed <<<"$1")
  { reg_lines "HKCU\\$run_key"; reg_lines "HKLM\\$run_key"; } | grep REG_ | lower_backslashed |
    grep -F -- "$want" || true
}

# --- the lab ------------------------------------------------------------------

lab_init smoke
lab_xvfb || fail "no X display"
openbox >"$WORK/openbox.log" 2>&1 &
lab_track $!
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*'; }
wait_until 30 wm_ready >/dev/null || fail "openbox did not start"
# A colour no window draws by chance, to see through the window's corners.
xsetroot -solid '#6b8e23'
trayer --edge bottom --align left --widthtype request >"$WORK/trayer.log" 2>&1 &
lab_track $!
panel=$(wait_until 30 xwininfo_named "^panel$" | head -n 1) || fail "trayer did not start: $(cat "$WORK/trayer.log")"
lab_prefix
note "display $DISPLAY, Wine prefix ready"

# --- the portable folder ----------------------------------------------------

portable=$WORK/portable
cp -r "$deploy" "$portable"
exe=$portable/Tarvok.exe
if [ $full -eq 1 ]; then
  # The program's own files as Windows users have them: backslash paths,
  # CR LF, the ANSI code page (cp1252 here) with one name outside ASCII; one
  # project whose backup folder is ours, no question at the start, no timed
  # backups.
  mkdir -p "$WORK/sources" "$WORK/backup"
  printf 'a few words\r\n' >"$WORK/sources/notes of today.txt"
  head -c 300000 /dev/urandom >"$WORK/sources/data.bin"
  printf 'des mots\r\n' >"$WORK/sources/Données.txt"
  ansi() { iconv -f UTF-8 -t CP1252; }
  printf '%s\r\n' 0 -1 2 "Reserve 1" "Reserve 2" "Reserve 3" \
    Smoke "$(win_path "$WORK/backup")" 0 0 1 10 >"$portable/Tarvok.ini"
  printf '%s\r\n' "$(win_path "$WORK/sources/notes of today.txt")" "$(win_path "$WORK/sources/data.bin")" \
    "$(win_path "$WORK/sources/Données.txt")" | ansi >"$WORK/backup/Project.ini"
  grep -qF '\' "$WORK/backup/Project.ini" && ! grep -qF / "$WORK/backup/Project.ini" ||
    fail "the seeded project file does not hold backslash paths"
  cp "$portable/Tarvok.ini" "$WORK/Tarvok.ini.seeded"
fi
import -window root "$WORK/desktop.png"

note "portable: the tray icon docks"
start_exe "$exe"
portable_pid=$PROGRAM_PID
icon=$(wait_icon)
shot_drawn portable-tray.png "$icon"

if [ $full -eq 1 ]; then
  note "a second start shows the main window and ends"
  timeout 30 wine "$exe" >"$WORK/second.out" 2>&1 || fail "the second start did not end well ($?)"
  win=$(wait_until 30 main_window | head -n 1) || fail "the main window did not show"
  note "the main window's corner shows the desktop through"
  read -r x y < <(origin "$win")
  painted() {
    import -window root "$WORK/screen.png" &&
      [ "$(pixel "$WORK/screen.png" $((x + 350)) $((y + 250)))" != "$(pixel "$WORK/desktop.png" $((x + 350)) $((y + 250)))" ] &&
      echo yes
  }
  wait_until 30 painted >/dev/null || fail "the main window was not drawn"
  shot portable-main.png "$win"
  [ "$(pixel "$WORK/screen.png" "$x" "$y")" = "$(pixel "$WORK/desktop.png" "$x" "$y")" ] ||
    fail "the top-left corner of the window is not cut away (see $shots/portable-main.png)"

  note "BackUp All from the menu copies the sources into the folder of this hour"
  before=$(date +%m_%d_%H)
  menu_keys Down Down Right Down Down Return
  box=$(wait_until 60 message_box | head -n 1) || fail "no message after the backup"
  shot portable-backup-box.png "$box"
  after=$(date +%m_%d_%H)
  for name in "notes of today.txt" data.bin Données.txt; do
    found=""
    for hour in "$before" "$after"; do
      [ -f "$WORK/backup/$hour/$name" ] && found="$WORK/backup/$hour/$name"
    done
    [ -n "$found" ] || fail "no copy of $name in $WORK/backup/$before: $(ls -R "$WORK/backup")"
    cmp -s "$WORK/sources/$name" "$found" || fail "the copy of $name is not whole"
  done
  focus "$box"
  xdotool key Return
  wait_gone 30 message_box || fail "the message stayed open"

  note "Tools: the Run key gets the program, then loses it"
  menu_keys Down Down Down Down Right Down Down Return
  wait_until 30 run_values_naming "$(win_path "$exe")" >/dev/null ||
    fail "no Run value names $(win_path "$exe"): $(reg_lines "HKCU\\$run_key") $(reg_lines "HKLM\\$run_key")"
  menu_keys Down Down Down Down Right Down Down Down Return
  wait_gone 30 run_values_naming "$(win_path "$exe")" || fail "a Run value still names the program"
fi
stop_exe "$portable_pid"

# --- the installer ------------------------------------------------------------

appdata=$(unix_path "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')")
[ -d "$appdata" ] || fail "no %APPDATA% folder in the prefix"
# What the user has must outlive an uninstall: settings and a Run value of
# another program.
mkdir -p "$appdata/Tarvok"
echo kept >"$appdata/Tarvok/user-file.txt"
wine reg add "HKCU\\$run_key" /v Other /d 'C:\other.exe' /f >/dev/null 2>&1
installed_win='C:\Program Files\Tarvok'
installed=$(unix_path "$installed_win")
# As the program enters itself at logon: the machine's key for an
# administrator, else the user's.
for hive in HKLM HKCU; do
  wine reg add "$hive\\$run_key" /v Tarvok.exe /d "\"$installed_win\\Tarvok.exe\" --at-logon" /f >/dev/null 2>&1
done

# What Wine said about a Windows program that failed, with what was still
# running in this prefix and the windows on the screen (a question waiting?).
wine_said() { # the program's output file
  echo "it said: $(cat "$1")"
  echo "running in the prefix:"
  local pid
  for pid in $(pgrep -u "$(id -u)" .); do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null &&
      echo "  $pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
  done
  echo "windows: $(xwininfo -root -tree | grep -o '"[^"]*": ([^)]*)' | sort | uniq -c | tr '\n' ';')"
}
setup_runs=0
run_setup() { # the installer or uninstaller, its arguments: silently, its exit code told
  setup_runs=$((setup_runs + 1))
  local out=$WORK/setup$setup_runs.out status=0
  WINEDEBUG=err+all,fixme-all timeout 120 wine "$@" >"$out" 2>&1 || status=$?
  [ $status -eq 0 ] || fail "$(basename "$1") ended with $status; $(wine_said "$out")"
}
alive() { kill -0 "$1" 2>/dev/null && echo yes; }
# The settings the program wrote at its end: gone before, there again after.
settings=$appdata/Tarvok/Tarvok.ini
settings_written() { wait_until 30 grep -l '^Smoke' "$settings" >/dev/null || fail "no settings written to $settings"; }

check_installed() {
  [ -d "$installed" ] || fail "nothing installed in $installed"
  while IFS= read -r f; do
    cmp -s "$deploy/$f" "$installed/$f" || fail "$f is not installed as it is in $deploy"
  done < <(cd "$deploy" && find . -type f)
  for f in Tarvok.installed uninstall.exe; do
    [ -f "$installed/$f" ] || fail "no $f in $installed"
  done
  [ -f "$shortcut" ] || fail "no Start-menu shortcut"
  reg_lines "$uninstall_key" | grep -q 'UninstallString.*uninstall\.exe' || fail "no Uninstall key"
}
shortcut=$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tarvok.lnk')

note "installer: a silent install"
run_setup "$setup" /S
check_installed

note "the installed program docks"
if [ $full -eq 1 ]; then
  # An earlier portable copy in the same folder left its settings there.
  cp "$portable/Tarvok.ini" "$installed/Tarvok.ini"
fi
start_exe "$installed/Tarvok.exe"
installed_pid=$PROGRAM_PID
icon=$(wait_icon)
shot_drawn installed-tray.png "$icon"
if [ $full -eq 1 ]; then
  wait_until 30 ls "$appdata/Tarvok/Skin/TarvokSkin0.bmp" >/dev/null ||
    fail "the installed program did not take %APPDATA%\\Tarvok (no example skins there)"
  note "it took over the earlier copy's settings, a copy of them"
  settings_written
  cmp -s "$portable/Tarvok.ini" "$installed/Tarvok.ini" || fail "the installed program changed the earlier copy's settings"
  rm "$installed/Tarvok.ini"

  note "installing again while it runs ends it as a logout does: its settings written, the files replaced"
  rm "$settings"
  run_setup "$setup" /S
  wait_gone 30 alive "$installed_pid" || fail "the installer left the program running"
  wait_gone 30 tray_icon || fail "the tray icon stayed after the program ended"
  settings_written
  # The skin number may have changed by itself; the project's lines may not.
  cmp -s <(tail -n +7 "$settings") <(tail -n +7 "$WORK/Tarvok.ini.seeded") ||
    fail "the project's lines came back changed: $(tail -n +7 "$settings" | od -c | head -n 5)"
  check_installed
  start_exe "$installed/Tarvok.exe"
  installed_pid=$PROGRAM_PID
  wait_icon >/dev/null
  rm "$settings"
else
  # A stand-in does not answer the question to end.
  stop_exe "$installed_pid"
fi

note "a silent uninstall ends the program, then removes what was installed, only that"
# The uninstaller runs on from a copy of itself and ends at once.
run_setup "$installed/uninstall.exe" /S
# The key goes last.
leftovers() {
  [ ! -e "$installed" ] || echo "the install folder: $(ls -R "$installed")"
  [ ! -e "$shortcut" ] || echo "the Start-menu shortcut"
  [ -z "$(reg_lines "$uninstall_key")" ] || echo "the Uninstall key"
  [ -z "$(run_values_naming "$installed_win\\Tarvok.exe")" ] || echo "the installed program's Run value"
}
wait_gone 60 leftovers || fail "the uninstall left $(leftovers)"
if [ $full -eq 1 ]; then
  [ -z "$(alive "$installed_pid")" ] || fail "the program runs on without its files"
  settings_written
fi
reg_lines "HKCU\\$run_key" | grep -q '^ *Other ' || fail "another program's Run value went too"
[ "$(cat "$appdata/Tarvok/user-file.txt")" = kept ] || fail "the user's files in %APPDATA%\\Tarvok went"

note "passed; screenshots in $shots"
