#!/usr/bin/env bash
# postgres_test.sh SERVER LOAD WORKDIR
# Starts a PostgreSQL server in a temporary folder (as the unprivileged user
# "nobody" when run as root, since PostgreSQL refuses root), points the
# collector at it, posts records, kills the collector with SIGKILL, starts it
# again (the migrations find the schema current) and checks every record
# answered "OK" is there and the dashboard shows them. Stops PostgreSQL and
# removes its folder afterwards.
set -u
SERVER=$1 LOAD=$2 W=$3
. "$(dirname "$0")/common.sh"
rm -rf "$W" && mkdir -p "$W"
cleanup() {
  stop_server
  stop_postgres
}
trap cleanup EXIT
start_postgres "$W" || exit 1

start_server "$SERVER" "$W/server1.log" --db "$DB" || exit 1
grep -q "schema 3, PostgreSQL" "$W/server1.log" || { echo "not on PostgreSQL at schema 3"; cat "$W/server1.log"; exit 1; }
"$LOAD" --port "$PORT" --posts 1000000 --threads 4 --acked "$W/acked.txt" --stop-on-failure 1 >"$W/load.log" 2>&1 &
LPID=$!
for _ in $(seq 1 750); do
  [ -f "$W/acked.txt" ] && [ "$(wc -l <"$W/acked.txt")" -ge 200 ] && break
  sleep 0.02
done
kill -9 "$SPID"
wait "$SPID" 2>/dev/null
SPID=""
wait "$LPID"
cat "$W/load.log"

start_server "$SERVER" "$W/server2.log" --db "$DB" || exit 1
grep -q "schema 3, PostgreSQL" "$W/server2.log" || { echo "the restart did not find schema 3"; cat "$W/server2.log"; exit 1; }
"$LOAD" --port "$PORT" --verify "$W/acked.txt" || { echo "acknowledged records were lost"; exit 1; }
stored=$(python3 -c "import urllib.request; print(urllib.request.urlopen('http://127.0.0.1:$PORT/export.csv').read().decode().count('\n') - 1)")
python3 - "$PORT" <<'PY' || exit 1
import sys, urllib.request
page = urllib.request.urlopen(f"http://127.0.0.1:{sys.argv[1]}/").read().decode()
assert "Win rate by level" in page and "rounds from 4 players" in page, page[:600]
PY
echo "PostgreSQL holds $stored records"
