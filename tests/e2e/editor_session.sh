#!/usr/bin/env bash
# The editor as a user drives it, end to end: the real program under a
# virtual X server, real keys through the X test extension. It opens the demo
# airport table, opens the record editor on row 2 with Ctrl+Enter, types a
# letter into an elevation (the check's message box is answered with Enter),
# types a digit, carries the record back, saves the table as a DBD and quits.
# The saved file must hold exactly the demo table with that one elevation
# changed and that row selected for export. Then a second session writes
# into a copy of the navaid archive in direct-write mode after a take from a
# comparison, and the archive must hold that one change. Every step waits for
# a window (by its title) to appear or go, never for a fixed time.
#
#   editor_session.sh ORVANE ORVANE_CLI
#
# The program runs from a copy in a temporary folder with its own Orvane.ini
# (it reads its settings beside itself), and HOME and XDG_CONFIG_HOME point
# into that folder too: no settings of the build or of the user are touched.
set -euo pipefail

if [ -z "${ORVANE_E2E_DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (tools/ensure-packages.sh)"; exit 1; }
  command -v xdotool >/dev/null || { echo "xdotool is missing (tools/ensure-packages.sh)"; exit 1; }
  exec env ORVANE_E2E_DISPLAY=1 xvfb-run -a -s '-screen 0 1280x800x24' "$0" "$@"
fi

PROGRAM=$1
CLI=$2
WORK=$(mktemp -d)
APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -n "${ORVANE_E2E_SHOT:-}" ] && import -window root "$ORVANE_E2E_SHOT" 2>/dev/null
  echo "windows now:" >&2
  xdotool search --onlyvisible --name '.' getwindowname %@ >&2 2>/dev/null || true
  [ -f "$WORK/app.log" ] && sed 's/^/  program: /' "$WORK/app.log" >&2
  exit 1
}

# wait_window TITLE-REGEX: the id of a visible window with that title, once
# there is one (60 s at most).
wait_window() {
  local id
  id=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1) ||
    fail "no window titled '$1'"
  [ -n "$id" ] || fail "no window titled '$1'"
  echo "$id"
}
# wait_gone TITLE-REGEX: returns once no visible window has that title.
wait_gone() {
  local deadline=$((SECONDS + 60))
  while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "window '$1' still open"
    alive
    sleep 0.05
  done
}
alive() { kill -0 "$APP_PID" 2>/dev/null || fail "the program is gone"; }
# keys WINDOW KEY...: the keyboard focus to WINDOW (there is no window
# manager to give it), then the keys, as typed.
keys() {
  local window=$1
  shift
  xdotool windowfocus --sync "$window"
  xdotool key --delay 20 "$@"
}
typed() {
  local window=$1
  xdotool windowfocus --sync "$window"
  xdotool type --delay 20 "$2"
}

# quit_program: Ctrl+Q until the program is gone (again while a progress
# window may still hold the keys); a question before quitting (changes not
# saved or not written) keeps it open: a fault.
quit_program() {
  local deadline=$((SECONDS + 60))
  while kill -0 "$APP_PID" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the program did not quit"
    keys "$main" ctrl+q 2>/dev/null || true
    timeout 1 tail --pid="$APP_PID" -f /dev/null || true
  done
  wait "$APP_PID" || fail "the program exited with status $?"
  APP_PID=""
}

MAIN='^Orvane v'
EDITOR='^Data change$'

"$CLI" make-demo "$WORK/demo" >/dev/null
POD="$WORK/demo/fly2/system/AIRPORT.POD"
# Not named "save…": xdotool matches titles in any case, and the main
# window takes the saved file's name.
SAVED="$WORK/result.dbd"
mkdir -p "$WORK/app" "$WORK/home"
cp "$PROGRAM" "$WORK/app/orvane"
printf '[init]\r\nfirst=1\r\nversion=2\r\nlangage=english\r\n[fly2]\r\nflydir=%s/demo/fly2/\r\n[work2]\r\nworkdir=%s/demo/work/\r\n' \
  "$WORK" "$WORK" >"$WORK/app/Orvane.ini"

HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" LC_ALL=C.UTF-8 \
  "$WORK/app/orvane" >"$WORK/app.log" 2>&1 &
