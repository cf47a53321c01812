#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
set -euo pipefail
PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-image-formats-plugins libgl-dev
  libsqlcipher-dev libssl-dev libsimpleini-dev libboost-dev
  libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils
  xvfb openbox xdotool x11-utils libfaketime imagemagick
  # The keys' language order; Chinese, Japanese and Korean glyphs (DejaVu has
  # Greek and Cyrillic; fonts-noto-core would displace it as the default sans).
  libicu-dev fonts-noto-cjk
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
