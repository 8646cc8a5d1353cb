#!/usr/bin/env bash
# window_icon.sh BRIMBLE GAMEDIR OUTDIR
# The game's window carries its icon in every size from 16 to 256 px (X11's
# _NET_WM_ICON, read with xprop) and, in a development build, the version in
# its title. Needs a real window: runs under xvfb-run with xdotool and xprop,
# and skips (ctest's code 77, saying why) when one is missing.
set -u
. "$(dirname "$0")/in_xvfb.sh"
command -v xdotool >/dev/null || skip "xdotool is not installed (apt-get install xdotool)"
command -v xprop >/dev/null || skip "xprop is not installed (apt-get install x11-utils)"
"$BRIMBLE" --windowed --user-dir "$OUT/user" --data "$GAMEDIR" --credits >"$OUT/stdout.txt" 2>"$OUT/stderr.txt" &
pid=$!
win=$(window_of "$pid") || exit $?
# The icon is set once the display is open and the fonts are loaded: wait for it.
for _ in $(seq 1 100); do
  # -len: the whole property (xprop cuts long ones short by default)
  xprop -len 4000000 -id "$win" _NET_WM_ICON >"$OUT/icon.txt" 2>&1
  grep -q "Icon (256 x 256)" "$OUT/icon.txt" && break
  sleep 0.2
done
title=$(xdotool getwindowname "$win")
xdotool windowclose "$win" 2>/dev/null
for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && kill -9 "$pid"
wait "$pid"
fail=0
sizes=$(grep -o 'Icon ([0-9]* x [0-9]*)' "$OUT/icon.txt" | tr '\n' ' ')
for n in 16 24 32 48 64 128 256; do
  grep -q "Icon ($n x $n)" "$OUT/icon.txt" || { echo "the window's icon has no ${n}x${n} picture (it has: ${sizes:-none})"; fail=1; }
done
# A picture, not an empty square: the 16 px icon's rows are not all blank.
awk '/Icon \(16 x 16\)/{on=1; next} /Icon \(/{on=0} on' "$OUT/icon.txt" | grep -q '[^[:space:]]' ||
  { echo "the 16 px icon is blank"; fail=1; }
version=$("$BRIMBLE" --version | sed 's/^Brimble //')
case "$title" in
  *"$version"*) ;;
  *) echo "the title '$title' does not name the version $version"; fail=1 ;;
esac
[ $fail -eq 0 ] || exit 1
echo "the window has its icon in $(grep -c 'Icon (' "$OUT/icon.txt") sizes ($sizes) and the title '$title'"