APP_PID=$!

# Open the demo airport table from its archive.
main=$(wait_window "$MAIN")
keys "$main" ctrl+o
open=$(wait_window '^Open$')
typed "$open" "$POD"
keys "$open" Return
wait_gone '^Open$'

# The load may show its progress window (window-modal: keys and clicks on
# the main window go nowhere meanwhile). The record editor opening on
# Ctrl+Enter says the table is there; Escape closes it.
deadline=$((SECONDS + 60))
until editor=$(timeout 2 xdotool search --sync --onlyvisible --name "$EDITOR" 2>/dev/null | head -1) &&
  [ -n "$editor" ]; do
  [ $SECONDS -lt $deadline ] || fail "the record editor does not open"
  alive
  keys "$main" ctrl+Return
done
keys "$editor" Escape
wait_gone "$EDITOR"
# A click on row 2 (its ICAO cell, where the grid puts it in this window of
# fixed layout), the record editor on it, the elevation (page 1, row 11):
# F2, End, a letter.
xdotool mousemove --window "$main" 570 166 click 1
keys "$main" ctrl+Return
editor=$(wait_window "$EDITOR")
keys "$editor" Down Down Down Down Down Down Down Down Down Down F2 End x
box=$(wait_window '^Erreur de saisie$')
keys "$box" Return
wait_gone '^Erreur de saisie$'
alive
# Editing goes on in the same cell: a digit, then "Close" (Ctrl+Enter).
keys "$editor" 7 ctrl+Return
wait_gone "$EDITOR"

# Save all as a DBD file, then quit.
keys "$main" ctrl+s
save=$(wait_window '^Save')
typed "$save" "$SAVED"
keys "$save" Return
wait_gone '^Save'
# Saved (the file appears whole, renamed from a temporary one); Ctrl+Q again
# while the save's progress window may still hold the keys.
deadline=$((SECONDS + 60))
until [ -f "$SAVED" ]; do
  [ $SECONDS -lt $deadline ] || fail "nothing saved"
  alive
  sleep 0.05
done
quit_program
[ -f "$SAVED" ] || fail "nothing saved"

# The expected table: the demo table with row 2's elevation ending in 7 and
# the row selected; the saved file's bytes: the demo table saved the same
# way, but for the save time (bytes 13-16) and row 2's record.
"$CLI" show "$POD" >"$WORK/before.txt"
"$CLI" show "$SAVED" --template "$POD" >"$WORK/after.txt"
awk -F'\t' -v OFS='\t' '$1 == "2" { $4 = "1"; $15 = $15 "7" } { print }' \
  "$WORK/before.txt" >"$WORK/expected.txt"
diff "$WORK/expected.txt" "$WORK/after.txt" >&2 || fail "the saved table differs from the expected one"
"$CLI" convert "$POD" "$WORK/reference.dbd"
[ "$(stat -c %s "$WORK/reference.dbd")" = "$(stat -c %s "$SAVED")" ] || fail "the saved file's size differs"
# Bytes that differ (cmp counts from 1): the save time, or between the keys
# of records 1 and 3 (the table check above holds record 1's fields).
first=$(grep -boa FR00001 "$WORK/reference.dbd" | cut -d: -f1)
third=$(grep -boa FR00003 "$WORK/reference.dbd" | cut -d: -f1)
cmp -l "$WORK/reference.dbd" "$SAVED" >"$WORK/bytes.txt" || true
[ -s "$WORK/bytes.txt" ] || fail "the saved file is the demo table unchanged"
awk -v a="$first" -v b="$third" '!(($1 >= 13 && $1 <= 16) || ($1 > a + 1 && $1 <= b)) { bad = 1; print "byte " $1 - 1 " differs" } END { exit bad }' \
  "$WORK/bytes.txt" >&2 || fail "bytes outside row 2 changed"

