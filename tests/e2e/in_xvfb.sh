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
