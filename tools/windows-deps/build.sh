#!/usr/bin/env bash
# tools/windows-deps/build.sh PREFIX
# SDL2, SDL2_image, SDL2_ttf, SDL2_mixer, FreeType, libogg and libvorbis for
# 64-bit Windows, cross-built with mingw-w64 from Debian's own source packages
# (apt-get source; a deb-src entry for the suite apt already uses is added
# when there is none) and installed under PREFIX, for the Windows build of the
# whole game: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
# -DBRIMBLE_WINDOWS_PREFIX=PREFIX. Pictures are decoded by SDL2_image's
# built-in stb_image, Ogg by SDL2_mixer's stb_vorbis, so no other codec
# library is needed. The SDL libraries are DLLs (copied beside the game);
# the rest is static. Each package is built once (a stamp in PREFIX/stamps).
set -euo pipefail
PREFIX=$(realpath -m "${1:?usage: build.sh PREFIX}")
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
TC=$ROOT/cmake/toolchains/mingw-w64-x86_64.cmake
JOBS=${JOBS:-$(nproc)}
SRC=$PREFIX/src
mkdir -p "$SRC" "$PREFIX/stamps"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# Debian's source index, once.
if ! apt-get source --print-uris -qq libogg 2>/dev/null | grep -q orig; then
  echo "adding the deb-src entry for the suites apt uses"
  src=/etc/apt/sources.list.d/brimble-deb-src.sources
  # The first deb822 entry's URIs and suites, as the "deb" entry has them.
  uris=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  [ -n "$uris" ] || uris=http://deb.debian.org/debian
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  printf 'Types: deb-src\nURIs: %s\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uris" "$suite" "$suite" | $sudo tee "$src" >/dev/null
  $sudo apt-get update -qq
fi

# fetch PACKAGE: its upstream tarball, unpacked; prints the folder
fetch() {
  local pkg=$1
  (cd "$SRC" && ls ${pkg}_*.orig.tar.* >/dev/null 2>&1 || apt-get source --download-only -qq "$pkg" >/dev/null)
  local tarball
  tarball=$(ls "$SRC"/${pkg}_*.orig.tar.* | grep -v '\.asc$' | grep -v -- '-ft2' | head -1)
  local dir
  dir=$(tar tf "$tarball" | head -1 | cut -d/ -f1)
  [ -d "$SRC/$dir" ] || tar xf "$tarball" -C "$SRC"
  echo "$SRC/$dir"
}

# build PACKAGE CMAKE-ARGS...
build() {
  local pkg=$1
  shift
  [ -f "$PREFIX/stamps/$pkg" ] && return 0
  local dir
  dir=$(fetch "$pkg")
  echo "== $pkg ($(basename "$dir"))"
  cmake -S "$dir" -B "$PREFIX/build/$pkg" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TC" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBRIMBLE_WINDOWS_PREFIX="$PREFIX" -DCMAKE_PREFIX_PATH="$PREFIX" "$@" >"$PREFIX/build-$pkg.log"
  cmake --build "$PREFIX/build/$pkg" -j "$JOBS" >>"$PREFIX/build-$pkg.log"
  cmake --install "$PREFIX/build/$pkg" >>"$PREFIX/build-$pkg.log"
  touch "$PREFIX/stamps/$pkg"
}

build libogg -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF
build libvorbis -DBUILD_SHARED_LIBS=OFF
build freetype -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build libsdl2 -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
build libsdl2-image -DBUILD_SHARED_LIBS=ON -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_BACKEND_STB=ON \
  -DSDL2IMAGE_BACKEND_WIC=OFF -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF \
  -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_TESTS=OFF
build libsdl2-ttf -DBUILD_SHARED_LIBS=ON -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF
build libsdl2-mixer -DBUILD_SHARED_LIBS=ON -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_OPUS=OFF \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_SAMPLES=OFF
echo "SDL2 and its companions for Windows are in $PREFIX"
