#!/usr/bin/env bash
# The program on the desktops people run, one row each, under openbox on one
# X server: what each desktop's tray, window manager and session do to it.
# Usage: desktops_test.sh <Tarvok binary> <build dir> [row...]
set -u -o pipefail
binary=$1
build=$2
shift 2
source "$(dirname "$0")/lib.sh"
e2e_init desktops
start_xvfb
start_openbox
private_runtime_dir
# No session bus unless a row starts one.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus"
rows=(
  gnome_tray # GNOME Shell's D-Bus tray sends one Activate for a double click; others one a click
  no_tray    # no notification area at the start: the window lives in the taskbar until one comes
  openbox    # openbox: the keyboard after a box, the buttons after a drag
  session    # a session manager (XSMP) is told never to restart the program: its autostart entry starts it
  logout_question # a logout while the start's question is open: settings written, program ended, in time
  skin_close # the skin's own close button during a run: the exit question comes after it
  x_dies     # the X server goes away under the program: the settings are written all the same
  mate_dpi   # MATE's 100 dpi: the window keeps its skin's size, crisp
  lxqt       # LXQt's desktop (pcmanfm-qt) takes the wallpaper and gets its own back
)
[ $# -gt 0 ] && rows=("$@")

# A fresh copy (and settings) per row, started with No to the first question.
start_fresh() {
  exe=$(install_copy "$binary" "$WORK/$1")
  start_program "$exe"
  answer_box '^Confirm$' n
  wait_gone 10 windows_named '^Confirm$' || fail "$1: the question stayed open"
}

end_program() {
  kill "$PROGRAM_PID"
  wait_exit "$PROGRAM_PID" 20 || fail "the program did not end"
}

net_wm_state() { xprop -id "$1" _NET_WM_STATE; }
wm_state() { xprop -id "$1" WM_STATE | sed -n 's/.*window state: //p'; }
window_place() { xdotool getwindowgeometry "$1" | sed -n 's/ *Position: //p'; }
is_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ] && echo yes; }

row_gnome_tray() {
  start_session_bus
  start_sni_host gnome-shell
  XDG_CURRENT_DESKTOP=Unknown start_fresh gnome
  local item
  item=$(wait_until 20 sni_item) || fail "the icon was not registered with the D-Bus tray host"
  bus_call -d "$item" -o /StatusNotifierItem -m org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
  wait_until 10 main_window >/dev/null || fail "one Activate from GNOME Shell's host did not show the window"
  end_program
  stop_sni_host
  note "elsewhere one Activate alone leaves the window hidden, in a desktop named GNOME too"
  start_sni_host
  XDG_CURRENT_DESKTOP=Budgie:GNOME start_fresh budgie
  item=$(wait_until 20 sni_item) || fail "the icon was not registered with the D-Bus tray host"
  bus_call -d "$item" -o /StatusNotifierItem -m org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
  ! wait_until 2 main_window >/dev/null || fail "Budgie: one Activate showed the window"
  end_program
  stop_sni_host
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus"
}

row_no_tray() {
  start_fresh no-tray
  local window
  window=$(wait_until 10 main_window) || fail "without a notification area the window stays hidden"
  net_wm_state "$window" | grep -q SKIP_TASKBAR && fail "the window is kept out of the taskbar"
  focus_window "$window"
  xdotool key ctrl+h
  wait_until 10 wm_state "$window" | grep -q Iconic || fail "Hide did not minimise the window"
  start_trayer
  wait_until 30 tray_icon >/dev/null || fail "the icon did not dock in the tray that came"
  # A second start shows the running copy's window.
  "$exe" || fail "the wake-up start failed"
  window=$(wait_until 10 main_window) || fail "the minimised window did not come back"
  focus_window "$window"
  xdotool key ctrl+h
  wait_gone 10 main_window || fail "with a tray Hide did not hide the window"
  [ "$(wm_state "$window")" = Iconic ] && fail "with a tray Hide minimised the window"
  double_click_tray
  window=$(wait_until 10 main_window) || fail "a double click did not show the window"
  net_wm_state "$window" | grep -q SKIP_TASKBAR || fail "with a tray the window stays in the taskbar"
  end_program
  stop_trayer
  # At logon the panel comes after the program: it waits for it, hidden,
  # and the session's second start at logon leaves it alone.
  start_program "$exe" --at-logon
  start_trayer
  wait_until 30 tray_icon >/dev/null || fail "the icon did not dock in the tray that came after a start at logon"
  [ -z "$(main_window)" ] || fail "a start at logon showed the window though a tray came"
  "$exe" --at-logon || fail "the second start at logon failed"
  wait_until 3 main_window >/dev/null && fail "the second start at logon showed the window"
  end_program
  stop_trayer
}

