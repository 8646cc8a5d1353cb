#!/usr/bin/env bash
# Installs the Debian packages that are missing, and nothing when all are there.
#   tools/install-deps.sh          what building and playing the game needs
#   tools/install-deps.sh --test   that, plus what the test suite, the benchmarks,
#                                  the install checks and the Windows build use
# A player's first `make run` installs only the first set, so it waits for no
# database server, X server or cross compiler it does not use.
set -euo pipefail
game=(
  build-essential cmake ninja-build pkg-config ccache
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libvorbis-dev libogg-dev libfreetype-dev libpng-dev libjpeg-dev
  librsvg2-bin fonts-texgyre fonts-dejavu-core fonts-dejavu-extra python3
)
suite=(
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev libmicrohttpd-dev libsqlite3-dev libpq-dev postgresql
  xdotool xvfb xauth x11-utils libgl1-mesa-dri
  # the installed game's menu entry, AppStream data and Debian package
  desktop-file-utils appstream dpkg-dev
  # the Windows build and running it under Wine
  g++-mingw-w64-x86-64 wine64
)
pkgs=("${game[@]}")
[ "${1:-}" = "--test" ] && pkgs+=("${suite[@]}")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
