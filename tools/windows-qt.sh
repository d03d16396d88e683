#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase) for 64-bit Windows with MinGW-w64 from Debian's
# source package, for the editor's Windows build (tools/windows-package.sh)
# and its window tests under Wine (tools/windows-check.sh).
#
#   tools/windows-qt.sh          prints the Qt folder, building it if missing
#   tools/windows-qt.sh --cached prints it only when it is built (else fails)
#
# The result is a Qt build folder used in place (no install step), cached in
# ${XDG_CACHE_HOME:-~/.cache}/orvane-windows-qt-6.4.2 and reused when present.
# Only what the editor needs is built: Core, Gui, Widgets, PrintSupport, Test,
# the "windows" and "offscreen" platform plugins, the Windows style and the
# WinMain of GUI programs. Qt's
# host tools (moc, rcc, uic) come from Debian's Linux Qt of the same version.
#
# The compile took 78 minutes on two cores shared with other builds; it runs
# with "nice -n 19" so that other builds on the machine keep priority.
set -euo pipefail
cd "$(dirname "$0")/.."
QT_VERSION=6.4.2
CACHE=${ORVANE_WINDOWS_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvane-windows-qt-$QT_VERSION}
QT_DIR="$CACHE/qt"
TARGETS=(Core Gui Widgets PrintSupport Test QWindowsIntegrationPlugin QOffscreenIntegrationPlugin
  QWindowsVistaStylePlugin EntryPointImplementation)

if [ -f "$QT_DIR/.orvane-complete" ]; then
  echo "$QT_DIR"
  exit 0
fi
[ "${1:-}" = --cached ] && exit 1
source tools/ensure-packages.sh
ensure_packages windows
mkdir -p "$CACHE"
log="$CACHE/build.log"
echo "Building Qt $QT_VERSION for Windows in $CACHE (log $log)" >&2
started=$(date +%s)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# Debian's source entries: the machine's own Debian entries with their type
# changed to deb-src, so the same mirror serves the sources.
have_deb_src() {
  # With -q a match counts even when one of the files is missing.
  grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! have_deb_src; then
  entries=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # Only the entries of Debian's archive keyring.
    awk -v RS= -v ORS='\n\n' '/debian-archive-keyring/' "$f" | sed 's/^Types: deb$/Types: deb-src/' >>"$entries"
  done
  if [ ! -s "$entries" ] && [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >"$entries" || true
    [ -s "$entries" ] && $sudo cp "$entries" /etc/apt/sources.list.d/orvane-deb-src.list
  elif [ -s "$entries" ]; then
    $sudo cp "$entries" /etc/apt/sources.list.d/orvane-deb-src.sources
  fi
  rm -f "$entries"
  have_deb_src || { echo "No Debian sources entry to copy into a deb-src entry" >&2; exit 1; }
fi
apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Package:' || $sudo apt-get update -qq

# The source package, unpacked with Debian's patches.
src="$CACHE/qtbase-src"
if [ ! -f "$src/.orvane-unpacked" ]; then
  rm -rf "$src" "$CACHE/download"
  mkdir -p "$CACHE/download"
  (cd "$CACHE/download" && apt-get source --download-only qt6-base >>"$log" 2>&1)
  dsc=$(ls "$CACHE"/download/qt6-base_"$QT_VERSION"*.dsc)
  dpkg-source -x "$dsc" "$src" >>"$log" 2>&1
  # dpkg-source leaves a copy of the upstream tarball beside the sources.
  rm -f "$CACHE"/qt6-base_*.orig.tar.*
  touch "$src/.orvane-unpacked"
fi

# The Debian Qt's host tools must be the same version as the sources.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
[[ $host_version == "$QT_VERSION"* ]] || {
  echo "The Linux Qt is $host_version, the Windows Qt would be $QT_VERSION" >&2
  exit 1
}

# A build used in place: its prefix is its own folder. The +dfsg sources lack
# wintab (no tablet events); the windows plugin needs OpenGL on (dynamic, no
# GL headers needed). Direct2D stays on: without it Gui lacks the DirectWrite
# font engine that PrintSupport calls, and PrintSupport does not link.
configure_started=$(date +%s)
cmake -S "$src" -B "$QT_DIR" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$QT_DIR" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_tabletevent=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  >>"$log" 2>&1 || { tail -n 30 "$log" >&2; exit 1; }
echo "Configured in $(($(date +%s) - configure_started)) s" | tee -a "$log" >&2

compile_started=$(date +%s)
nice -n 19 cmake --build "$QT_DIR" --parallel "$(nproc)" --target "${TARGETS[@]}" >>"$log" 2>&1 ||
  { grep -m 20 -E 'error|FAILED' "$log" >&2; exit 1; }
seconds=$(($(date +%s) - compile_started))
echo "Compiled in $seconds s ($((seconds / 60)) min) on $(nproc) cores" | tee -a "$log" >&2
touch "$QT_DIR/.orvane-complete"
echo "Qt for Windows ready in $(($(date +%s) - started)) s" >&2
echo "$QT_DIR"
