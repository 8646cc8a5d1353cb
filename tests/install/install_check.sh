#!/usr/bin/env bash
# install_check.sh BUILD OUT VERSION
# `cmake --install BUILD --prefix OUT/prefix`, then: the layout, the menu
# entry (desktop-file-validate), the AppStream data (appstreamcli validate),
# the icon in every size, the manual page; and the installed game run from
# another folder without --data, as the menu entry's Exec line names it.
set -u
BUILD=$1 OUT=$2 VERSION=$3
. "$(dirname "$0")/common.sh"
rm -rf "$OUT" && mkdir -p "$OUT"
P=$OUT/prefix
if ! cmake --install "$BUILD" --prefix "$P" >"$OUT/install.log" 2>&1; then
  cat "$OUT/install.log"; echo "FAILED: cmake --install"; exit 1
fi
ID=org.brimble.brimble
for f in bin/brimble libexec/brimble/levelrun share/brimble/data/levels/level01.lvl \
         share/brimble/gfx/fonts/Bookman.ttf share/brimble/txt/eng/names.txt \
         share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml share/man/man6/brimble.6 \
         share/icons/hicolor/scalable/apps/$ID.svg; do
  [ -e "$P/$f" ] || fail "$f is not installed"
done
[ -x "$P/bin/brimble" ] || fail "bin/brimble is not executable"
[ -z "$(find "$P/share/brimble" -name '.*' -o -name '*.part.png')" ] || fail "hidden or half-written files installed"

# The icon: a PNG of N x N pixels in every hicolor size.
for n in 16 22 24 32 48 64 128 256 512; do
  png=$P/share/icons/hicolor/${n}x${n}/apps/$ID.png
  size=$(python3 -c 'import struct,sys
d=open(sys.argv[1],"rb").read(24)
print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$png" 2>/dev/null)
  [ "$size" = "${n}x${n}" ] || fail "icon ${n}x${n}: $png is ${size:-missing}"
done

# The menu entry and the AppStream data, by their validators.
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$P/share/applications/$ID.desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
  echo "desktop-file-validate: no remarks"
else
  fail "desktop-file-validate is not installed (desktop-file-utils; tools/install-deps.sh --test)"
fi
if command -v appstreamcli >/dev/null; then
  out=$(appstreamcli validate --no-net --pedantic "$P/share/metainfo/$ID.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $out"
  echo "appstreamcli validate --pedantic: $(echo "$out" | tail -1)"
else
  fail "appstreamcli is not installed (appstream; tools/install-deps.sh --test)"
fi
grep -q "^Exec=$P/bin/brimble\$" "$P/share/applications/$ID.desktop" || fail "the menu entry does not start $P/bin/brimble"
grep -q "<release version=\"$VERSION\"" "$P/share/metainfo/$ID.metainfo.xml" || fail "the AppStream release is not $VERSION"
grep -q "Brimble $VERSION" "$P/share/man/man6/brimble.6" || fail "the manual page does not name version $VERSION"
grep -q "$P/share/brimble" "$P/share/man/man6/brimble.6" || fail "the manual page does not name the installed data"

# The installed game: its version, then a start from the menu entry's Exec
# line, in another folder, finding its data by itself.
v=$("$P/bin/brimble" --version) || fail "--version: status $?"
[ "$v" = "Brimble $VERSION" ] || fail "--version says '$v', want 'Brimble $VERSION'"
exec_line=$(sed -n 's/^Exec=//p' "$P/share/applications/$ID.desktop")
run_installed menu-entry $exec_line
[ $FAILED -eq 0 ] || exit 1
echo "installed under $P: layout, icons, menu entry, AppStream data, manual page and the game checked"
