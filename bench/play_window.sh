#!/usr/bin/env bash
# bench/play_window.sh [LEVEL...]
# The play screen in a real window under Xvfb (Mesa's software OpenGL):
#  - a cascade: the autoplayer plays each level; the game prints its busy
#    frames' times (work and present, the sleep that holds 60 fps left out);
#  - the peak memory (VmHWM) of the game over that run;
#  - idle CPU: 10 s of a still board, pointer off the board and on a chip.
# Needs xvfb-run (package xvfb). Run from the project's root after `make`.
set -u
cd "$(dirname "$0")/.."
GAME=build/brimble
[ -x "$GAME" ] || { echo "build first (make)"; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)"; exit 1; }
LEVELS=("$@")
[ ${#LEVELS[@]} -gt 0 ] || LEVELS=(game/data/levels/level01.lvl game/data/levels/level03.lvl game/data/levels/level05.lvl)
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
printf 'wait 300\nautoplay 2400\n' >"$TMP/cascade.e2e"
printf 'wait 300\nmove 900 700\nwait 1500\n' >"$TMP/idle-off.e2e"
printf 'wait 300\nmove 444 316\nwait 1500\n' >"$TMP/idle-on.e2e"

# run LEVEL SCRIPT: plays it in a window; prints the frame times and VmHWM
run() {
  rm -rf "$TMP/user"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    BRIMBLE_FRAME_STATS=1 "$0" --data game --windowed --user-dir "$1/user" --script "$2" --play-level "$3" \
      >"$1/out.txt" 2>"$1/err.txt" & p=$!; hwm=0
    while kill -0 $p 2>/dev/null; do
      h=$(awk "/VmHWM/ {print \$2}" /proc/$p/status 2>/dev/null); [ -n "$h" ] && hwm=$h; sleep 0.5
    done
    echo "peak memory (VmHWM): $((hwm / 1024)) MB"' "$GAME" "$TMP" "$2" "$1"
  grep -E "whole frame" "$TMP/err.txt" | sed 's/^/  /'
}

# idle LEVEL SCRIPT: CPU of the game over 10 s, after 8 s of settling
idle() {
  rm -rf "$TMP/user"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$0" --data game --windowed --user-dir "$1/user" --script "$2" --play-level "$3" >/dev/null 2>&1 & p=$!
    sleep 8; a=$(awk "{print \$14 + \$15}" /proc/$p/stat); sleep 10; b=$(awk "{print \$14 + \$15}" /proc/$p/stat)
    echo "$(( (b - a) * 100 / $(getconf CLK_TCK) / 10 ))% of one core"; kill $p; wait $p 2>/dev/null' "$GAME" "$TMP" "$2" "$1"
}

for lv in "${LEVELS[@]}"; do
  echo "== $lv"
  echo " cascade (autoplay):"
  run "$lv" "$TMP/cascade.e2e"
  echo " idle, pointer off the board: $(idle "$lv" "$TMP/idle-off.e2e")"
  echo " idle, pointer resting on a chip: $(idle "$lv" "$TMP/idle-on.e2e")"
done
