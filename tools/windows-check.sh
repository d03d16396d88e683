#!/usr/bin/env bash
# Builds the core, orvane-cli and the core tests for Windows with MinGW-w64
# (build-windows/), runs the tests under Wine, then checks that the Windows
# and the Linux orvane-cli write the same demo folder and show every demo
# archive with the same bytes. Then it packs orvane-cli.exe and its manual as
# a zip (build-windows/orvane-cli-<version>-windows-x64.zip) and runs the
# unpacked tool from a clean folder outside the build tree. Last, when the Qt
# for Windows of tools/windows-qt.sh is there, it builds the window tests
# against it (build-windows-gui/) and runs them under Wine, offscreen.
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

source tools/windows-env.sh
unset DISPLAY WAYLAND_DISPLAY
wine_prefix "$WIN_DIR/wine-prefix"

echo "== Core and orvane-cli tests under Wine"
log="$WIN_DIR/windows-tests.log"
status=0
ORVANE_CLI=$(windows_path "$PWD/$WIN_DIR/orvane-cli.exe") \
  wine "$WIN_DIR/orvane_core_tests.exe" >"$log" 2>&1 || status=$?
tr -d '\r' <"$log" | sed -n '/^\[==========\] .* ran\./,$p'
# Every skip says why on Windows: the line after "Skipped" (a trace may follow it).
tr -d '\r' <"$log" | awk '/: Skipped$/ { if ((getline reason) > 0) print reason }' | sort | uniq -c |
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
windows_root=$(windows_path "$PWD/$cmp_dir/windows")
mkdir -p "$cmp_dir/linux/export" "$cmp_dir/windows/export"
differing=()
# Runs orvane-cli with the same arguments on both sides, "{}" standing for
# each side's demo folder (given to Windows with its own separators): the
# standard output, the standard error and the exit status must be the same.
run_both() {
  local label=$1 a status out
  shift
  out="$cmp_dir/show/$(echo "$label" | tr '/ ' '__')"
  local linux_args=() windows_args=()
  for a in "$@"; do
    linux_args+=("${a//\{\}/$cmp_dir/linux}")
    if [[ $a == *"{}"* ]]; then a="${a//\//\\}"; fi
    windows_args+=("${a//\{\}/$windows_root}")
  done
  status=0
  "$LINUX_DIR/orvane-cli" "${linux_args[@]}" >"$out.linux" 2>"$out.linux-err" || status=$?
  echo "exit status $status" >>"$out.linux-err"
  status=0
  wine "$WIN_DIR/orvane-cli.exe" "${windows_args[@]}" >"$out.windows" 2>"$out.windows-err" || status=$?
  echo "exit status $status" >>"$out.windows-err"
  if ! cmp -s "$out.linux" "$out.windows" || ! cmp -s "$out.linux-err" "$out.windows-err"; then
    differing+=("$label")
    return 1
  fi
}
shows=0 exports=0 reconciles=0
while IFS= read -r archive; do
  for sep in . ,; do
    run_both "show $archive $sep" show "{}/$archive" --decimal "$sep" && shows=$((shows + 1))
  done
  # The GeoJSON export's file, and the comparison with the demo's OurAirports
  # files: its findings, or its message for a table it cannot compare (ILS).
  geojson="export/$(echo "$archive" | tr '/' '_').geojson"
  if run_both "convert $archive" convert "{}/$archive" "{}/$geojson"; then
    if cmp -s "$cmp_dir/linux/$geojson" "$cmp_dir/windows/$geojson"; then
      exports=$((exports + 1))
    else
      differing+=("$geojson")
    fi
  fi
  run_both "reconcile $archive" reconcile "{}/$archive" "{}/ourairports" &&
    reconciles=$((reconciles + 1))
