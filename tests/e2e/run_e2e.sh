#!/usr/bin/env bash
# run_e2e.sh BRIMBLE SCRIPT OUTDIR GAMEDIR
# Runs one harness script headless (fresh user folder, seed 1, screenshots in
# OUTDIR/shots). When SCRIPT's name with .check instead of .e2e exists, it runs
# next (bash, OUTDIR as $1) to check what a player would see; it finds the game
# as $BRIMBLE, the screenshot checker as $SHOTCHECK, the data as $GAMEDIR and
# the script as $E2E_SCRIPT and the script's extra flags as $E2E_EXTRA.
set -u
if [ $# -ne 4 ]; then
  echo "usage: $0 BRIMBLE SCRIPT OUTDIR GAMEDIR" >&2
  exit 2
fi
BRIMBLE=$(realpath "$1")
SCRIPT=$(realpath "$2")
OUT=$3
GAMEDIR=$(realpath "$4")
rm -rf "$OUT"
mkdir -p "$OUT"
OUT=$(realpath "$OUT")

# A script may ask for extra flags with lines "#! FLAGS"; @HERE@ in them is
# the script's own folder (for example "#! --gui-gallery @HERE@/x.gui").
EXTRA=()
while read -r flags; do
  for f in $flags; do EXTRA+=("${f//@HERE@/$(dirname "$SCRIPT")}"); done
done < <(sed -n 's/^#![[:space:]]*//p' "$SCRIPT")
export E2E_EXTRA="${EXTRA[*]}"

# "#flags: a.txt ..." runs on a copy of the data folder (links) that also
# holds those flag files, e.g. cheats.txt.
DATA=$GAMEDIR
FLAGFILES=$(sed -n 's/^#flags:[[:space:]]*//p' "$SCRIPT" | head -1)
# "#overlay: DIR" (relative to the script's folder) runs on such a copy with
# the files under DIR laid over it, e.g. fixture tables in place of the
# game's: every folder on a file's way becomes a real folder of links.
OVERLAY=$(sed -n 's/^#overlay:[[:space:]]*//p' "$SCRIPT" | head -1)
link_all() {
  mkdir -p "$2"
  for e in "$1"/*; do [ -e "$e" ] && ln -s "$e" "$2/"; done
}
if [ -n "$FLAGFILES" ] || [ -n "$OVERLAY" ]; then
  DATA="$OUT/data"
  link_all "$GAMEDIR" "$DATA"
  for f in $FLAGFILES; do : >"$DATA/$f"; done
fi
if [ -n "$OVERLAY" ]; then
  SRC=$(realpath "$(dirname "$SCRIPT")/$OVERLAY")
  while read -r rel; do
    rel=${rel#./}
    cur=$DATA
    real=$GAMEDIR
    d=$(dirname "$rel")
    if [ "$d" != "." ]; then
      IFS=/ read -ra parts <<<"$d"
      for p in "${parts[@]}"; do
        if [ -L "$cur/$p" ]; then
          rm "$cur/$p"
          link_all "$real/$p" "$cur/$p"
        fi
        mkdir -p "$cur/$p"
        cur="$cur/$p"
        real="$real/$p"
      done
    fi
    rm -f "$cur/$(basename "$rel")"
    cp "$SRC/$rel" "$cur/"
  done < <(cd "$SRC" && find . -type f)
fi

"$BRIMBLE" --headless --data "$DATA" --script "$SCRIPT" --shots "$OUT/shots" \
  --user-dir "$OUT/user" --seed 1 ${EXTRA[@]+"${EXTRA[@]}"} >"$OUT/stdout.txt" 2>"$OUT/stderr.txt"
rc=$?
if [ $rc -ne 0 ]; then
  echo "e2e: $(basename "$SCRIPT") failed with status $rc"
  cat "$OUT/stderr.txt"
  exit 1
fi

check="${SCRIPT%.e2e}.check"
if [ -f "$check" ]; then
  export BRIMBLE GAMEDIR E2E_SCRIPT="$SCRIPT" E2E_DATA="$DATA"
  export SHOTCHECK="$(dirname "$BRIMBLE")/shotcheck"
  if ! bash "$check" "$OUT"; then
    echo "e2e: $(basename "$check") found a problem"
    exit 1
  fi
fi
echo "e2e: $(basename "$SCRIPT") passed"
