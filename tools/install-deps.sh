#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when some are missing.
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libvorbis-dev libogg-dev libfreetype-dev libpng-dev libjpeg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  librsvg2-bin fonts-texgyre fonts-dejavu-core fonts-dejavu-extra python3
  libcpp-httplib-dev libmicrohttpd-dev libsqlite3-dev libpq-dev postgresql
  xdotool xvfb xauth libgl1-mesa-dri
)
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
