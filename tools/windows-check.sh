#!/usr/bin/env bash
# Builds the core, orvane-cli and the core tests for Windows with MinGW-w64
# (build-windows/), runs the tests under Wine, then checks that the Windows
# and the Linux orvane-cli write the same demo folder and show every demo
# archive with the same bytes. The editor's windows are not built (no Qt for
# Windows here).
#
#   tools/windows-check.sh
#
# Wine gets a prefix of its own (build-windows/wine-prefix), created headless
# the first time; the user's ~/.wine is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
source tools/ensure-packages.sh
ensure_packages windows

WIN_DIR=${ORVANE_WINDOWS_DIR:-build-windows}
LINUX_DIR=${ORVANE_BUILD_DIR:-build}
cmake -S . -B "$WIN_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DORVANE_GUI=OFF -DORVANE_BENCH=OFF >/dev/null
cmake --build "$WIN_DIR" --parallel "$(nproc)" --target orvane_core_tests orvane-cli
cmake -S . -B "$LINUX_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$LINUX_DIR" --parallel "$(nproc)" --target orvane-cli

export WINEPREFIX="$PWD/$WIN_DIR/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
[ -f "$WINEPREFIX/system.reg" ] || { echo "Wine could not create $WINEPREFIX" >&2; exit 1; }
windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

echo "== Core and orvane-cli tests under Wine"
log="$WIN_DIR/windows-tests.log"
status=0
ORVANE_CLI=$(windows_path "$PWD/$WIN_DIR/orvane-cli.exe") \
  wine "$WIN_DIR/orvane_core_tests.exe" >"$log" 2>&1 || status=$?
tr -d '\r' <"$log" | sed -n '/^\[==========\] .* ran\./,$p'
# Every skip says why on Windows.
tr -d '\r' <"$log" | grep -B1 '^\[  SKIPPED \] [^ ]* ([0-9]* ms)$' | grep -v '^\[\|^--' | sort | uniq -c |
  sed 's/^/skipped because: /' || true
if [ "$status" -ne 0 ]; then
  echo "The tests failed under Wine (status $status, log $log)" >&2
  exit 1
fi

echo "== The demo folder and orvane-cli show, Linux and Windows"
cmp_dir="$WIN_DIR/demo-compare"
rm -rf "$cmp_dir"
mkdir -p "$cmp_dir/show"
"$LINUX_DIR/orvane-cli" make-demo "$cmp_dir/linux" >/dev/null
wine "$WIN_DIR/orvane-cli.exe" make-demo "$(windows_path "$PWD/$cmp_dir/windows")" >/dev/null
# The folder trees first: the same files with the same bytes.
diff -r "$cmp_dir/linux" "$cmp_dir/windows"
compared=0
differing=()
while IFS= read -r archive; do
  for sep in . ,; do
    out="$cmp_dir/show/$(echo "$archive" | tr '/' '_')$sep"
    "$LINUX_DIR/orvane-cli" show "$cmp_dir/linux/$archive" --decimal "$sep" >"$out.linux"
    wine "$WIN_DIR/orvane-cli.exe" show "$(windows_path "$PWD/$cmp_dir/windows/$archive")" \
      --decimal "$sep" >"$out.windows"
    if cmp -s "$out.linux" "$out.windows"; then
      compared=$((compared + 1))
    else
      differing+=("$archive ($sep)")
    fi
  done
done < <(cd "$cmp_dir/linux" && find . -type f \( -iname '*.pod' -o -iname '*.epd' \) | sed 's|^\./||' | sort)
if [ ${#differing[@]} -ne 0 ]; then
  echo "orvane-cli show differs between Linux and Windows: ${differing[*]} (outputs in $cmp_dir/show)" >&2
  exit 1
fi
[ "$compared" -gt 0 ] || { echo "No demo archive to compare" >&2; exit 1; }
echo "Same bytes from both builds: the demo folder, and $compared show outputs ($((compared / 2)) archives, decimal '.' and ',')"
echo "Windows check passed in $(($(date +%s) - started)) s"
