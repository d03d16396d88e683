#!/usr/bin/env bash
# Makes the README screenshots of the editor's main window on the demo data,
# in French and in English, under a virtual X display:
#   docs/screenshot-fr.png, docs/screenshot-en.png, and the map page: the
#   demo airports on the whole world and on France, the runways of Paris-
#   Charles de Gaulle and the navaids around Paris:
#   docs/map-{world,country,airport,navaid}-{fr,en}.png
# Each language gets its own copy of the program with its own Orvane.ini
# beside it (the editor reads its settings from its own folder).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${ORVANE_BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" --target orvane orvane-cli

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$BUILD_DIR/orvane-cli" make-demo "$WORK/demo" >/dev/null
mkdir -p docs

shoot() { # language-key langage-value output [archive] [page] [map view] [current row]
  local dir="$WORK/$1"
  mkdir -p "$dir"
  cp "$BUILD_DIR/orvane" "$dir/orvane"
  {
    printf '[init]\r\nfirst=1\r\nversion=2\r\nlangage=%s\r\n' "$2"
    printf '[fly2]\r\nflydir=%s/demo/fly2/\r\n[work2]\r\nworkdir=%s/demo/work/\r\n' "$WORK" "$WORK"
  } >"$dir/Orvane.ini"
  LC_ALL=C.UTF-8 ORVANE_SCREENSHOT="$ROOT/$3" \
    ORVANE_SCREENSHOT_ARCHIVE="$WORK/demo/fly2/system/${4:-AIRPORT}.POD" \
    ORVANE_SCREENSHOT_PAGE="${5:-0}" ORVANE_SCREENSHOT_MAP="${6:-}" \
    ORVANE_SCREENSHOT_ROW="${7:-0}" \
    xvfb-run -a -s '-screen 0 1280x800x24' "$dir/orvane"
  echo "wrote $3"
}
shoot fr $'fran\xe7ais' docs/screenshot-fr.png
shoot en english docs/screenshot-en.png
for lang in fr en; do
  if [ "$lang" = fr ]; then value=$'fran\xe7ais'; else value=english; fi
  shoot "$lang" "$value" "docs/map-world-$lang.png" AIRPORT 2 world
  shoot "$lang" "$value" "docs/map-country-$lang.png" AIRPORT 2 2.4,46.6,70
  shoot "$lang" "$value" "docs/map-airport-$lang.png" RUNWAY 2 2.555,49.009,9000 1
  shoot "$lang" "$value" "docs/map-navaid-$lang.png" NAVAID 2 2.4,48.8,260
done
