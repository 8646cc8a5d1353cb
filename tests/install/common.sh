# Sourced by the install checks. fail MESSAGE; run_installed ROOT COMMAND...
# runs the installed game from another folder, headless through menu.e2e,
# and checks its exit status and the menu it showed.
skip() { echo "skipped: $*"; exit 77; }
FAILED=0
fail() { echo "FAILED: $*"; FAILED=1; }
HERE=$(cd "$(dirname "$0")" && pwd)

# run_installed NAME GAME [ARGS...]: GAME started in an empty folder
run_installed() {
  local name=$1 game=$2
  shift 2
  local dir="$OUT/run-$name"
  rm -rf "$dir" && mkdir -p "$dir/cwd"
  (cd "$dir/cwd" && "$game" "$@" --headless --script "$HERE/menu.e2e" --shots "$dir/shots" \
     --user-dir "$dir/user" --seed 1 >"$dir/stdout.txt" 2>"$dir/stderr.txt")
  local status=$?
  if [ $status -ne 0 ]; then
    fail "$name: the installed game ended with status $status"
    tail -5 "$dir/stderr.txt"
    return
  fi
  if [ -n "${SHOTCHECK:-}" ] && ! "$SHOTCHECK" --size 1024x768 --min-colours 50 "$dir/shots/menu.png"; then
    fail "$name: the main menu's screenshot is blank or missing"
    return
  fi
  # The installed game must have found its own data: its menu is, pixel for
  # pixel, the menu the build shows on the source tree's game/ (same script,
  # same seed). A game that found no data still reaches a menu, drawn with
  # the built-in font and no pictures.
  if [ ! -f "$OUT/run-reference/shots/menu.png" ]; then
    rm -rf "$OUT/run-reference" && mkdir -p "$OUT/run-reference"
    "$BUILD/brimble" --data "$HERE/../../game" --headless --script "$HERE/menu.e2e" \
      --shots "$OUT/run-reference/shots" --user-dir "$OUT/run-reference/user" --seed 1 \
      >"$OUT/run-reference/stdout.txt" 2>"$OUT/run-reference/stderr.txt" ||
      { fail "the build's own game failed the menu script"; return; }
  fi
  if ! cmp -s "$dir/shots/menu.png" "$OUT/run-reference/shots/menu.png"; then
    fail "$name: the installed game's menu differs from the build's (its data not found?)"
    head -5 "$dir/stderr.txt"
    return
  fi
  echo "$name: the installed game showed the main menu the build shows and ended with status 0"
}
