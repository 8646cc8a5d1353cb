#!/usr/bin/env bash
# e2e_playlog.sh BRIMBLE SERVER OUTDIR GAMEDIR
# The game, headless, with "playLog.txt" and "playlog-net.txt" naming a
# collector on a free loopback port: one run wins level 3, another loses
# level 5 to the clock, restarts it and leaves it through the menu. The
# collector's export then holds those three rounds with their values. Then
# the game's exit is timed against a dead port, a server that never answers,
# one that answers without end and one that trickles a byte a second: under
# 3 s each, with one line on stderr. Without "playLog.txt" nothing is posted.
set -u
BRIMBLE=$(realpath "$1") SERVER=$(realpath "$2") OUT=$3 GAMEDIR=$(realpath "$4")
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../../tools/playlog-server/common.sh"
rm -rf "$OUT" && mkdir -p "$OUT/levels" "$OUT/data"
OUT=$(realpath "$OUT")
BAD=""
cleanup() {
  stop_server
  [ -n "$BAD" ] && kill "$BAD" 2>/dev/null && wait "$BAD" 2>/dev/null
}
trap cleanup EXIT
fail() { echo "e2e_playlog: $*"; exit 1; }

# The game's data with the two flag files beside it.
for e in "$GAMEDIR"/*; do ln -s "$e" "$OUT/data/"; done
: >"$OUT/data/playLog.txt"
# Level numbers come from the file names.
cp "$HERE/../e2e/play_winshow.lvl" "$OUT/levels/level03.lvl"
cp "$HERE/../e2e/play_timed.lvl" "$OUT/levels/level05.lvl"

cat >"$OUT/win.e2e" <<'S'
# The board is won as soon as play begins; the win screen's OK closes it.
wait 215
expect-state WIN
wait 285
expect-state WAIT
click 512 566
wait 120
S
cat >"$OUT/lose.e2e" <<'S'
# The 8-second clock runs out; restart; then leave through the menu.
wait 360
expect-state NORMAL
wait 540
expect-state LOSE
click 512 420
wait 420
expect-state NORMAL
click 900 718
wait 20
expect-state PAUSED
click 512 625          # main menu
wait 40
S

# play NAME LEVEL SCRIPT [TIMED]: runs the game; sets EXIT_MS to the time
# from its result line (the level is over, the exit begins) to its end.
play() {
  local name=$1 level=$2 script=$3 timed=${4:-}
  local o="$OUT/$name"
  mkdir -p "$o"
  : >"$o/stdout.txt"
  "$BRIMBLE" --headless --data "$OUT/data" --script "$script" --shots "$o/shots" --user-dir "$o/user" --seed 1 \
    --play-level "$OUT/levels/$level" $timed >"$o/stdout.txt" 2>"$o/stderr.txt" &
  local pid=$! t1=""
  while kill -0 "$pid" 2>/dev/null; do
    if [ -z "$t1" ] && grep -Eq '^(won|lost|left) score' "$o/stdout.txt"; then t1=$(date +%s%N); fi
    sleep 0.01
  done
  wait "$pid"
  local rc=$?
  local t2
  t2=$(date +%s%N)
  [ $rc -eq 0 ] || { cat "$o/stderr.txt"; fail "$name: the game ended with status $rc"; }
  [ -n "$t1" ] || t1=$t2
  EXIT_MS=$(( (t2 - t1) / 1000000 ))
}

start_server "$SERVER" "$OUT/server.log" --db "$OUT/playlog.sqlite" --levels "$OUT/levels" || exit 1
echo "127.0.0.1:$PORT" >"$OUT/data/playlog-net.txt"
play won level03.lvl "$OUT/win.e2e"
grep -q '^won score' "$OUT/won/stdout.txt" || fail "level 3 was not won"
play lost level05.lvl "$OUT/lose.e2e" --timed
grep -q '^left score' "$OUT/lost/stdout.txt" || fail "level 5 did not end through the menu"
for r in won lost; do
  ! grep -q 'Play log' "$OUT/$r/stderr.txt" || { cat "$OUT/$r/stderr.txt"; fail "$r: the upload failed"; }
done

python3 - "$PORT" <<'PY' || fail "the collector's records are not the rounds played"
import csv, io, sys, urllib.request
base = f"http://127.0.0.1:{sys.argv[1]}"
rows = list(csv.DictReader(io.StringIO(urllib.request.urlopen(base + "/export.csv").read().decode())))
got = sorted((int(r["level"]), int(r["record_id"]), int(r["outcome"])) for r in rows)
assert got == [(3, 1, 1), (5, 1, 0), (5, 2, -1)], got
for r in rows:
    assert r["version"] == "v1.0" and r["match_type"] == "SWAP", r
    assert int(r["continued"]) == 1, r
lost = [r for r in rows if r["level"] == "5" and r["outcome"] == "0"][0]
assert 8 <= int(lost["level_time"]) <= 10, lost["level_time"]  # the 8-second clock ran out
assert lost["available_chips"] == "1 2 3 4" and lost["chips_count"] == "4", lost
assert float(lost["avg_chain"]) == -1 and lost["matches"] == "0", lost  # nothing was matched
won = [r for r in rows if r["level"] == "3"][0]
assert int(won["level_time"]) <= 3, won["level_time"]
runs = {r["run_key"] for r in rows}
assert len(runs) == 2, runs  # two runs of the game
page = urllib.request.urlopen(base + "/?level=5").read().decode()
assert "Times played on level 5 (2 plays)" in page
assert "level 3: 100% of 1 plays won" in page and "level 5: 0% of 2 plays won" in page
PY
echo "collector: the three rounds are stored; dashboard at http://127.0.0.1:$PORT/"

# Without "playLog.txt" no round is recorded, so nothing is posted.
rm "$OUT/data/playLog.txt"
play unrecorded level03.lvl "$OUT/win.e2e"
python3 - "$PORT" <<'PY' || fail "a round was posted without playLog.txt"
import sys, urllib.request
body = urllib.request.urlopen(f"http://127.0.0.1:{sys.argv[1]}/export.csv").read().decode()
assert body.count("\n") == 4, body  # the header and the three rounds above
PY
: >"$OUT/data/playLog.txt"
stop_server

# The exit against servers that misbehave.
check_exit() {
  local what=$1
  play "$what" level03.lvl "$OUT/win.e2e"
  echo "$what: exit took $EXIT_MS ms"
  [ "$EXIT_MS" -lt 3000 ] || fail "$what: the exit took $EXIT_MS ms"
  [ "$(grep -c '^Play log:' "$OUT/$what/stderr.txt")" -eq 1 ] || { cat "$OUT/$what/stderr.txt"; fail "$what: expected one line on stderr"; }
}
DEAD=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
echo "127.0.0.1:$DEAD" >"$OUT/data/playlog-net.txt"
check_exit dead-port
for mode in silent endless trickle; do
  python3 "$HERE/bad_server.py" $mode >"$OUT/bad-$mode.port" &
  BAD=$!
  for _ in $(seq 1 100); do [ -s "$OUT/bad-$mode.port" ] && break; sleep 0.02; done
  echo "127.0.0.1:$(head -1 "$OUT/bad-$mode.port")" >"$OUT/data/playlog-net.txt"
  check_exit "$mode"
  kill "$BAD"; wait "$BAD" 2>/dev/null; BAD=""
done
echo "e2e_playlog passed"
