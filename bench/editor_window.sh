#!/usr/bin/env bash
# bench/editor_window.sh
# The level editor in a real window under Xvfb (Mesa's software OpenGL):
#  - a 30 x 30 board painted by dragging with plates, chains and chips; the
#    editor prints its painting frames' times (work and present, the sleep
#    that holds 60 fps left out);
#  - the winnability check (10 seeds x relaxed and timed) on a 9 x 9 quest
#    level, timed from the click to the result.
# Needs xvfb-run (package xvfb). Run from the project's root after `make`.
set -u
cd "$(dirname "$0")/.."
GAME=build/brimble
[ -x "$GAME" ] || { echo "build first (make)"; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)"; exit 1; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
{
  echo "wait 30"
  for i in $(seq 21); do echo "click 927 377"; done   # Bottom+
  for i in $(seq 21); do echo "click 927 403"; done   # Right+
  echo "wait 10"
  k=0
  for key in 51 50 72 49 67; do
    y=$((60 + k * 120)); k=$((k + 1))
    echo "key $key"
    echo "drag 20 $((y + 40)) 760 $((y + 300)) 120"
    echo "drag 760 $((y + 20)) 20 $((y + 60)) 120"
  done
  echo "key 82"
  echo "drag 30 100 740 700 200"
  echo "wait 10"
} >"$TMP/paint.e2e"
printf 'wait 60\nclick 927 695\nwait 900\n' >"$TMP/check.e2e"

echo "== painting a 30 x 30 board (drag)"
xvfb-run -a -s "-screen 0 1280x1024x24" env BRIMBLE_EDITOR_STATS=1 "$GAME" --data game --windowed \
  --user-dir "$TMP/user" --script "$TMP/paint.e2e" --editor >"$TMP/out.txt" 2>"$TMP/err.txt"
grep -E "editor-stats" "$TMP/err.txt" | sed 's/^/  /'
LEVEL=$(grep -l 'dims = 9, 9' game/data/levels/*.lvl | head -1)
echo "== check on $LEVEL"
xvfb-run -a -s "-screen 0 1280x1024x24" "$GAME" --data game --windowed --user-dir "$TMP/user2" \
  --script "$TMP/check.e2e" --editor "$LEVEL" >"$TMP/out2.txt" 2>"$TMP/err2.txt"
grep -E "Check done" "$TMP/out2.txt" | sed 's/^/  /'
