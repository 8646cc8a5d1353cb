# Helpers for the collector's test scripts (sourced).
# start_server SERVER LOG ARGS...: starts it on a free loopback port; sets SPID and PORT.
start_server() {
  local server=$1 log=$2
  shift 2
  : >"$log"
  "$server" --listen 127.0.0.1:0 "$@" >"$log" 2>&1 &
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
