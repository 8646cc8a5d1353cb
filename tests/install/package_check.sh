#!/usr/bin/env bash
# package_check.sh BUILD OUT VERSION
# The Debian package CPack makes of BUILD (what `make package` makes of a
# release build): its fields and files, its dependencies resolvable by apt
# on this system, and the game it installs, unpacked into a scratch root and
# started from its menu entry's Exec line.
set -u
BUILD=$1 OUT=$2 VERSION=$3
. "$(dirname "$0")/common.sh"
command -v dpkg-deb >/dev/null || skip "dpkg-deb is not installed (not a Debian system)"
command -v dpkg-shlibdeps >/dev/null || fail "dpkg-shlibdeps is not installed (dpkg-dev; tools/install-deps.sh --test)"
rm -rf "$OUT" && mkdir -p "$OUT"
if ! (cd "$OUT" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$OUT" >"$OUT/cpack.log" 2>&1); then
  cat "$OUT/cpack.log"; echo "FAILED: cpack"; exit 1
fi
DEB=$(ls "$OUT"/brimble_*.deb 2>/dev/null | head -1)
[ -f "$DEB" ] || { cat "$OUT/cpack.log"; echo "FAILED: no brimble_*.deb"; exit 1; }
echo "package: $(basename "$DEB"), $(du -k "$DEB" | cut -f1) KiB"
field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = brimble ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$VERSION" ] || fail "Version: $(field Version), want $VERSION"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
depends=$(field Depends)
echo "Depends: $depends"
for lib in libsdl2-2.0-0 libsdl2-image-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 libvorbisfile3; do
  echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib"
done
dpkg-deb -c "$DEB" >"$OUT/contents.txt"
for f in ./usr/bin/brimble ./usr/libexec/brimble/levelrun ./usr/share/applications/org.brimble.brimble.desktop \
         ./usr/share/metainfo/org.brimble.brimble.metainfo.xml ./usr/share/icons/hicolor/256x256/apps/org.brimble.brimble.png \
         ./usr/share/man/man6/brimble.6 ./usr/share/brimble/data/levels/level01.lvl; do
  grep -q " $f\$" "$OUT/contents.txt" || fail "the package lacks $f"
done
# Nothing of the build or the staging folder may show through.
! grep -q "_CPack_Packages\|$BUILD" "$OUT/contents.txt" || fail "the package names build folders"
# Its dependencies are there to be had (apt's own solver, nothing installed).
if command -v apt-get >/dev/null; then
  if apt-get install -s -q "$DEB" >"$OUT/apt.txt" 2>&1; then
    echo "apt-get install -s: the dependencies resolve"
  else
    fail "apt-get cannot install it: $(tail -3 "$OUT/apt.txt")"
  fi
fi

# Unpacked into a scratch root, started by the menu entry's command.
ROOT=$OUT/root
dpkg-deb -x "$DEB" "$ROOT"
exec_line=$(sed -n 's/^Exec=//p' "$ROOT/usr/share/applications/org.brimble.brimble.desktop")
[ "$exec_line" = /usr/bin/brimble ] || fail "the menu entry starts '$exec_line', want /usr/bin/brimble"
v=$("$ROOT/usr/bin/brimble" --version) || fail "--version: status $?"
[ "$v" = "Brimble $VERSION" ] || fail "--version says '$v'"
run_installed package "$ROOT$exec_line"
[ $FAILED -eq 0 ] || exit 1
echo "the package installs a game that starts from its menu entry"
