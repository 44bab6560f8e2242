#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, when any is missing.
# libboost-graph-dev serves one benchmark's comparison only; the game does
# not use it.
set -euo pipefail
PACKAGES=(build-essential cmake ninja-build pkg-config ccache clang
  libgtest-dev libgmock-dev libbenchmark-dev libboost-graph-dev
  libjpeg-dev zlib1g-dev libsdl2-dev libepoxy-dev libvorbis-dev libogg-dev
  libfreetype-dev fonts-dejavu-core)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
