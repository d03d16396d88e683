#!/usr/bin/env bash
# Builds the Debian package from a build folder and tries it as a new user
# would, without installing it on this machine: lintian, then the package
# unpacked into a scratch root (dpkg -x), its desktop files validated, its
# MIME types and manuals checked, and its programs run from there: the batch
# tool on a demo folder it writes, the editor offscreen with a file argument,
# and a double click (gio open) on a .dbd under a virtual display.
#
#   tools/package-test.sh [BUILD_DIR]     (default: build; run by ./test's ctest)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
started=$(date +%s)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "package test: $*" >&2
  exit 1
}

echo "== cpack -G DEB"
(cd "$build" && cpack -G DEB -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
version=$("$build/orvane-cli" --version | sed 's/^orvane-cli //')
deb="$scratch/cpack/orvane_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") (made: $(ls "$scratch/cpack"))"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Computed by dpkg-shlibdeps from the programs' libraries.
for lib in libc6 libstdc++6 libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6; do
  [[ "$depends" == *"$lib "* || "$depends" == *"$lib," ]] || fail "Depends lacks $lib"
done

if command -v lintian >/dev/null; then
  echo "== lintian"
  lintian --fail-on error "$deb" || fail "lintian reports errors"
fi

echo "== The unpacked package"
root="$scratch/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
for f in usr/bin/orvane usr/bin/orvane-cli usr/share/orvane/help/orvane-help-en.html \
  usr/share/orvane/help/orvane-help-fr.html usr/share/applications/org.orvane.Orvane.desktop \
  usr/share/metainfo/org.orvane.Orvane.metainfo.xml usr/share/mime/packages/orvane.xml \
  usr/share/icons/hicolor/scalable/apps/org.orvane.Orvane.svg \
  usr/share/icons/hicolor/48x48/apps/org.orvane.Orvane.png \
  usr/share/man/man1/orvane.1.gz usr/share/man/man1/orvane-cli.1.gz \
  usr/share/bash-completion/completions/orvane-cli usr/share/doc/orvane/copyright; do
  [ -f "$root/$f" ] || fail "the package lacks /$f"
done
desktop-file-validate "$share/applications/org.orvane.Orvane.desktop"
appstreamcli validate --no-net "$share/metainfo/org.orvane.Orvane.metainfo.xml" >"$scratch/as.log" 2>&1 ||
  { cat "$scratch/as.log" >&2; fail "appstreamcli validate"; }
for page in orvane orvane-cli; do
  warnings=$(MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>&1 >"$scratch/$page.txt")
  [ -z "$warnings" ] || fail "man $page: $warnings"
  grep -q "EXIT STATUS" "$scratch/$page.txt" || fail "man $page does not render"
done

# The MIME database built from the package's types alone: the extensions in
# any letter case and the Fly! II archive's signature.
cp -r "$share/mime" "$scratch/mime"
update-mime-database "$scratch/mime" >/dev/null 2>&1
for type in dbd dbt pod epd dex; do
  grep -q "^50:application/x-fly-$type:\*\.$type\$" "$scratch/mime/globs2" ||
    fail "no glob for .$type"
done
grep -q 'application/x-fly-pod' "$scratch/mime/magic" || fail "no magic for POD archives"

echo "== bash completion"
if [ -f /usr/share/bash-completion/bash_completion ]; then
  complete_words() {
    bash -c 'source /usr/share/bash-completion/bash_completion
             source "$1"; shift
             COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
             _orvane_cli; printf "%s\n" "${COMPREPLY[@]}"' _ \
      "$share/bash-completion/completions/orvane-cli" "$@"
  }
  [ "$(complete_words orvane-cli con)" = convert ] || fail "completion of 'con'"
  [ "$(complete_words orvane-cli show x --dec)" = --decimal ] || fail "completion of --dec"
  [ "$(complete_words orvane-cli help write)" = write-record ] || fail "completion of help write"
fi

echo "== The installed programs"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" LC_ALL=C.UTF-8
mkdir -p "$HOME"
bin="$root/usr/bin"
[ "$("$bin/orvane-cli" --version)" = "orvane-cli $version" ] || fail "orvane-cli --version"
"$bin/orvane-cli" help show | grep -q '^Usage: orvane-cli show' || fail "orvane-cli help show"
demo="$scratch/demo"
"$bin/orvane-cli" make-demo "$demo" >/dev/null
"$bin/orvane-cli" show "$demo/fly2/system/AIRPORT.POD" >"$scratch/show.txt"
head -1 "$scratch/show.txt" | grep -q $'^n\xc2\xb0\tModif\tSuppr\tExport\t' || fail "orvane-cli show"
[ "$(wc -l <"$scratch/show.txt")" -gt 1 ] || fail "orvane-cli show printed no record"

# --help and --version need no display.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin/orvane" --version)" = "orvane $version" ] ||
  fail "orvane --version"
env -u DISPLAY -u WAYLAND_DISPLAY "$bin/orvane" --help | grep -q '^Usage: orvane' || fail "orvane --help"

# The editor offscreen with a file argument: its screenshot hook prints the
# status bar, which names the file loaded. Settings as the directories
# dialog writes them, in the user's folder: an installed program has none
# beside itself.
mkdir -p "$XDG_CONFIG_HOME/Orvane"
printf '[init]\r\nfirst=1\r\nversion=2\r\nlangage=english\r\n[fly2]\r\nflydir=%s/fly2/\r\n[work2]\r\nworkdir=%s/work/\r\n' \
  "$demo" "$demo" >"$XDG_CONFIG_HOME/Orvane/Orvane.ini"
status=$(QT_QPA_PLATFORM=offscreen ORVANE_SCREENSHOT="$scratch/editor.png" timeout 60 \
  "$bin/orvane" "$demo/work/AIRPORT.dbd")
echo "orvane AIRPORT.dbd: $status"
[[ "$status" == "File AIRPORT.dbd - Data type : aprt - "*" records - "* ]] ||
  fail "the editor did not open the file"
[ -s "$scratch/editor.png" ] || fail "no screenshot"
[ "$(ls "$bin")" = $'orvane\norvane-cli' ] || fail "something was written beside the programs: $(ls "$bin")"

# A double click in a file manager: gio open finds the type and the desktop
# entry in the package's folders and starts the editor on the file.
if command -v gio >/dev/null && command -v xvfb-run >/dev/null; then
  echo "== gio open AIRPORT.dbd"
  cp -r "$share/applications" "$scratch/applications"
  mkdir -p "$scratch/data"
  mv "$scratch/mime" "$scratch/data/mime"
  mv "$scratch/applications" "$scratch/data/applications"
  update-desktop-database "$scratch/data/applications"
  rm -f "$scratch/editor.png"
  XDG_DATA_DIRS="$scratch/data:/usr/share" XDG_DATA_HOME="$scratch/data-home" PATH="$bin:$PATH" \
    ORVANE_SCREENSHOT="$scratch/gio.png" xvfb-run -a -s '-screen 0 1280x800x24' \
    bash -c 'gio open "$1" && for _ in $(seq 150); do [ -s "$2" ] && break; sleep 0.2; done; sleep 1' _ \
    "$demo/work/AIRPORT.dbd" "$scratch/gio.png" >"$scratch/gio.log" 2>&1 || true
  cat "$scratch/gio.log"
  grep -q "^File AIRPORT.dbd - Data type : aprt - " "$scratch/gio.log" ||
    fail "gio open did not open AIRPORT.dbd in the editor"
fi
echo "Package test passed in $(($(date +%s) - started)) s"
