#!/usr/bin/env bash
# bench/menu_window.sh
# The main menu in a real window under Xvfb (Mesa's software OpenGL), without
# the branding show: the time from process start to the first frame and to
# the menu taking input, the CPU of the idle menu (clouds drifting, the
# television changing, the pointer resting on the sky) over 10 s, and the
# peak memory (VmHWM) at the menu. Run from the project's root after `make`.
set -u
. "$(dirname "$0")/common.sh" build/brimble
# A player is named first, so the idle menu is the one a returning player sees.
printf 'wait 150\ntype Ann\nkey 13\nmove 512 200\nwait 3000\n' >"$TMP/menu.e2e"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  t0=$(date +%s%N)
  BRIMBLE_START_STATS=1 "$0" --data "$1/data" --windowed --user-dir "$1/user" --script "$1/menu.e2e" \
    >/dev/null 2>"$1/err.txt" & p=$!
  sleep 12
  a=$(awk "{print \$14 + \$15}" /proc/$p/stat); sleep 10; b=$(awk "{print \$14 + \$15}" /proc/$p/stat)
  hwm=$(awk "/VmHWM/ {print \$2}" /proc/$p/status)
  kill $p; wait $p 2>/dev/null
  for s in first-frame part1-done part2-done part3-done part4-done part5-done menu-input; do
    t=$(awk -v s=$s "\$1 == \"start-stats\" && \$2 == s {print \$3}" "$1/err.txt")
    [ -n "$t" ] && echo "process start to $s: $(( (t - t0) / 1000000 )) ms"
  done
  echo "idle menu: $(( (b - a) * 100 / $(getconf CLK_TCK) / 10 ))% of one core"
  echo "peak memory (VmHWM) at the menu: $((hwm / 1024)) MB"' "$GAME" "$TMP"
