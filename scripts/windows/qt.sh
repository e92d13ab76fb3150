#!/usr/bin/env bash
# Provides Qt for Windows (x86_64-w64-mingw32) in a cache folder and prints
# that folder: TARVOK_QT_MINGW_DIR, by default
# ~/.cache/tarvok/qt6-mingw-<version>. Nothing is done when the cache is whole.
# The prebuilt archive of exactly this build, where ../shared/cache/ beside
# the repository holds it, is checked and unpacked; otherwise Debian's
# qt6-base source is fetched and built (about 30 minutes on two cores).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
version=6.4.2
debian_version=6.4.2+dfsg-10
cache=${TARVOK_QT_MINGW_DIR:-$HOME/.cache/tarvok/qt6-mingw-$version}
# The archive with the test library (Qt6Test and the offscreen platform).
archive=$root/../shared/cache/qt6-mingw-$version-testlib-x86_64.tar.xz
log() { echo "qt.sh: $*" >&2; }

# Written last, so a cut-off unpack or build is never taken for whole.
# A cache made without the test library is not whole either.
whole() { [ -f "$cache/.tarvok-complete" ] && [ -f "$cache/lib/cmake/Qt6/Qt6Config.cmake" ] &&
  [ -d "$cache/lib/cmake/Qt6Test" ] && [ -f "$cache/plugins/platforms/qoffscreen.dll" ]; }

bash "$here/setup.sh" >&2
if whole; then
  echo "$cache"
  exit 0
fi
mkdir -p "$(dirname "$cache")"
rm -rf "$cache"
work=$(mktemp -d "$(dirname "$cache")/.qt-work.XXXXXX")
trap 'rm -rf "$work"' EXIT

if [ -f "$archive" ] && [ -f "$archive.sha256" ]; then
  log "unpacking the prebuilt $(basename "$archive")"
  (cd "$(dirname "$archive")" && sha256sum --quiet -c "$archive.sha256") ||
    { log "the archive does not match its checksum"; exit 1; }
  tar -xJf "$archive" -C "$work"
  mv "$work/qt6-mingw-$version" "$cache"
else
  log "no prebuilt archive at $archive: building Qt $version from Debian's source (about 30 minutes with -j2)"
  # The Debian mirror of this system's own sources, in either source format.
  mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk '/^URIs:/ { print $2 } /^deb / { print ($2 ~ /^\[/ ? $3 : $2) }' |
    grep -E '/debian/?$' | head -n 1)
  [ -n "$mirror" ] || { log "no Debian mirror in the system's apt sources"; exit 1; }
  apt_dir=$HOME/.cache/tarvok/apt
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$mirror" >"$apt_dir/src.sources"
  # A private configuration: the system's own lists stay as they are.
  apt_opts=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$apt_dir"
            -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache")
  apt-get "${apt_opts[@]}" -qq update
  (cd "$work" && apt-get "${apt_opts[@]}" source --download-only "qt6-base=$debian_version" &&
    dpkg-source -x "qt6-base_$debian_version.dsc" qtbase-src)
  for patch in "$here"/qt-*.patch; do
    [ -e "$patch" ] || continue
    log "applying $(basename "$patch")"
    patch -d "$work/qtbase-src" -p1 <"$patch"
  done
  mkdir "$work/build"
  # Debian's source drops src/3rdparty/wintab, which the Windows plugin
  # includes when tablets are on; direct2d stays, as the DirectWrite font
  # database is built only with it.
  (cd "$work/build" && ../qtbase-src/configure -prefix "$cache" -xplatform win32-g++ -qt-host-path /usr \
    -release -shared -nomake tests -nomake examples -no-opengl -no-dbus -no-openssl -no-icu \
    -qt-freetype -no-fontconfig -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre -qt-harfbuzz \
    -no-feature-sql -no-feature-printsupport -no-feature-concurrent \
    -no-feature-xml -no-feature-vulkan -no-feature-tabletevent \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" -DTARVOK_MINGW_SHARED_RUNTIME=ON \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
  cmake --build "$work/build" --parallel 2
  cmake --install "$work/build"
  find "$cache" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
fi
touch "$cache/.tarvok-complete"
echo "$cache"
