# bench/common.sh GAME
# Sourced by the window benchmarks. From the project's root: GAME (the game's
# path from the root) made absolute, xvfb-run at hand, and a temporary folder
# $TMP, removed on exit, with $TMP/data: the game's data without the branding
# show.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
GAME=$(realpath "$1")
[ -x "$GAME" ] || { echo "build first (make)"; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)"; exit 1; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$TMP/data"
for e in "$PWD"/game/*; do ln -s "$e" "$TMP/data/"; done
: >"$TMP/data/noLogo.txt"