row_openbox() {
  start_trayer
  start_fresh openbox
  "$exe" || fail "the wake-up start failed"
  local window
  window=$(wait_until 10 main_window) || fail "the window did not show"
  wait_painted "$window"
  focus_window "$window"
  # BackUp has the focus; with no source files it says so in a box.
  xdotool key space
  local box
  box=$(wait_until 10 message_box) || fail "no box from BackUp"
  focus_window "$box"
  xdotool key Return
  wait_gone 10 message_box || fail "the box stayed open"
  wait_until 10 is_focused "$window" >/dev/null || fail "the keyboard did not come back after the box"
  xdotool key ctrl+f
  wait_until 10 popup_menu >/dev/null || fail "Ctrl+F opened no menu after the box"
  xdotool key Escape
  wait_gone 10 popup_menu || fail "the menu stayed open"

  note "after a drag by the skin the buttons answer the pointer"
  button() { import -window "$window" -crop 32x32+536+30 +repage miff:- | identify -format '%#' -; }
  xdotool mousemove --window "$window" 350 250
  local up
  up=$(button)
  # The release comes once the window manager moves the window: it takes that release.
  local from
  from=$(window_place "$window")
  xdotool mousemove --window "$window" 300 12 mousedown 1
  moved() { xdotool mousemove_relative 4 3; [ "$(window_place "$window")" != "$from" ] && echo yes; }
  wait_until 10 moved >/dev/null || fail "the window manager did not move the window"
  xdotool mouseup 1
  # Two moves on the button: the first after the drag may only bring back the
  # controls, which the press in the edge band had hidden.
  over() {
    xdotool mousemove --window "$window" 552 50 mousemove --window "$window" 553 51
    [ "$(button)" != "$up" ] && echo yes
  }
  wait_until 10 over >/dev/null || fail "the Min button shows no Over picture after the drag"
  import -window "$window" "$build/e2e-desktops-openbox.png"
  end_program
  stop_trayer
}

row_session() {
  "$build/tests/e2e/xsmp_manager" >"$WORK/manager.out" 2>"$WORK/manager.err" &
  local manager=$!
  track "$manager"
  local address
  address=$(wait_until 10 head -n 1 "$WORK/manager.out") || fail "the session manager did not start"
  SESSION_MANAGER=$address start_fresh session
  local hint
  hint=$(wait_until 30 grep -o 'RestartStyleHint.*' "$WORK/manager.out") ||
    fail "the program never saved for the session manager"
  [ "$hint" = "RestartStyleHint 3" ] || fail "the session manager may restart the program: $hint"
  end_program
}

row_logout_question() {
  "$build/tests/e2e/xsmp_manager" >"$WORK/logout.out" 2>"$WORK/logout.err" &
  local manager=$!
  track "$manager"
  local address
  address=$(wait_until 10 head -n 1 "$WORK/logout.out") || fail "the session manager did not start"
  exe=$(install_copy "$binary" "$WORK/logout")
  SESSION_MANAGER=$address start_program "$exe"
  wait_until 30 windows_named '^Confirm$' >/dev/null || fail "no question at the start"
  wait_until 30 grep -o RestartStyleHint "$WORK/logout.out" >/dev/null || fail "the program never joined the session"
  kill -USR1 "$manager"
  wait_until 5 grep -o Die "$WORK/logout.out" >/dev/null || fail "the program did not save for the logout in time"
  wait_exit "$PROGRAM_PID" 5 || fail "the program outlived the logout"
  [ "$(sed -n 3p "$WORK/logout/Tarvok.ini" 2>/dev/null)" = $'0\r' ] ||
    fail "the settings were not written, or the unanswered question counted as Yes"
}

