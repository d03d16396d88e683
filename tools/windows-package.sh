#!/usr/bin/env bash
# Builds the editor and orvane-cli for 64-bit Windows against the Qt of
# tools/windows-qt.sh (build-windows-gui/), gathers what they need to run
# (Qt's and MinGW's DLLs, the platform and style plugins, qt.conf, Qt's
# French texts, the help pages, the manuals as text, the license texts) and
# makes, in build-windows-gui/:
#   orvane-<version>-windows-x64.zip            unpack anywhere and run orvane.exe
#   orvane-<version>-windows-x64-setup.exe      the installer (NSIS): Start-menu
#       entry, .dbd .dex .pod .epd opened by Orvane, uninstaller
#
#   tools/windows-package.sh
#
# No Orvane.ini is shipped: the first run asks for the folders and writes it
# beside the program, or in %APPDATA%\Orvane when that folder is read-only.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/ensure-packages.sh
ensure_packages windows

QT_DIR=$(tools/windows-qt.sh)
BUILD=${ORVANE_WINDOWS_GUI_DIR:-build-windows-gui}
source tools/windows-env.sh
windows_gui_configure "$BUILD" "$QT_DIR"
cmake --build "$BUILD" --parallel "$(nproc)" --target orvane orvane-cli

version=$(sed -n 's/^project(Orvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="orvane-$version-windows-x64"
stage="$BUILD/$name"
rm -rf "${stage:?}" "$BUILD/$name.zip" "$BUILD/$name-setup.exe"
mkdir -p "$stage"
for program in orvane orvane-cli; do
  x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$BUILD/$program.exe"
done

# Qt's plugins, in the folders Qt looks for beside the program.
mkdir -p "$stage/platforms" "$stage/styles"
cp "$QT_DIR/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$QT_DIR/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"

# The DLLs every program and plugin imports, and theirs in turn, from Qt's
# build and MinGW's runtime; Windows' own DLLs are left to Windows.
mapfile -t runtime_dirs < <(windows_runtime_dirs "$QT_DIR")
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
pending=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
  file=${pending[0]}
  pending=("${pending[@]:1}")
  while IFS= read -r dll; do
    [ -f "$stage/$dll" ] && continue
    for dir in "${runtime_dirs[@]}"; do
      if [ -f "$dir/$dll" ]; then
        x86_64-w64-mingw32-strip -o "$stage/$dll" "$dir/$dll"
        pending+=("$stage/$dll")
        break
      fi
    done
  done < <(imports "$file")
done
# Qt's folders relative to the program (its translations, its plugins).
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\n' >"$stage/qt.conf"
mkdir -p "$stage/translations"
cp /usr/share/qt6/translations/qtbase_fr.qm "$stage/translations/"

# The help pages, where the Help menu finds them; the manuals and the
# license texts as text files with CR LF lines, for Notepad.
cp -r docs/help "$stage/help"
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }
for page in orvane orvane-cli; do
  LC_ALL=C MANWIDTH=80 man -l "docs/man/$page.1" 2>/dev/null | col -bx | sed 's/$/\r/' >"$stage/$page.txt"
done
crlf data/debian/copyright "$stage/copyright.txt"
mkdir -p "$stage/licenses"
qt_src="$(dirname "$QT_DIR")/qtbase-src"
crlf "$qt_src/debian/copyright" "$stage/licenses/qt6-base-copyright.txt"
for license in LGPL-3.0-only GPL-2.0-only GPL-3.0-only Qt-GPL-exception-1.0; do
  crlf "$qt_src/LICENSES/$license.txt" "$stage/licenses/qt-$license.txt"
done
crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/mingw-gcc-runtime-copyright.txt"
crlf /usr/share/doc/mingw-w64-common/copyright "$stage/licenses/mingw-w64-copyright.txt"

# Same files, same bytes: fixed dates in the zip.
find "$stage" -exec touch -d "@${SOURCE_DATE_EPOCH:-0}" {} +
(cd "$BUILD" && rm -f "$name.zip" && find "$name" | LC_ALL=C sort | zip -q -X -@ "$name.zip")
echo "Made $BUILD/$name.zip ($(du -k "$BUILD/$name.zip" | cut -f1) KiB, $(unzip -Z1 "$BUILD/$name.zip" | grep -vc '/$') files)"

