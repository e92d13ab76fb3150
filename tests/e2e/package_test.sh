#!/usr/bin/env bash
# Installed use end to end: builds the Debian package, checks its fields, its
# desktop files and its hardening, lints it with lintian, unpacks it into a
# read-only scratch root and runs the unpacked usr/bin/tarvok as an ordinary
# user (root may write anywhere) with a scratch HOME: the settings, BkUp and
# the example skins go to $XDG_CONFIG_HOME/Tarvok and nothing is written
# beside the executable.
# Usage: package_test.sh <Tarvok binary> <build dir>
set -u -o pipefail
build=$2
source "$(dirname "$0")/lib.sh"
e2e_init package

note "cpack builds the package with its dependencies computed"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$WORK/pkg" >"$WORK/cpack.log" 2>&1 ||
  fail "cpack failed: $(tail -n 20 "$WORK/cpack.log")"
deb=$(ls "$WORK"/pkg/tarvok_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package made"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks Qt Widgets: $depends"
grep -q 'fonts-crosextra-carlito' <<<"$depends" || fail "Depends lacks the captions' font: $depends"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
[ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no description"

note "lintian finds no error and no warning"
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" >"$WORK/lintian.log" 2>"$WORK/lintian.err"
lintian_status=$?
grep '^[IN]: ' "$WORK/lintian.log" | sed 's/^/   /'
[ "$lintian_status" -eq 0 ] || fail "lintian ($lintian_status): $(grep -v '^[IN]: ' "$WORK/lintian.log") $(cat "$WORK/lintian.err")"
# Only a note to lintian, but Debian strips the compiler's .comment and .note too.
! grep -q 'binary-has-unneeded-section' "$WORK/lintian.log" || fail "the packaged program keeps sections Debian strips"

root=$WORK/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
# The scratch root is made read-only below; let the clean-up remove it.
trap 'status=$?; chmod -R u+w "$root" 2>/dev/null; (exit $status); e2e_cleanup' EXIT
id=org.tarvok.Tarvok
for f in usr/bin/tarvok usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
  usr/share/icons/hicolor/32x32/apps/$id.png usr/share/icons/hicolor/256x256/apps/$id.png \
  usr/share/man/man1/tarvok.1.gz usr/share/doc/tarvok/copyright usr/share/doc/tarvok/changelog.gz; do
  [ -f "$root/$f" ] || fail "the package lacks /$f"
done
[ "$(identify -format %wx%h "$root/usr/share/icons/hicolor/256x256/apps/$id.png")" = 256x256 ] ||
  fail "the large icon is not 256 x 256"
file -b "$root/usr/bin/tarvok" | grep -q ', stripped' || fail "the packaged program is not stripped"
hardening-check "$root/usr/bin/tarvok" >"$WORK/hardening.log" 2>&1
sed 's/^/   /' "$WORK/hardening.log"
protections=('Position Independent Executable' 'Stack protected' 'Read-only relocations' 'Immediate binding')
# The sanitizer build leaves fortification out on purpose (its checked string
# functions would go around AddressSanitizer); every other build has it.
[[ "$(ldd "$1")" == *libasan* ]] || protections+=('Fortify Source functions')
for protection in "${protections[@]}"; do
  grep -q "^ $protection: yes" "$WORK/hardening.log" || fail "hardening-check: $protection is not yes"
done
changelog_version=$(zcat "$root/usr/share/doc/tarvok/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog_version" = "$(dpkg-deb -f "$deb" Version)" ] ||
  fail "the changelog's last entry is $changelog_version, the package $(dpkg-deb -f "$deb" Version)"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$WORK/appstream.log" 2>&1 ||
  fail "appstreamcli validate: $(cat "$WORK/appstream.log")"

warnings=$(zcat "$root/usr/share/man/man1/tarvok.1.gz" | groff -man -ww -z 2>&1)
[ -z "$warnings" ] || fail "the man page: $warnings"

note "the unpacked program, run by an ordinary user, keeps its files in the config folder"
start_xvfb
start_trayer
chmod 755 "$WORK"
home=$WORK/home
mkdir -m 700 "$home" "$WORK/run"
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$home" "$WORK/run"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  as_user=()
fi
config=$home/config
chmod -R a-w "$root"
before=$(cd "$root" && find . -printf '%p %s %T@\n' | sort)
cat >"$WORK/tarvok.sh" <<SH
#!/bin/sh
exec ${as_user[*]} env -u QT_QPA_PLATFORM HOME="$home" XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$WORK/run" "$root/usr/bin/tarvok"
SH
chmod 755 "$WORK/tarvok.sh"
start_program "$WORK/tarvok.sh"
pid=$PROGRAM_PID
answer_box '^Confirm$' Return
wait_gone 30 windows_named '^Confirm$' || fail "the start-up question stayed open"
wait_until 30 tray_icon >/dev/null || fail "no icon in the notification area"
tray_menu_key q
answer_box '^Confirm$' Return
wait_exit "$pid" 30 || fail "the program did not end after Quit"
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with $EXIT_STATUS: $(cat "$WORK"/*.out)"

app=$config/Tarvok
[ -f "$app/Tarvok.ini" ] || fail "no Tarvok.ini in $app"
[ -d "$app/BkUp" ] || fail "no BkUp in $app"
[ "$(stat -c %a "$app")" = 700 ] || fail "$app has mode $(stat -c %a "$app")"
grep -q "$app/BkUp" "$app/Tarvok.ini" || fail "the default project does not back up into $app/BkUp"
[ "$(cd "$root" && find . -printf '%p %s %T@\n' | sort)" = "$before" ] || fail "files changed in the unpacked package"
for skin in "$root"/usr/share/tarvok/Skin/*; do
  [ -e "$skin" ] || continue
  cmp -s "$skin" "$app/Skin/${skin##*/}" || fail "example skin ${skin##*/} not copied into $app/Skin"
done
echo "-- PASS"
