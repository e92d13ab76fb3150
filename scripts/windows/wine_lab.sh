# shellcheck shell=bash
# Sourced by the scripts that run Windows programs under Wine: one private
# work folder holding the Wine prefix and TMPDIR (Wine's server keeps its
# socket there), an X display of its own, all ended and removed at exit.
#
# lab_init NAME          makes $WORK, exports WINEPREFIX, TMPDIR, WINEDEBUG and
#                        WINEDLLOVERRIDES, ends the lab at exit (status kept).
#                        No debugger: a program that crashes ends at once with
#                        the exception's code, and Wine says where it faulted,
#                        instead of its crash window waiting for a click until
#                        the caller's timeout. No menu builder: the prefix's
#                        shortcuts and file types would go into the user's own
#                        ~/.local/share and ~/.config, which every run shares.
# lab_track PID          PID, started by the caller, is ended at exit
# lab_xvfb               Xvfb on a free display, waited for; exports DISPLAY
# lab_prefix             this prefix's wineserver, kept for the whole run (each
#                        program starts warm), and the prefix made
# wait_until SECONDS CMD...  runs CMD until it prints something (printed) or
#                        the time is up (status 1)
# wait_gone SECONDS CMD...   runs CMD until it prints nothing

lab_init() {
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarvok-$1.XXXXXX")
  mkdir "$WORK/tmp"
  export WINEPREFIX="$WORK/prefix" TMPDIR="$WORK/tmp" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d"
  LAB_PIDS=()
  trap lab_end EXIT
}

lab_track() { LAB_PIDS+=("$1"); }

lab_end() {
  local status=$? i
  # Last started first: the programs end before their X server.
  for ((i = ${#LAB_PIDS[@]} - 1; i >= 0; i--)); do
    { kill "${LAB_PIDS[i]}" && wait "${LAB_PIDS[i]}"; } 2>/dev/null || true
  done
  # Only this prefix's server, and with it its programs.
  [ ! -d "$WINEPREFIX" ] || wineserver -k 2>/dev/null || true
  [ -z "${LAB_XVFB:-}" ] || { kill "$LAB_XVFB" && wait "$LAB_XVFB"; } 2>/dev/null || true
  rm -rf "$WORK"
  exit "$status"
}

lab_xvfb() {
  # Xvfb names the display it found free once it listens.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  LAB_XVFB=$!
  wait_until 30 grep -x '[0-9][0-9]*' "$WORK/display" >/dev/null ||
    { echo "Xvfb did not start: $(cat "$WORK/xvfb.log")" >&2; return 1; }
  DISPLAY=":$(cat "$WORK/display")"
  export DISPLAY
}

lab_prefix() {
  mkdir "$WINEPREFIX"
  wineserver -p
  # WINEDEBUG is off: what wineboot says is all there is to show.
  wineboot -i >"$WORK/wineboot.log" 2>&1 ||
    { echo "making the Wine prefix failed: $(tail -n 20 "$WORK/wineboot.log")" >&2; return 1; }
}

wait_until() {
  local end=$((SECONDS + $1)) out
  shift
  while [ $SECONDS -le $end ]; do
    out=$("$@" 2>/dev/null) || true
    [ -n "$out" ] && { echo "$out"; return 0; }
    sleep 0.1
  done
  return 1
}

wait_gone() {
  local end=$((SECONDS + $1))
  shift
  while [ $SECONDS -le $end ]; do
    [ -z "$("$@" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}
