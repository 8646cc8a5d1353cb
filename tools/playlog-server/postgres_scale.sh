#!/usr/bin/env bash
# postgres_scale.sh two SERVER LOAD GENERATE WORKDIR
#   Two collectors on one PostgreSQL database, as behind a load balancer:
#   both get the same records at once (two senders with the same names, one
#   through each) and each gets records of its own, while 20000 generated
#   records are already there. Then every acknowledged record is stored
#   exactly once, and the running totals equal a count of the records.
# postgres_scale.sh scale N SERVER LOAD GENERATE WORKDIR
#   N generated records (make collector-scale: 10 million); then the
#   dashboard's answer time (unfiltered, one version, one week; five runs
#   each, median), the CSV export streamed whole with the collector's
#   resident memory sampled meanwhile, and the same checks of the totals.
set -u
MODE=$1
shift
if [ "$MODE" = scale ]; then N=$1; shift; else N=20000; fi
SERVER=$1 LOAD=$2 GENERATE=$3 W=$4
. "$(dirname "$0")/common.sh"
rm -rf "$W" && mkdir -p "$W"
SPID2=""
cleanup() {
  stop_server
  [ -n "$SPID2" ] && kill "$SPID2" 2>/dev/null && wait "$SPID2" 2>/dev/null
  stop_postgres
}
trap cleanup EXIT
fail() { echo "postgres_scale: $*"; exit 1; }
[ "$MODE" = scale ] && PG_EXTRA="-c shared_buffers=512MB -c work_mem=64MB -c max_wal_size=4GB"
start_postgres "$W" || exit 1
"$GENERATE" --db "$DB" --records "$N" || fail "generating the records failed"

# The totals the triggers kept equal what the records say.
check_totals() {
  local diff
  diff=$("${PSQL[@]}" -c "
    (SELECT version, level, COUNT(*), SUM(CASE WHEN outcome = 1 THEN 1 ELSE 0 END) FROM records GROUP BY 1, 2
     EXCEPT SELECT version, level, plays, wins FROM level_totals)
    UNION ALL
    (SELECT version, level, plays, wins FROM level_totals
     EXCEPT SELECT version, level, COUNT(*), SUM(CASE WHEN outcome = 1 THEN 1 ELSE 0 END) FROM records GROUP BY 1, 2)
    UNION ALL
    (SELECT version, 0, COUNT(DISTINCT run_key), COUNT(*) FROM records GROUP BY version, player
     EXCEPT SELECT version, 0, runs, rounds FROM player_totals)
    UNION ALL
    (SELECT version, level, SUM(n), 0 FROM level_values WHERE metric = 't' GROUP BY 1, 2
     EXCEPT SELECT version, level, COUNT(*), 0 FROM records GROUP BY 1, 2)")
  [ -z "$diff" ] || fail "the running totals differ from the records: $diff"
  local twice
  twice=$("${PSQL[@]}" -c "SELECT COUNT(*) FROM (SELECT player, run_key, record_id FROM records
                                                  GROUP BY 1, 2, 3 HAVING COUNT(*) > 1) t")
  [ "$twice" = 0 ] || fail "$twice records are stored twice"
}

if [ "$MODE" = two ]; then
  start_server "$SERVER" "$W/a.log" --db "$DB" || exit 1
  PORT_A=$PORT
  SPID_A=$SPID
  start_server "$SERVER" "$W/b.log" --db "$DB" || exit 1
  PORT_B=$PORT
  SPID2=$SPID_A
  # The same records through both at once, and records of each's own.
  "$LOAD" --port "$PORT_A" --posts 400 --threads 1 --players same --acked "$W/same-a.txt" >"$W/same-a.log" 2>&1 &
  P1=$!
  "$LOAD" --port "$PORT_B" --posts 400 --threads 1 --players same --acked "$W/same-b.txt" >"$W/same-b.log" 2>&1 &
  P2=$!
  "$LOAD" --port "$PORT_A" --posts 600 --threads 4 --players only-a --acked "$W/a.txt" >"$W/load-a.log" 2>&1 &
  P3=$!
  "$LOAD" --port "$PORT_B" --posts 600 --threads 4 --players only-b --acked "$W/b.txt" >"$W/load-b.log" 2>&1 &
  P4=$!
  rc=0
  for p in $P1 $P2 $P3 $P4; do wait "$p" || rc=1; done
  cat "$W"/same-a.log "$W"/same-b.log "$W"/load-a.log "$W"/load-b.log
  [ $rc -eq 0 ] || fail "a sender saw a failure"
  sort -u "$W"/same-a.txt "$W"/same-b.txt "$W"/a.txt "$W"/b.txt >"$W/acked.txt"
  [ "$(wc -l <"$W/acked.txt")" -eq 1600 ] || fail "expected 1600 distinct acknowledged records, got $(wc -l <"$W/acked.txt")"
  "$LOAD" --port "$PORT_A" --verify "$W/acked.txt" || fail "acknowledged records are missing"
  stored=$("${PSQL[@]}" -c "SELECT COUNT(*) FROM records WHERE player LIKE 'same-%' OR player LIKE 'only-%'")
  [ "$stored" = 1600 ] || fail "1600 records were posted, $stored are stored"
  check_totals
  echo "two collectors: 1600 records (400 posted through both at once) stored once each beside $N others; totals agree"
  exit 0
fi

start_server "$SERVER" "$W/server.log" --db "$DB" || exit 1
echo "load: $(uptime)"
for q in "/" "/?version=v1.1" "/?from=2026-03-01&to=2026-03-07"; do
  times=()
  for i in 1 2 3 4 5 6; do
    t=$(curl -s -o "$W/page.html" -w '%{time_total}' "http://127.0.0.1:$PORT$q") || fail "no answer to $q"
    [ "$i" -gt 1 ] && times+=("$t")  # the first one warms the caches
  done
  grep -q "Win rate by level" "$W/page.html" || fail "$q gave no dashboard"
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
  echo "dashboard $q: median ${median} s of 5 ($(printf '%s ' "${times[@]}"))"
done
grep -o '<p class="note">[0-9]* rounds from [0-9]* players' "$W/page.html" | head -1
# The export, streamed whole, with the collector's resident memory sampled.
( peak=0; while kill -0 "$SPID" 2>/dev/null; do
    r=$(awk '/VmRSS/ {print $2}' /proc/"$SPID"/status 2>/dev/null); [ -n "$r" ] && [ "$r" -gt "$peak" ] && peak=$r
    echo "$peak" >"$W/rss-peak"; sleep 0.2; done ) &
SAMPLER=$!
before=$(awk '/VmRSS/ {print $2}' /proc/"$SPID"/status)
start=$(date +%s.%N)
bytes=$(curl -s "http://127.0.0.1:$PORT/export.csv" | tee >(wc -l >"$W/csv-lines") | wc -c)
end=$(date +%s.%N)
kill "$SAMPLER" 2>/dev/null
wait "$SAMPLER" 2>/dev/null
sleep 0.5
lines=$(cat "$W/csv-lines")
echo "CSV: $lines lines, $bytes bytes in $(echo "$end - $start" | bc) s; collector resident memory $((before / 1024)) MB before, peak $(($(cat "$W/rss-peak") / 1024)) MB while streaming"
[ "$lines" -eq $((N + 1)) ] || fail "the CSV has $lines lines for $N records"
check_totals
echo "totals agree with the $N records"
