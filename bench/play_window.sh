#!/usr/bin/env bash
# bench/play_window.sh [LEVEL...]
# The play screen in a real window under Xvfb (Mesa's software OpenGL), with
# SDL's dummy audio driver (a sound device that decodes and mixes, heard by
# nobody), one table row a level:
#  - a cascade: the autoplayer plays; the game prints its busy frames' times
#    (work and present, the sleep that holds 60 fps left out): median, 99th
#    percentile and longest; and the CPU of the game over 10 s of it;
#  - the peak memory (VmHWM) of the game over that run;
#  - idle CPU: 10 s of a still board, the pointer on an empty spot of the sky
#    (off the board and off every button) and resting on a chip.
# BRIMBLE=path picks the game (default build/brimble). Needs xvfb-run (package
# xvfb). Run from the project's root after `make`.
set -u
cd "$(dirname "$0")/.."
GAME=$(realpath "${BRIMBLE:-build/brimble}")
[ -x "$GAME" ] || { echo "build first (make)"; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)"; exit 1; }
LEVELS=("$@")
[ ${#LEVELS[@]} -gt 0 ] || LEVELS=(game/data/levels/level01.lvl game/data/levels/level03.lvl game/data/levels/level05.lvl)
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
printf 'wait 300\nautoplay 2400\n' >"$TMP/cascade.e2e"
printf 'wait 300\nmove 760 150\nwait 1500\n' >"$TMP/idle-off.e2e"
printf 'wait 300\nmove 444 316\nwait 1500\n' >"$TMP/idle-on.e2e"
export SDL_AUDIODRIVER=dummy

# cascade LEVEL: plays it; leaves "median p99 max cpu% hwmMB" in $TMP/cascade.txt
cascade() {
  rm -rf "$TMP/user"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    BRIMBLE_FRAME_STATS=1 "$0" --data game --windowed --user-dir "$1/user" --script "$1/cascade.e2e" \
      --play-level "$2" >"$1/out.txt" 2>"$1/err.txt" & p=$!; hwm=0; n=0; a=""; b=""
    while kill -0 $p 2>/dev/null; do
      h=$(awk "/VmHWM/ {print \$2}" /proc/$p/status 2>/dev/null); [ -n "$h" ] && hwm=$h
      # CPU over 10 s of the cascade (it starts after 5 s of the level opening)
      [ $n -eq 16 ] && a=$(awk "{print \$14 + \$15}" /proc/$p/stat 2>/dev/null)
      [ $n -eq 36 ] && b=$(awk "{print \$14 + \$15}" /proc/$p/stat 2>/dev/null)
      n=$((n + 1)); sleep 0.5
    done
    cpu="-"; [ -n "$a" ] && [ -n "$b" ] && cpu=$(( (b - a) * 100 / $(getconf CLK_TCK) / 10 ))
    echo "$cpu $((hwm / 1024))" >"$1/cpu.txt"' "$GAME" "$TMP" "$1"
  # "... whole frame ... median X ms, 99th percentile Y ms, longest Z ms"
  local stats
  stats=$(grep -E "whole frame" "$TMP/err.txt" | tail -1 | grep -oE "[0-9]+(\.[0-9]+)? ms" | awk '{printf "%s ", $1}')
  [ -n "$stats" ] || stats="- - - "
  echo "$stats$(cat "$TMP/cpu.txt")" >"$TMP/cascade.txt"
}

# idle LEVEL SCRIPT: CPU of the game over 10 s, after 8 s of settling
idle() {
  rm -rf "$TMP/user"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$0" --data game --windowed --user-dir "$1/user" --script "$2" --play-level "$3" >/dev/null 2>&1 & p=$!
    sleep 8; a=$(awk "{print \$14 + \$15}" /proc/$p/stat); sleep 10; b=$(awk "{print \$14 + \$15}" /proc/$p/stat)
    echo "$(( (b - a) * 100 / $(getconf CLK_TCK) / 10 ))"; kill $p; wait $p 2>/dev/null' "$GAME" "$TMP" "$2" "$1"
}

printf '%-10s %12s %12s %12s %12s %10s %10s %10s\n' level "median ms" "p99 ms" "longest ms" "cascade CPU%" "peak MB" "idle off%" "idle chip%"
for lv in "${LEVELS[@]}"; do
  cascade "$lv"
  read -r med p99 longest cpu hwm <"$TMP/cascade.txt"
  off=$(idle "$lv" "$TMP/idle-off.e2e")
  on=$(idle "$lv" "$TMP/idle-on.e2e")
  printf '%-10s %12s %12s %12s %12s %10s %10s %10s\n' "$(basename "$lv" .lvl)" "$med" "$p99" "$longest" "$cpu" "$hwm" \
    "$off" "$on"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
