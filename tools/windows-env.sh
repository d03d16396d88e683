# Sourced by the Windows scripts (tools/windows-check.sh,
# tools/windows-package.sh): the editor's Windows build against the Qt of
# tools/windows-qt.sh, and Wine in a prefix of the build's own (the user's
# ~/.wine is never touched).

# windows_gui_configure BUILD QT_DIR: the editor, orvane-cli and the window
# tests for Windows; they share Qt's and MinGW's DLLs.
windows_gui_configure() {
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DORVANE_STATIC_RUNTIME=OFF \
    -DORVANE_WINDOWS_QT="$2" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DORVANE_BENCH=OFF >/dev/null
}

# windows_runtime_dirs QT_DIR: the folders of the DLLs those programs load,
# one a line: Qt's, then MinGW's C++ runtime and threads.
windows_runtime_dirs() {
  echo "$1/bin"
  local dll
  for dll in libstdc++-6.dll libwinpthread-1.dll; do
    dirname "$(realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")"
  done
}

# wine_prefix DIR: Wine runs in DIR, created headless the first time.
wine_prefix() {
  export WINEPREFIX="$PWD/$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    (
      unset DISPLAY WAYLAND_DISPLAY
      wine wineboot -i >/dev/null 2>&1 || true
      wineserver -w
    )
  fi
  [ -f "$WINEPREFIX/system.reg" ] || {
    echo "Wine could not create $WINEPREFIX" >&2
    return 1
  }
}

# windows_path PATH: the path as Windows programs under Wine see it.
windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
