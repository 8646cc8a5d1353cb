#!/usr/bin/env bash
# load_test.sh [POSTS] [THREADS...]: starts the collector on a fresh SQLite
# file in a temporary folder and posts POSTS records (default 20000) from each
# number of concurrent senders given (default 1 8 32), printing posts per
# second and answer times for each. Run from the repository after building.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=${BUILD:-$HERE/../../build}
. "$HERE/common.sh"
POSTS=${1:-20000}
shift || true
THREADS=("$@")
[ ${#THREADS[@]} -eq 0 ] && THREADS=(1 8 32)
W=$(mktemp -d /tmp/playlog-load.XXXXXX)
trap 'stop_server; rm -rf "$W"' EXIT
start_server "$BUILD/playlog-server" "$W/server.log" --db "$W/playlog.sqlite" || exit 1
for t in "${THREADS[@]}"; do
  printf '%3d senders: ' "$t"
  "$BUILD/playlog-load" --port "$PORT" --posts "$POSTS" --threads "$t"
done
