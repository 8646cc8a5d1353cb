#!/usr/bin/env bash
# bench/startup.sh [RUNS]
# Start-up in a real window under Xvfb (Mesa's software OpenGL) with SDL's
# dummy audio driver, RUNS times (default 5), min/median/max in ms:
#  - the main menu without the branding show: process start to the first
#    frame on the window, and to the menu taking input;
#  - `--play-level` on level 01: process start to the first frame.
# BRIMBLE=path picks the game (default build/brimble). BRIMBLE_START_STATS=1
# makes the game print when the menu takes input; the first frame is seen by
# a preloaded wrapper of SDL_RenderPresent (bench/first_present_shim.c, built
# here with cc), the same for any build. Run from the project's root after `make`.
set -u
RUNS=${1:-5}
. "$(dirname "$0")/common.sh" "${BRIMBLE:-build/brimble}"
printf 'wait 120\n' >"$TMP/menu.e2e"
printf 'wait 60\n' >"$TMP/play.e2e"
export SDL_AUDIODRIVER=dummy
cc -shared -fPIC -O2 -o "$TMP/shim.so" bench/first_present_shim.c -ldl || { echo "cannot build the shim"; exit 1; }

# one ARGS...: prints "first-frame-ms menu-input-ms" of one start
one() {
  rm -rf "$TMP/user"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    t0=$(date +%s%N)
    LD_PRELOAD="$1/shim.so" BRIMBLE_START_STATS=1 "$0" --data "$1/data" --windowed --user-dir "$1/user" "${@:2}" >/dev/null 2>"$1/err.txt"
    for s in first-present menu-input; do
      t=$(awk -v s=$s "\$1 == \"start-stats\" && \$2 == s {print \$3}" "$1/err.txt")
      if [ -n "$t" ]; then printf "%s " $(( (t - t0) / 1000000 )); else printf -- "- "; fi
    done; echo' "$GAME" "$TMP" "$@"
}

# stats: min/median/max of the numbers on stdin
stats() { sort -n | awk '{v[NR]=$1} END {if (NR == 0) {print "-"; exit} printf "%d/%d/%d", v[1], v[int((NR+1)/2)], v[NR]}'; }

: >"$TMP/menu.txt"
: >"$TMP/play.txt"
for ((i = 0; i < RUNS; ++i)); do
  one --script "$TMP/menu.e2e" >>"$TMP/menu.txt"
  one --script "$TMP/play.e2e" --play-level game/data/levels/level01.lvl >>"$TMP/play.txt"
done
echo "menu, start to first frame (min/median/max ms): $(awk '$1 != "-" {print $1}' "$TMP/menu.txt" | stats)"
echo "menu, start to taking input (min/median/max ms): $(awk '$2 != "-" {print $2}' "$TMP/menu.txt" | stats)"
echo "--play-level, start to first frame (min/median/max ms): $(awk '$1 != "-" {print $1}' "$TMP/play.txt" | stats)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
