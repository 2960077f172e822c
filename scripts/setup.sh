#!/usr/bin/env bash
# Installs what the build and the tests need on Debian (run as root). Idempotent:
# a machine that already has everything only pays for a few dpkg queries.
set -euo pipefail

PACKAGES=(
  wine wine32:i386 wine64
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  cmake ninja-build googletest
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  pulseaudio pulseaudio-utils libasound2-plugins:i386 libasound2-plugins
  xvfb xauth x11-apps imagemagick fonts-liberation fonts-wine
  sox lame
  genisoimage xorriso bchunk cdrdao
)

# wine64 and the x86-64 toolchain serve machines that cannot execute 32-bit code
# (see env.sh); the 32-bit set serves the others.
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"
