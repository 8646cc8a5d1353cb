# Shared by the tutorial_power_up_tips_* checks (sourced, OUT as $1): the six
# power-up tips each came, pointed at their button and were closed with OK,
# and every tip of the run stood on the screen clear of the HUD's panels (the
# power-up panel, the clock, the score counters, the menu button) and of the
# power-up button and arrow it pointed at, as the game logged them.
set -eu
OUT=$1
LOG="$OUT/stdout.txt"
sockets=(0 97 189 269 349 429 517)
for n in 1 2 3 4 5 6; do
  for want in "POWER-UP-$n starts on MAIN-GAME" "POWER-UP-$n points at x 56 y ${sockets[$n]}" "POWER-UP-$n ends: ok"; do
    grep -qx "tutorial: $want" "$LOG" || { echo "missing: $want"; grep '^tutorial: ' "$LOG"; exit 1; }
  done
done
places=$(grep '^tip-place: ' "$LOG") || { echo "no tip placed"; exit 1; }
[ "$(echo "$places" | grep -c '^tip-place: POWER-UP-')" = 6 ] || { echo "want six power-up tips placed"; echo "$places"; exit 1; }
# "tip-place: ID X,Y,W,H moved DX,DY clear of R1 R2 ..." (rectangles X,Y,W,H).
echo "$places" | awk '
{
  split($3, t, ",")
  if (t[1] < 0 || t[2] < 0 || t[1] + t[3] > 1024 || t[2] + t[4] > 768) { print $2 " off the screen: " $3; bad = 1 }
  n = 0
  for (i = 7; i <= NF; ++i) {
    split($i, r, ",")
    ++n
    if (t[1] < r[1] + r[3] && r[1] < t[1] + t[3] && t[2] < r[2] + r[4] && r[2] < t[2] + t[4]) {
      print $2 " at " $3 " covers " $i; bad = 1
    }
  }
  # The HUD has four panels; a power-up tip also keeps off its button.
  want = ($2 ~ /^POWER-UP-/) ? 5 : 4
  if (n < want) { print $2 " was kept clear of only " n " rectangles"; bad = 1 }
}
END { exit bad }' || { echo "$places"; exit 1; }
"$SHOTCHECK" --min-colours 50 "$OUT"/shots/*.png
# The hammer's tip, moved under the clock, still reads.
"$SHOTCHECK" --contrast "$OUT/shots/tip1.png" 212,148,240,136 200,293,30,10 4.5 hammer-tip-text
