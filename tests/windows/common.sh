# Sourced by the Wine checks: finds Wine, prepares a Wine prefix shared by
# them (made on first use, about 20 s), and gives skip / winepath helpers.
# ctest's skip code 77 only when Wine is not installed.
skip() { echo "skipped: $*"; exit 77; }
WINE=${BRIMBLE_WINE:-}
[ -n "$WINE" ] || WINE=$(command -v wine64 || command -v wine || true)
[ -n "$WINE" ] || { [ -x /usr/lib/wine/wine64 ] && WINE=/usr/lib/wine/wine64; }
[ -n "$WINE" ] || skip "Wine is not installed (apt-get install wine64; tools/install-deps.sh --test)"
WINESERVER=$(dirname "$WINE")/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo wineserver)
export WINEPREFIX=${BRIMBLE_WINEPREFIX:-$WINDIR/wineprefix}
export WINEDEBUG=-all
# No Mono or Gecko installer, no window.
export WINEDLLOVERRIDES="mscoree=;mshtml="
unset DISPLAY WAYLAND_DISPLAY
# The Wine server of this prefix goes when the check ends (it would keep
# ctest's output pipe open for a few seconds otherwise).
trap '"$WINESERVER" -k >/dev/null 2>&1' EXIT