done < <(cd "$cmp_dir/linux" && find . -type f \( -iname '*.pod' -o -iname '*.epd' \) | sed 's|^\./||' | sort)
if [ ${#differing[@]} -ne 0 ]; then
  echo "orvane-cli differs between Linux and Windows: ${differing[*]} (outputs in $cmp_dir/show)" >&2
  exit 1
fi
[ "$shows" -gt 0 ] || { echo "No demo archive to compare" >&2; exit 1; }
echo "Same bytes from both builds: the demo folder, $shows show outputs ($((shows / 2)) archives," \
  "decimal '.' and ','), $exports GeoJSON exports and $reconciles reconciliations"
echo "== The Windows archive of orvane-cli"
# orvane-cli.exe is linked statically: it may need Windows' own DLLs only.
dlls=$(x86_64-w64-mingw32-objdump -p "$WIN_DIR/orvane-cli.exe" | sed -n 's/^\s*DLL Name: //p' | sort -u)
foreign=$(echo "$dlls" | grep -viE '^(kernel32|user32|shell32|advapi32|msvcrt|ws2_32|ole32|bcrypt|api-ms-win-.*)\.dll$' || true)
[ -z "$foreign" ] || { echo "orvane-cli.exe needs DLLs that Windows lacks: $foreign" >&2; exit 1; }
version=$("$LINUX_DIR/orvane-cli" --version | sed 's/^orvane-cli //')
name="orvane-cli-$version-windows-x64"
rm -rf "${WIN_DIR:?}/$name" "$WIN_DIR/$name.zip"
mkdir -p "$WIN_DIR/$name"
cp "$WIN_DIR/orvane-cli.exe" "$WIN_DIR/$name/"
# The manual page as plain text with CR LF lines, for Notepad.
LC_ALL=C MANWIDTH=80 man -l docs/man/orvane-cli.1 | col -bx | sed 's/$/\r/' >"$WIN_DIR/$name/orvane-cli.txt"
sed 's/$/\r/' data/debian/copyright >"$WIN_DIR/$name/copyright.txt"
(cd "$WIN_DIR" && zip -q -r -X "$name.zip" "$name")
echo "Made $WIN_DIR/$name.zip: $(unzip -Z1 "$WIN_DIR/$name.zip" | tr '\n' ' ')"
# Unpacked into a clean folder outside the build tree and run from there, as
# a user would: its demo and its show must match the Linux tool's.
clean=$(mktemp -d)
trap 'rm -rf "$clean"' EXIT
unzip -q "$WIN_DIR/$name.zip" -d "$clean"
(
  cd "$clean/$name"
  [ "$(wine orvane-cli.exe --version | tr -d '\r')" = "orvane-cli $version" ]
  wine orvane-cli.exe help show | tr -d '\r' | grep -q '^Usage: orvane-cli show'
  wine orvane-cli.exe make-demo demo >/dev/null
  wine orvane-cli.exe show 'demo\fly2\system\AIRPORT.POD' --decimal . >show.txt
) || { echo "The unpacked orvane-cli.exe failed in $clean" >&2; exit 1; }
"$LINUX_DIR/orvane-cli" show "$cmp_dir/linux/fly2/system/AIRPORT.POD" --decimal . >"$clean/show-linux.txt"
cmp "$clean/show-linux.txt" "$clean/$name/show.txt"
echo "The unpacked archive runs from $clean: --version, help, make-demo and show as on Linux"

echo "== The window tests under Wine (offscreen)"
# Only with the Qt for Windows of tools/windows-qt.sh, which takes long to
# build the first time: this check does not build it.
if QT_DIR=$(tools/windows-qt.sh --cached); then
  GUI_DIR=${ORVANE_WINDOWS_GUI_DIR:-build-windows-gui}
  windows_gui_configure "$GUI_DIR" "$QT_DIR"
  mapfile -t ui_tests < <(find tests/ui -name 'test_*.cpp' -printf '%f\n' | sed 's/\.cpp$//' | sort)
  cmake --build "$GUI_DIR" --parallel "$(nproc)" --target orvane-cli "${ui_tests[@]}"
  # Qt's and MinGW's DLLs from where they were built.
  wine_path=""
  while IFS= read -r dir; do
    wine_path+="${wine_path:+;}$(windows_path "$dir")"
  done < <(windows_runtime_dirs "$QT_DIR")
  failed=()
  # Wine passes no QT_* variable to Windows programs: the platform goes on
  # the command line. Without a console, Qt Test writes its results to the
  # debugger: into a file instead (its exit status counts the failures).
  for t in "${ui_tests[@]}"; do
    status=0
    rm -f "$GUI_DIR/$t.log"
    WINEPATH="$wine_path" ORVANE_CLI=$(windows_path "$PWD/$GUI_DIR/orvane-cli.exe") \
      wine "$GUI_DIR/$t.exe" -platform offscreen -o "$(windows_path "$PWD/$GUI_DIR/$t.log"),txt" \
      >/dev/null 2>&1 || status=$?
    echo "$t: $(tr -d '\r' <"$GUI_DIR/$t.log" 2>/dev/null | grep -E '^Totals:' || echo "no totals")"
    [ "$status" -eq 0 ] || failed+=("$t")
  done
  if [ ${#failed[@]} -ne 0 ]; then
    echo "Window tests failed under Wine: ${failed[*]} (logs in $GUI_DIR/<test>.log)" >&2
    exit 1
  fi
else
  echo "Not run: no Qt for Windows (tools/windows-qt.sh builds it once)"
fi
echo "Windows check passed in $(($(date +%s) - started)) s"
