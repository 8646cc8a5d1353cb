#!/usr/bin/env bash
# sigkill_test.sh SERVER LOAD WORKDIR
# Posts from 8 threads, kills the collector with SIGKILL in the middle of the
# burst, starts it again on the same database and checks that every record
# that was answered "OK" is there.
set -u
SERVER=$1 LOAD=$2 W=$3
. "$(dirname "$0")/common.sh"
rm -rf "$W" && mkdir -p "$W"
trap 'stop_server' EXIT

start_server "$SERVER" "$W/server1.log" --db "$W/playlog.sqlite" || exit 1
"$LOAD" --port "$PORT" --posts 1000000 --threads 8 --acked "$W/acked.txt" --stop-on-failure 1 >"$W/load.log" 2>&1 &
LPID=$!
# Kill once a good number of records has been acknowledged.
for _ in $(seq 1 750); do
  [ -f "$W/acked.txt" ] && [ "$(wc -l <"$W/acked.txt")" -ge 500 ] && break
  sleep 0.02
done
kill -9 "$SPID"
wait "$SPID" 2>/dev/null
SPID=""
wait "$LPID"
acked=$(wc -l <"$W/acked.txt")
echo "acknowledged before the kill: $acked"
[ "$acked" -ge 100 ] || { echo "too few records acknowledged to tell anything"; cat "$W/load.log"; exit 1; }

start_server "$SERVER" "$W/server2.log" --db "$W/playlog.sqlite" || exit 1
"$LOAD" --port "$PORT" --verify "$W/acked.txt" || { echo "acknowledged records were lost"; exit 1; }
