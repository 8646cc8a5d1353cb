# Sourced by the end-to-end scripts that need a real window, called as
# SCRIPT BRIMBLE GAMEDIR OUTDIR. Sets BRIMBLE, GAMEDIR and OUT (emptied), runs
# the calling script again under xvfb-run and exits with its status, and in
# that inner run checks the X server, enters GAMEDIR and sets up LeakSanitizer.
# skip REASON ends the test as skipped (ctest's code 77), saying why.
BRIMBLE=$(realpath "$1")
GAMEDIR=$(realpath "$2")
OUT=$3
skip() { echo "SKIPPED: $*" >&2; exit 77; }
command -v xvfb-run >/dev/null || skip "xvfb-run is not installed (apt-get install xvfb)"
command -v xauth >/dev/null || skip "xauth is not installed (apt-get install xauth), which xvfb-run needs"
if [ -z "${BRIMBLE_IN_XVFB:-}" ]; then
  # xvfb-run -a can give a server the display of another started at the same
  # moment, whose server then refuses us: the inner run says so (code 75) and
  # a new server is started, up to three times, OUT emptied each time.
  for try in 1 2 3; do
    rm -rf "$OUT"
    mkdir -p "$OUT"
    BRIMBLE_IN_XVFB=1 timeout 360 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
    rc=$?
    [ $rc -eq 75 ] || break
    echo "the X server did not answer (try $try of 3)" >&2
    sleep 1
  done
  [ $rc -eq 124 ] && { echo "timed out"; exit 1; }
  [ $rc -eq 75 ] && skip "no X server could be started"
  exit $rc
fi
OUT=$(realpath "$OUT")
[ -n "${DISPLAY:-}" ] || skip "no X server could be started"
if command -v xdpyinfo >/dev/null; then
  xdpyinfo >/dev/null 2>&1 || exit 75
elif command -v xdotool >/dev/null; then
  xdotool getdisplaygeometry >/dev/null 2>&1 || exit 75
fi
cd "$GAMEDIR" || exit 1
# Under LeakSanitizer: the system's D-Bus library, which SDL loads for a real
# window, keeps a buffer to the end; that is not the game's.
printf 'leak:libdbus-1.so\n' >"$OUT/lsan.supp"
export LSAN_OPTIONS="suppressions=$OUT/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# window_of PID: prints the game's visible window once it shows (up to 40 s).
# When none shows, the game is stopped and the script ends: "found no
# display" on a just-started server asks for a fresh one (75), else failure.
window_of() {
  local pid=$1 win=""
  for _ in $(seq 1 200); do
    win=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1)
    [ -n "$win" ] && { echo "$win"; return 0; }
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  kill "$pid" 2>/dev/null
  wait "$pid"
  # Right after another test's X server has gone, a new one now and then
  # answers xdpyinfo but not the game: in_xvfb.sh starts a fresh one (75).
  grep -q "found no display" "$OUT/stderr.txt" && { echo "the game found no display" >&2; exit 75; }
  echo "the game showed no window" >&2; cat "$OUT/stderr.txt" >&2; exit 1
}