# The installer: every file of the folder, listed one by one so that the
# uninstaller removes those and no other; the icon of the program.
files_nsh="$PWD/$BUILD/windows/files.nsh"
windows_rel() { local rel=${1#.}; rel=${rel#/}; echo "${rel:+\\${rel//\//\\}}"; }
{
  echo '!ifdef INSTALL'
  while IFS= read -r dir; do
    echo "SetOutPath \"\$INSTDIR$(windows_rel "$dir")\""
    find "$stage/$dir" -maxdepth 1 -type f | LC_ALL=C sort | sed "s|/\./|/|; s|^|File \"$PWD/|; s|$|\"|"
  done < <(cd "$stage" && find . -type d | LC_ALL=C sort)
  echo 'SetOutPath "$INSTDIR"'
  echo '!endif'
  echo '!ifdef UNINSTALL'
  (cd "$stage" && find . -type f | LC_ALL=C sort) | while IFS= read -r file; do
    echo "Delete \"\$INSTDIR$(windows_rel "$file")\""
  done
  (cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r) | while IFS= read -r dir; do
    echo "RMDir \"\$INSTDIR$(windows_rel "$dir")\""
  done
  echo '!endif'
} >"$files_nsh"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSOURCE="$PWD/$stage" \
  -DICON="$PWD/$BUILD/windows/orvane.ico" -DFILES="$files_nsh" \
  -DOUTFILE="$PWD/$BUILD/$name-setup.exe" packaging/windows/orvane.nsi
echo "Made $BUILD/$name-setup.exe ($(du -k "$BUILD/$name-setup.exe" | cut -f1) KiB)"

echo "== The packages tried under Wine, on a virtual X server"
# The Linux build makes the demo folder and saves the table the Windows
# editor saves, to compare their bytes.
LINUX_DIR=${ORVANE_BUILD_DIR:-build}
cmake -S . -B "$LINUX_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$LINUX_DIR" --parallel "$(nproc)" --target orvane orvane-cli
wine_prefix "$BUILD/wine-prefix"
trial=$(mktemp -d)
trap 'rm -rf "$trial"' EXIT
"$LINUX_DIR/orvane-cli" make-demo "$trial/demo" >/dev/null
demo=$(windows_path "$trial/demo")
# settings FILE FLY-FOLDER WORK-FOLDER: an English Orvane.ini past its first run.
settings() {
  printf '[init]\r\nfirst=1\r\nversion=2\r\nlangage=english\r\n[fly2]\r\nflydir=%s\r\n[work2]\r\nworkdir=%s\r\n' \
    "$2" "$3" >"$1"
}
# on_screen PROGRAM [ARGUMENT]: the program on a virtual X server, drawing
# its window into $shot once it has loaded $archive (when set) and saving
# the table into $saved (when set); prints its status bar's text.
on_screen() {
  ORVANE_SCREENSHOT=$shot ORVANE_SCREENSHOT_ARCHIVE=$archive ORVANE_SCREENSHOT_SAVE=$saved \
    LC_ALL=C.UTF-8 timeout 300 xvfb-run -a -s '-screen 0 1280x800x24' "$@" | tr -d '\r'
}
# same_table A B: the two DBD files are the same bytes but the header's time
# stamp (bytes 12-15: the second of each save), and those are minutes apart
# at most.
same_table() {
  cmp <(head -c 12 "$1"; tail -c +17 "$1") <(head -c 12 "$2"; tail -c +17 "$2") || return 1
  local a b
  a=$(od -An -t d4 -j 12 -N 4 "$1" | tr -d ' ')
  b=$(od -An -t d4 -j 12 -N 4 "$2" | tr -d ' ')
  [ $((a > b ? a - b : b - a)) -lt 600 ]
}

# The Linux editor: the reference.
mkdir -p "$trial/linux"
cp "$LINUX_DIR/orvane" "$trial/linux/"
settings "$trial/linux/Orvane.ini" "$trial/demo/fly2/" "$trial/demo/work/"
shot="$trial/linux.png" archive="$trial/demo/fly2/system/AIRPORT.POD" saved="$trial/linux.dbd"
linux_status=$(on_screen "$trial/linux/orvane")

# The zip, unpacked into a clean folder: settings beside the program with the
# demo's Windows paths; it opens AIRPORT.POD, shows the grid (the screenshot
# of the README), saves the table as a DBD.
unzip -q "$BUILD/$name.zip" -d "$trial"
settings "$trial/$name/Orvane.ini" "$demo\\fly2\\" "$demo\\work\\"
mkdir -p docs
shot="$(windows_path "$PWD/docs")\\windows-en.png" archive="$demo\\fly2\\system\\AIRPORT.POD"
saved="$demo\\windows.dbd"
windows_status=$(on_screen wine "$trial/$name/orvane.exe")
echo "Linux status bar:   $linux_status"
echo "Windows status bar: $windows_status"
# The same text but for the demo folder's path and the date's format (the
# system's short date: Windows' settings there, the C locale here).
linux_status=$(echo "${linux_status//"$trial/demo"/DEMO}" | sed -E 's|[0-9]+/[0-9]+/[0-9]+|DATE|g')
windows_status=${windows_status//"$demo"/DEMO}
windows_status=$(echo "${windows_status//\\//}" | sed -E 's|[0-9]+/[0-9]+/[0-9]+|DATE|g')
[ -n "$windows_status" ] && [ "$windows_status" = "$linux_status" ] ||
  { echo "The Windows editor did not show the table as the Linux one does" >&2; exit 1; }
same_table "$trial/linux.dbd" "$trial/demo/windows.dbd" ||
  { echo "The Windows editor saved other bytes than the Linux one" >&2; exit 1; }
[ -f docs/windows-en.png ] || { echo "No screenshot from the Windows editor" >&2; exit 1; }
appdata=$(find "$WINEPREFIX/drive_c/users" -ipath '*/Roaming/Orvane' 2>/dev/null | head -1)
[ -z "$appdata" ] || { echo "The unpacked editor wrote its settings in $appdata" >&2; exit 1; }
echo "The unpacked orvane.exe showed AIRPORT.POD, saved the same DBD as Linux ($(stat -c %s "$trial/linux.dbd") bytes, time stamp aside)," \
  "kept its settings beside itself; screenshot docs/windows-en.png"

# The installer, silent: files, Start-menu entry, file types, then a .pod
# opened by its type (as a double click does), then the uninstaller.
wine "$BUILD/$name-setup.exe" /S
wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/Orvane"
[ -f "$installed/orvane.exe" ] && [ -f "$installed/platforms/qwindows.dll" ] ||
  { echo "The installer did not install the program" >&2; exit 1; }
menu=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Orvane.lnk' | head -1)
[ -n "$menu" ] || { echo "No Start-menu entry" >&2; exit 1; }
for ext in dbd dex pod epd; do
  wine reg query "HKLM\\Software\\Classes\\.$ext" /ve | tr -d '\r' | grep -q "Orvane\\.$ext" &&
    wine reg query "HKLM\\Software\\Classes\\Orvane.$ext\\shell\\open\\command" /ve | tr -d '\r' |
    grep -qF '\Orvane\orvane.exe" "%1"' || { echo "The .$ext files do not open in Orvane" >&2; exit 1; }
done
settings "$installed/Orvane.ini" "$demo\\fly2\\" "$demo\\work\\"
shot="$demo\\opened.png" archive="" saved="$demo\\opened.dbd"
on_screen wine start /wait /unix "$trial/demo/fly2/system/AIRPORT.POD" >/dev/null
same_table "$trial/linux.dbd" "$trial/demo/opened.dbd" ||
  { echo "AIRPORT.POD opened by its type did not open in the installed Orvane" >&2; exit 1; }
wine "$installed/uninstall.exe" /S
wineserver -w
left=$(cd "$installed" && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./Orvane.ini " ] || { echo "The uninstaller left: $left" >&2; exit 1; }
[ -z "$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Orvane.lnk')" ] ||
  { echo "The uninstaller left the Start-menu entry" >&2; exit 1; }
! wine reg query "HKLM\\Software\\Classes\\Orvane.pod" >/dev/null 2>&1 ||
  { echo "The uninstaller left the file types" >&2; exit 1; }
rm -rf "$installed"
echo "The installer installed, opened AIRPORT.POD by its type, uninstalled (the settings stay)"