row_skin_close() {
  start_trayer
  mkdir -p "$WORK/skin-close/BkUp"
  truncate -s 512M "$WORK/big.bin"
  printf '%s\r\n' "$WORK/big.bin" >"$WORK/skin-close/BkUp/Project.ini"
  start_fresh skin-close
  "$exe" || fail "the wake-up start failed"
  local window
  window=$(wait_until 10 main_window) || fail "the window did not show"
  wait_painted "$window"
  focus_window "$window"
  xdotool key space
  # Held while it copies, the program gets the click when it goes on.
  partial() { ls "$WORK"/skin-close/BkUp/*/.tarvok-partial-* 2>/dev/null; }
  wait_until 30 partial >/dev/null || fail "the run did not start"
  kill -STOP "$PROGRAM_PID"
  xdotool mousemove --window "$window" 590 46 click 1
  kill -CONT "$PROGRAM_PID"
  local box
  box=$(wait_until 60 message_box | head -n 1) || fail "no box at the end of the run"
  focus_window "$box"
  xdotool key Return
  answer_box '^Confirm$' Return
  wait_exit "$PROGRAM_PID" 20 || fail "the program did not end after Yes"
  stop_trayer
}

row_x_dies() {
  local shared=$DISPLAY
  start_xvfb # of its own, to be killed
  start_trayer
  exe=$(install_copy "$binary" "$WORK/x-dies")
  start_program "$exe"
  answer_box '^Confirm$' Return
  wait_gone 10 windows_named '^Confirm$' || fail "the question stayed open"
  wait_until 10 tray_icon >/dev/null || fail "no icon in the notification area"
  kill "$XVFB_PID"
  wait_exit "$PROGRAM_PID" 20 || fail "the program outlived its X server"
  [ "$(sed -n 3p "$WORK/x-dies/Tarvok.ini" 2>/dev/null)" = $'1\r' ] ||
    fail "the Yes to automatic backups was not saved when the X server went"
  export DISPLAY=$shared
}

row_mate_dpi() {
  xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER $'Xft.dpi:\t100\n'
  start_trayer
  start_fresh mate
  "$exe" || fail "the wake-up start failed"
  local window size
  window=$(wait_until 10 main_window) || fail "the window did not show"
  wait_painted "$window"
  import -window "$window" "$build/e2e-desktops-100dpi.png"
  size=$(window_size "$window")
  end_program
  stop_trayer
  xprop -root -remove RESOURCE_MANAGER
  [ "$size" = 700x500 ] || fail "at 100 dpi the window is $size, not the skin's 700x500"
}

row_lxqt() {
  command -v pcmanfm-qt >/dev/null || fail "pcmanfm-qt is not installed"
  start_session_bus
  local -x HOME=$WORK/lxqt-home XDG_CONFIG_HOME=$WORK/lxqt-config XDG_CURRENT_DESKTOP=LXQt
  local settings=$XDG_CONFIG_HOME/pcmanfm-qt/lxqt/settings.conf mine=$WORK/mine.png
  mkdir -p "$HOME" "${settings%/*}"
  convert -size 8x8 xc:navy "$mine"
  printf '[Desktop]\nWallpaper=%s\nWallpaperMode=stretch\n' "$mine" >"$settings"
  local desktop
  desktop_runs() {
    bus_call -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.NameHasOwner \
      org.pcmanfm.PCManFM | grep -o true
  }
  start_desktop() {
    pcmanfm-qt --desktop --profile=lxqt >"$WORK/pcmanfm.log" 2>&1 &
    desktop=$!
    track "$desktop"
    wait_until 30 desktop_runs >/dev/null || fail "pcmanfm-qt's desktop did not start: $(tail -n 3 "$WORK/pcmanfm.log")"
  }
  stop_desktop() {
    kill "$desktop" && wait "$desktop" 2>/dev/null
    wait_gone 10 desktop_runs || fail "pcmanfm-qt's desktop did not end"
  }
  start_desktop
  start_trayer
  exe=$(install_copy "$binary" "$WORK/lxqt")
  cp -r "$(dirname "$binary")/Skin" "$WORK/lxqt/Skin" || fail "no Skin folder beside the built program"
  printf '%s\r\n' 0 0 2 "Reserve 1" "Reserve 2" "Reserve 3" >"$WORK/lxqt/Tarvok.ini"
  wallpaper() { sed -n 's/^Wallpaper=//p' "$settings" 2>/dev/null; }
  # The skin changes by itself every 30 s of uptime: any of ours will do.
  ours() { wallpaper | grep -o 'TarvokSkin[0-9]*'; }
  theirs() { [ "$(wallpaper)" = "$mine" ] && echo yes; }
  set_wallpaper() {
    start_program "$exe"
    wait_until 30 tray_icon >/dev/null || fail "no tray icon"
    "$exe" || fail "the wake-up start failed"
    local window
    window=$(wait_until 30 main_window) || fail "the window did not show"
    focus_window "$window"
    xdotool keydown ctrl key w keyup ctrl
    wait_until 20 ours >/dev/null || fail "pcmanfm-qt did not take the wallpaper: $(wallpaper)"
    [ -s "$WORK/lxqt/Tarvok.wallpaper" ] || fail "the replaced setting was not kept on disk"
    [ -z "$(message_box)" ] || fail "a box came although the desktop took the picture"
  }

  note "the session's end gives the running desktop its own picture back"
  set_wallpaper
  import -window root "$build/e2e-desktops-lxqt.png"
  end_program
  wait_until 20 theirs >/dev/null || fail "the session's end did not put the wallpaper back: $(wallpaper)"

  note "after Exit the picture lasts the logon; the next logon's script writes the old one before the desktop starts"
  set_wallpaper
  tray_menu_key q
  answer_box '^Confirm$' Return
  wait_exit "$PROGRAM_PID" 20 || fail "Quit did not end the program"
  [ -n "$(ours)" ] || fail "the wallpaper did not last the logon after Exit"
  stop_desktop
  next_logon() {
    local command
    command=$(sed -n 's/^Exec=//p' "$XDG_CONFIG_HOME/autostart/Tarvok-wallpaper.desktop") ||
      fail "no restore entry for the next logon"
    sh -c "$command" || fail "the restore entry failed: $command"
  }
  next_logon
  [ -n "$(theirs)" ] || fail "the next logon did not put the wallpaper back: $(wallpaper)"
  [ -z "$(desktop_runs)" ] || fail "the logon script started a pcmanfm-qt of its own"

  note "a picture the user chose after ours survives the next logon"
  start_desktop
  set_wallpaper
  tray_menu_key q
  answer_box '^Confirm$' Return
  wait_exit "$PROGRAM_PID" 20 || fail "Quit did not end the program"
  local other=$WORK/other.png
  convert -size 8x8 xc:olive "$other"
  pcmanfm-qt --profile=lxqt --set-wallpaper "$other"
  chosen() { [ "$(wallpaper)" = "$other" ] && echo yes; }
  wait_until 20 chosen >/dev/null || fail "pcmanfm-qt did not take the user's picture: $(wallpaper)"
  stop_desktop
  next_logon
  [ -n "$(chosen)" ] || fail "the next logon put the old picture over the user's: $(wallpaper)"

  note "a new user's picture comes from the system-wide settings; Clear gives it back"
  rm -f "$settings"
  local -x XDG_CONFIG_DIRS=$WORK/lxqt-xdg
  mkdir -p "$XDG_CONFIG_DIRS/pcmanfm-qt/lxqt"
  printf '[Desktop]\nWallpaper=%s\nWallpaperMode=stretch\n' "$mine" >"$XDG_CONFIG_DIRS/pcmanfm-qt/lxqt/settings.conf"
  start_desktop
  set_wallpaper
  xdotool keydown ctrl key x keyup ctrl
  wait_until 20 theirs >/dev/null || fail "Clear did not give the system-wide picture back: $(wallpaper)"
  [ ! -e "$WORK/lxqt/Tarvok.wallpaper" ] || fail "the kept picture outlived the Clear"
  end_program
  [ -n "$(theirs)" ] || fail "the session's end changed the picture Clear gave back: $(wallpaper)"
  stop_desktop
  stop_trayer
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus"
}

for row in "${rows[@]}"; do
  note "row $row"
  "row_$row"
done
echo "-- PASS"
