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
PGBIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -x "$PGBIN/initdb" ] || { echo "PostgreSQL is not installed (tools/install-deps.sh installs it)"; exit 1; }
PG=$(mktemp -d /tmp/playlog-pg.XXXXXX)
as_pg() { if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi; }
[ "$(id -u)" -eq 0 ] && chown nobody "$PG"
cleanup() {
  stop_server
  as_pg "$PGBIN/pg_ctl" -D "$PG/data" -m immediate -w stop >/dev/null 2>&1
  rm -rf "$PG"
}
trap cleanup EXIT

PGPORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
as_pg "$PGBIN/initdb" -D "$PG/data" -U playlog --auth=trust -E UTF8 >"$W/initdb.log" 2>&1 ||
  { echo "initdb failed"; cat "$W/initdb.log"; exit 1; }
as_pg "$PGBIN/pg_ctl" -D "$PG/data" -l "$PG/server.log" -w -t 60 \
  -o "-c listen_addresses=127.0.0.1 -p $PGPORT -k $PG -c fsync=on" start >"$W/pg_ctl.log" 2>&1 ||
  { echo "PostgreSQL did not start"; cat "$W/pg_ctl.log" "$PG/server.log"; exit 1; }
DB="postgresql://playlog@127.0.0.1:$PGPORT/postgres"

start_server "$SERVER" "$W/server1.log" --db "$DB" || exit 1
grep -q "schema 2, PostgreSQL" "$W/server1.log" || { echo "not on PostgreSQL at schema 2"; cat "$W/server1.log"; exit 1; }
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
grep -q "schema 2, PostgreSQL" "$W/server2.log" || { echo "the restart did not find schema 2"; cat "$W/server2.log"; exit 1; }
"$LOAD" --port "$PORT" --verify "$W/acked.txt" || { echo "acknowledged records were lost"; exit 1; }
stored=$(python3 -c "import urllib.request; print(urllib.request.urlopen('http://127.0.0.1:$PORT/export.csv').read().decode().count('\n') - 1)")
python3 - "$PORT" <<'PY' || exit 1
import sys, urllib.request
page = urllib.request.urlopen(f"http://127.0.0.1:{sys.argv[1]}/").read().decode()
assert "Win rate by level" in page and "rounds from 4 players" in page, page[:600]
PY
echo "PostgreSQL holds $stored records"
