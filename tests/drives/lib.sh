# Shared helpers of the drive tests: real mounts and the processes behind
# them, all undone at the end, also when a step fails. Source it, then call
# drives_init first.
#
# drives_init NAME        needs root and FUSE (else skips); work dir $WORK (0755, with a tmp/
#                         for everyone), cleanup on exit
# skip MESSAGE...         ends the test as skipped (exit 77, ctest's SKIP_RETURN_CODE)
# fail MESSAGE...         prints "FAIL: MESSAGE" and ends the test with status 1
# note MESSAGE...         prints one progress line
# missing_tools CMD...    prints the commands of the list that are not installed
# track PID               ended at cleanup: woken (SIGCONT), then TERM, KILL after a deadline
# track_loop DEVICE       loop device detached at cleanup
# wait_until SECONDS CMD...  runs CMD until it succeeds (status 1 when the time is up)
# start_fuse DIR CMD...   runs the FUSE daemon CMD, which must stay in the foreground, in the
#                         background (output in DIR.log), tracks it and waits until DIR is mounted;
#                         DIR is unmounted at cleanup
# as_user CMD...          runs CMD as the unprivileged user "nobody"
# start_sshd SFTP_SERVER  a private sshd on 127.0.0.1:$SSHD_PORT serving SFTP_SERVER, for root
#                         with the key $WORK/ssh/client_key

drives_init() {
  [ "$(id -u)" -eq 0 ] || skip "needs root to make the mounts"
  [ -c /dev/fuse ] || skip "no /dev/fuse: FUSE is not available here"
  WORK=$(mktemp -d "/tmp/tarvok-$1.XXXXXX") || fail "no work directory"
  chmod 755 "$WORK"
  mkdir -m 1777 "$WORK/tmp"
  DRIVES_PIDS=()
  DRIVES_MOUNTS=()
  DRIVES_LOOPS=()
  trap drives_cleanup EXIT
}

# Keeps the test's own exit status. A stopped FUSE daemon is woken before
# anything touches its mount, or the unmount would wait on it.
drives_cleanup() {
  local status=$? pid dir i
  for pid in "${DRIVES_PIDS[@]}"; do kill -CONT "$pid" 2>/dev/null; done
  for ((i = ${#DRIVES_MOUNTS[@]} - 1; i >= 0; i--)); do
    dir=${DRIVES_MOUNTS[i]}
    mounted "$dir" || continue
    timeout 10 umount "$dir" 2>/dev/null || umount -l "$dir" || echo "could not unmount $dir" >&2
  done
  for pid in "${DRIVES_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || continue
    wait_until 5 gone "$pid" || kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  for dir in "${DRIVES_LOOPS[@]}"; do losetup -d "$dir"; done
  # Never remove files through a mount that is somehow still there.
  if grep -q " $WORK/" /proc/self/mounts; then
    echo "mounts left under $WORK; not removing it" >&2
  else
    rm -rf "$WORK"
  fi
  exit "$status"
}

skip() {
  echo "SKIP: $*"
  exit 77
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

note() { echo "-- $*"; }

missing_tools() {
  local tool
  for tool in "$@"; do command -v "$tool" >/dev/null || echo "$tool"; done
}

track() { DRIVES_PIDS+=("$1"); }

track_loop() { DRIVES_LOOPS+=("$1"); }

wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

gone() { ! kill -0 "$1" 2>/dev/null; }

# Reads the mount table, which never waits on the file system itself.
mounted() { grep -q " $1 " /proc/self/mounts; }

start_fuse() {
  local dir=$1 pid
  shift
  mkdir -p "$dir"
  "$@" >"$dir.log" 2>&1 &
  pid=$!
  track "$pid"
  DRIVES_MOUNTS+=("$dir")
  wait_until 20 mounted "$dir" && return 0
  echo "$1 did not mount $dir:" >&2
  tail -n 5 "$dir.log" >&2
  return 1
}

as_user() {
  setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$WORK" TMPDIR="$WORK/tmp" "$@"
}

start_sshd() {
  local sftp=$1 dir=$WORK/ssh pid attempt
  mkdir -m 700 "$dir"
  ssh-keygen -q -t ed25519 -N '' -f "$dir/host_key" && ssh-keygen -q -t ed25519 -N '' -f "$dir/client_key" || return 1
  cp "$dir/client_key.pub" "$dir/authorized_keys"
  # sshd refuses to start without its privilege separation directory, which
  # its own service would make.
  mkdir -p -m 755 /run/sshd
  for attempt in 1 2 3 4 5; do
    SSHD_PORT=$((20000 + RANDOM % 40000))
    port_open && continue
    cat >"$dir/sshd_config" <<EOF
Port $SSHD_PORT
ListenAddress 127.0.0.1
HostKey $dir/host_key
AuthorizedKeysFile $dir/authorized_keys
PidFile none
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
Subsystem sftp $sftp
EOF
    "$(command -v sshd)" -D -e -f "$dir/sshd_config" >"$dir/sshd.log" 2>&1 &
    pid=$!
    track "$pid"
    wait_until 10 sshd_settled "$pid" && ! gone "$pid" && return 0
  done
  echo "sshd did not start:" >&2
  tail -n 5 "$dir/sshd.log" >&2
  return 1
}

port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$SSHD_PORT") 2>/dev/null; }

# Listening, or ended (its port was taken).
sshd_settled() { gone "$1" || port_open; }
