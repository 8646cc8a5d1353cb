#!/usr/bin/env bash
# bench/first_run.sh [CLONE_DIR]
# A player's first `make run`, as near a fresh machine as this one allows: a
# fresh clone of the committed branch, a fresh build folder and an empty
# ccache (CCACHE_DIR in the clone), `make run` under Xvfb until the game's
# first frame on its window; then an unchanged second `make run` to its
# first frame. The packages `make run` would install are already installed
# here: their download and install is timed apart. The first frame is
# seen by the preloaded wrapper of SDL_RenderPresent (first_present_shim.c);
# the game quits at once after it (a script that waits one frame).
set -u
cd "$(dirname "${BASH_SOURCE[0]}")/.."
SRC=$PWD
CLONE=${1:-$(mktemp -d)/brimble}
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)"; exit 1; }
rm -rf "$CLONE"
git clone -q --branch "$(git rev-parse --abbrev-ref HEAD)" "$SRC" "$CLONE" || exit 1
cc -shared -fPIC -O2 -o "$CLONE.shim.so" bench/first_present_shim.c -ldl || exit 1
printf 'wait 1\nquit\n' >"$CLONE.quit.e2e"
export CCACHE_DIR=$CLONE.ccache
rm -rf "$CCACHE_DIR"
export SDL_AUDIODRIVER=dummy

# one LABEL: `make run` in the clone, printing the seconds to the first frame
one() {
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    cd "$0"
    t0=$(date +%s%N)
    LD_PRELOAD="$0.shim.so" make run RUN_ARGS="--windowed --script $0.quit.e2e --user-dir $0.user" \
      >"$0.$1.log" 2>&1
    rc=$?
    t=$(awk "\$1 == \"start-stats\" && \$2 == \"first-present\" {print \$3}" "$0.$1.log")
    if [ -n "$t" ]; then
      echo "$1 make run: $(( (t - t0) / 1000000 )) ms to the first frame (make status $rc)"
    else
      echo "$1 make run: no frame (status $rc), see $0.$1.log"
    fi' "$CLONE" "$1"
}
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
one first
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
one second
echo "ccache: $(ccache -s 2>/dev/null | grep -E 'Hits|Misses' | tr -s ' ' | tr '\n' ';')"