# A direct-write session with a take. The other file: the demo navaids as
# CSV with a row more after FRN0002 and Pontoise renamed and moved. The
# editor opens a copy of NAVAID.POD for direct write (DBD Files > u),
# compares it with that file (Edit > w, "Compare with…"), takes every difference from the
# panel (F6, Ctrl+A, Tab, Space): the mode leaves the new row and the
# latitude out and says so; the name comes in. Row 3 is written (DBD Files >
# e) and the program quits without a question: nothing is left unwritten.
# The archive must then differ from the demo's in row 3's name alone.
DW="$WORK/dw/NAVAID.POD"
mkdir -p "$WORK/dw"
cp "$WORK/demo/fly2/system/NAVAID.POD" "$DW"
"$CLI" convert "$DW" "$WORK/other.csv"
awk 'BEGIN { RS = ORS = "\r\n"; FS = OFS = ";" }
  $3 == "FRN0003" { $5 = "Pontoise-Cormeilles"; $12 = "176700.0000" }
  { print }
  $3 == "FRN0002" { $3 = "FRN0099"; $4 = "NEW"; $5 = "Newplace"; $16 = "0400FFFF3A16BFA7"; print }' \
  "$WORK/other.csv" >"$WORK/other2.csv"
mv "$WORK/other2.csv" "$WORK/other.csv"
HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" LC_ALL=C.UTF-8 \
  "$WORK/app/orvane" >"$WORK/app.log" 2>&1 &
APP_PID=$!
main=$(wait_window "$MAIN")
keys "$main" alt+d u
open=$(wait_window '^Open$')
typed "$open" "$DW"
keys "$open" Return
wait_gone '^Open$'
keys "$main" alt+e w
open=$(wait_window '^Open$')
typed "$open" "$WORK/other.csv"
keys "$open" Return
wait_gone '^Open$'
# The panel's list (F6 from the search box: the grid, then the panel),
# every difference, the take.
keys "$main" F6 F6 ctrl+a Tab space
box=$(wait_window 'Zaziver1')
keys "$box" Return
wait_gone 'Zaziver1'
# Back to the grid (F6 from the take button), down to row 3, write it.
keys "$main" F6 Down Down
keys "$main" alt+d e
quit_program
"$CLI" show "$WORK/demo/fly2/system/NAVAID.POD" >"$WORK/nav-before.txt"
"$CLI" show "$DW" >"$WORK/nav-after.txt"
awk -F'\t' -v OFS='\t' '$1 == "3" { $7 = "Pontoise-Cormeilles" } { print }' \
  "$WORK/nav-before.txt" >"$WORK/nav-expected.txt"
diff "$WORK/nav-expected.txt" "$WORK/nav-after.txt" >&2 ||
  fail "the archive after the direct write differs from the expected one"

# The clipboard both ways, as another program uses it (xclip): a
# spreadsheet's two cells go in, Ctrl+V puts them into row 2 (its ICAO cell
# and the next), Ctrl+C copies them back out, and xclip reads what the
# grid holds. Ctrl+Z takes the paste back: the program quits without a
# question.
command -v xclip >/dev/null || fail "xclip is missing (tools/ensure-packages.sh)"
HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" LC_ALL=C.UTF-8 \
  "$WORK/app/orvane" "$WORK/demo/work/AIRPORT.dbd" >"$WORK/app.log" 2>&1 &
APP_PID=$!
main=$(wait_window '^AIRPORT\.dbd — Orvane$') # the title names the file opened
printf 'ZZ01\tZ\xc3\xa9d field\r\n' | xclip -selection clipboard -in
deadline=$((SECONDS + 60))
until [ "$(xclip -selection clipboard -out 2>/dev/null)" = "$(printf 'ZZ01\tZ\xc3\xa9d field\r')" ]; do
  [ $SECONDS -lt $deadline ] || fail "xclip did not take the text"
  sleep 0.1
done
xdotool mousemove --window "$main" 570 166 click 1
keys "$main" ctrl+v
# The paste leaves the current cell where it was: the two cells are
# selected from there (another click now would be a double click).
keys "$main" shift+Right ctrl+c
deadline=$((SECONDS + 60))
until [ "$(xclip -selection clipboard -out 2>/dev/null)" = "$(printf 'ZZ01\tZ\xc3\xa9d field\n')" ]; do
  [ $SECONDS -lt $deadline ] || fail "the grid's copy is '$(xclip -selection clipboard -out 2>/dev/null)'"
  alive
  sleep 0.1
done
keys "$main" ctrl+z
quit_program

echo "1 passed, 0 failed"
