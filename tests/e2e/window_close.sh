#!/usr/bin/env bash
# window_close.sh BRIMBLE GAMEDIR OUTDIR
# The window destroyed by another X client (xdotool windowclose, as a window
# manager may do) must end the game as its close button does: status 0, the
# exit saves written. Needs a real window: it runs under xvfb-run with
# xdotool, and skips (ctest's skip code 77, with the reason) when either is
# missing or no X server starts.
set -u
. "$(dirname "$0")/in_xvfb.sh"
command -v xdotool >/dev/null || skip "xdotool is not installed (apt-get install xdotool)"
"$BRIMBLE" --windowed --user-dir "$OUT/user" --data "$GAMEDIR" --quest-at 2 >"$OUT/stdout.txt" 2>"$OUT/stderr.txt" &
pid=$!
win=$(window_of "$pid") || exit $?
# Once the game is up, the files the exit saves write are taken away; only
# the saves can bring them back.
for _ in $(seq 1 100); do
  [ -f "$OUT/user/Data/settings.dat" ] && ls "$OUT"/user/Profiles/*/profile.dat >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 2
rm -f "$OUT/user/Profiles/profiles.dat" "$OUT/user/Data/settings.dat" "$OUT"/user/Profiles/*/profile.dat
xdotool windowclose "$win" 2>/dev/null
# A loaded machine may take a while: up to 30 s.
for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  kill -9 "$pid"
  echo "the game went on after its window was destroyed"; exit 1
fi
wait "$pid"
status=$?
fail=0
[ $status -eq 0 ] || { echo "exit status $status, want 0"; fail=1; }
for f in Profiles/profiles.dat Data/settings.dat Profiles/*/profile.dat; do
  ls "$OUT"/user/$f >/dev/null 2>&1 || { echo "$f was not saved at exit"; fail=1; }
done
[ $fail -eq 0 ] || { tail -20 "$OUT/stderr.txt"; exit 1; }
echo "window closed from outside: status 0, the player, the players' list and the settings saved"
