#!/usr/bin/env bash
# bench/headless_sim.sh [ROUNDS [LEVELRUN...]]
# The headless simulation's speed: the level runner (the autoplayer on the
# engine, nothing drawn) plays quest levels 01-12 on seed 1, and each level's
# frames per CPU-second (user + system time of the whole process, start-up
# included) is printed, with min/median/max over the twelve levels. A run
# takes milliseconds, finer than the kernel's CPU accounting, so a level's
# figure is the median of ROUNDS rounds (default 5) of 10 runs timed
# together. Given several runners (e.g. an older build's and this one's),
# their rounds are alternated and a level's outcome must be the same for all
# of them. Default runner: build/levelrun. Run from the project's root after
# `make`.
set -u
cd "$(dirname "$0")/.."
RUNS=${1:-5}
shift || true
RUNNERS=("$@")
[ ${#RUNNERS[@]} -gt 0 ] || RUNNERS=(build/levelrun)
for r in "${RUNNERS[@]}"; do [ -x "$r" ] || { echo "no runner $r (make first)"; exit 1; }; done
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
TIMEFORMAT='%U %S'

# cpu RUNNER LEVEL OUT: CPU seconds of one run (the mean of 10); its line of JSON in OUT
cpu() { { time for n in 1 2 3 4 5 6 7 8 9 10; do "$1" "$2" --seed 1 >"$3"; done; } 2>&1 | awk '{print ($1 + $2) / 10}'; }

for lv in 01 02 03 04 05 06 07 08 09 10 11 12; do
  f=game/data/levels/level$lv.lvl
  for ((i = 0; i < RUNS; ++i)); do
    for k in "${!RUNNERS[@]}"; do cpu "${RUNNERS[$k]}" "$f" "$TMP/out$k.json" >>"$TMP/cpu_${k}_$lv"; done
  done
  for k in "${!RUNNERS[@]}"; do
    cmp -s "$TMP/out0.json" "$TMP/out$k.json" || echo "level $lv: ${RUNNERS[$k]} played differently: $(cat "$TMP/out$k.json")"
  done
  frames=$(grep -o '"frames":[0-9]*' "$TMP/out0.json" | grep -o '[0-9]*$')
  echo "$lv $frames" >>"$TMP/frames"
done

printf '%-6s %7s' level frames
for r in "${RUNNERS[@]}"; do printf ' %22s' "$(basename "$(dirname "$(realpath "$r")")")/$(basename "$r")"; done
echo
for k in "${!RUNNERS[@]}"; do : >"$TMP/rate_$k"; done
while read -r lv frames; do
  printf '%-6s %7s' "$lv" "$frames"
  for k in "${!RUNNERS[@]}"; do
    med=$(sort -n "$TMP/cpu_${k}_$lv" | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}')
    rate=$(awk -v f="$frames" -v s="$med" 'BEGIN {printf "%d", (s > 0 ? f / s : 0)}')
    echo "$rate" >>"$TMP/rate_$k"
    printf ' %16s f/CPU-s' "$rate"
  done
  echo
done <"$TMP/frames"
printf '%-14s' "min/med/max"
for k in "${!RUNNERS[@]}"; do
  printf ' %22s' "$(sort -n "$TMP/rate_$k" | awk '{v[NR]=$1} END {printf "%d/%d/%d", v[1], v[int((NR+1)/2)], v[NR]}')"
done
echo
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
