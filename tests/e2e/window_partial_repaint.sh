#!/usr/bin/env bash
# window_partial_repaint.sh BRIMBLE GAMEDIR OUTDIR
# In a real window that keeps its last frame (Mesa's software OpenGL under
# Xvfb), a frame that changed in a small area is repainted there alone, and
# calls of the same picture are run together where no call between them
# touches their pixels. With BRIMBLE_CHECK_REPAINT the game paints every
# frame whole again with its calls in the order they came and counts those
# whose pixels differ: none may. The play screen of a level with
# a puzzle chip (its glint), the pointer resting on a chip (the hover
# animation), then off the board, then a few moves of the autoplayer. Skips
# (ctest's code 77, saying why) without xvfb-run or an X server.
set -u
. "$(dirname "$0")/in_xvfb.sh"
printf 'wait 120\nmove 444 316\nwait 240\nmove 760 150\nwait 120\nautoplay 3\nwait 60\n' >"$OUT/script.e2e"
SDL_AUDIODRIVER=dummy BRIMBLE_CHECK_REPAINT=1 BRIMBLE_FRAME_STATS=1 "$BRIMBLE" --windowed --user-dir "$OUT/user" \
  --data "$GAMEDIR" --script "$OUT/script.e2e" --play-level data/levels/level05.lvl >"$OUT/stdout.txt" \
  2>"$OUT/stderr.txt"
status=$?
fail=0
[ $status -eq 0 ] || { echo "exit status $status, want 0"; fail=1; }
grep -q "frame-stats partial repaints on" "$OUT/stderr.txt" ||
  { echo "partial repaints were not used: the window did not keep its last frame"; fail=1; }
last=$(grep "^repaint-check" "$OUT/stderr.txt" | tail -1)
read -r _ _ partial _ differed _ whole _ wholeDiffered <<<"${last:-x x 0 x -1 x 0 x -1}"
[ "$partial" -ge 100 ] || { echo "only $partial frames repainted in part, want at least 100"; fail=1; }
[ "$differed" = 0 ] || { echo "$differed of $partial frames repainted in part differ from the whole frame"; fail=1; }
[ "$whole" -ge 20 ] || { echo "only $whole frames painted whole, want at least 20"; fail=1; }
[ "$wholeDiffered" = 0 ] ||
  { echo "$wholeDiffered of $whole frames painted with their calls grouped differ from the calls in order"; fail=1; }
[ $fail -eq 0 ] || { tail -20 "$OUT/stderr.txt"; exit 1; }
echo "$partial frames repainted in part and $whole painted whole, each the same as the calls run in order"
