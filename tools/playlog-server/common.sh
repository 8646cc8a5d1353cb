# Helpers for the collector's test scripts (sourced).
# start_server SERVER LOG ARGS...: starts it on a free loopback port; sets SPID and PORT.
# The scripts post far faster than a tester's game does: no rate limit.
start_server() {
  local server=$1 log=$2
  shift 2
  : >"$log"
  "$server" --listen 127.0.0.1:0 --rate 0 "$@" >"$log" 2>&1 &
  SPID=$!
  PORT=""
  for _ in $(seq 1 100); do
    PORT=$(sed -n 's|.*listening on http://127.0.0.1:\([0-9]*\)/.*|\1|p' "$log")
    [ -n "$PORT" ] && return 0
    kill -0 "$SPID" 2>/dev/null || break
    sleep 0.05
  done
  echo "the collector did not start:"; cat "$log"
  return 1
}
stop_server() {
  [ -n "${SPID:-}" ] && kill "$SPID" 2>/dev/null && wait "$SPID" 2>/dev/null
  SPID=""
}

# start_postgres WORKDIR: a PostgreSQL server in a temporary folder (as the
# unprivileged user "nobody" when run as root, since PostgreSQL refuses
# root); sets PG (its folder), PGBIN and DB (a connection URI). stop_postgres
# stops it and removes its folder.
as_pg() { if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi; }
start_postgres() {
  local w=$1
  PGBIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
  [ -x "$PGBIN/initdb" ] || { echo "PostgreSQL is not installed (tools/install-deps.sh installs it)"; return 1; }
  PG=$(mktemp -d /tmp/playlog-pg.XXXXXX)
  [ "$(id -u)" -eq 0 ] && chown nobody "$PG"
  local port
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  as_pg "$PGBIN/initdb" -D "$PG/data" -U playlog --auth=trust -E UTF8 >"$w/initdb.log" 2>&1 ||
    { echo "initdb failed"; cat "$w/initdb.log"; return 1; }
  as_pg "$PGBIN/pg_ctl" -D "$PG/data" -l "$PG/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -p $port -k $PG -c fsync=on ${PG_EXTRA:-}" start >"$w/pg_ctl.log" 2>&1 ||
    { echo "PostgreSQL did not start"; cat "$w/pg_ctl.log" "$PG/server.log"; return 1; }
  DB="postgresql://playlog@127.0.0.1:$port/postgres"
  PSQL=("$PGBIN/psql" -X -q -A -t -d "$DB")
}
stop_postgres() {
  [ -n "${PG:-}" ] || return 0
  as_pg "$PGBIN/pg_ctl" -D "$PG/data" -m immediate -w stop >/dev/null 2>&1
  rm -rf "$PG"
  PG=""
}
