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
  sox lame mpg123 python3-mutagen ffmpeg
  genisoimage xorriso bchunk cdrdao
  dpkg-dev
)

# wine64 and the x86-64 toolchain serve machines that cannot execute 32-bit code
# (see env.sh); the 32-bit set serves the others.
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
export DEBIAN_FRONTEND=noninteractive
# Several checkouts may set up at once: wait for another apt run instead of failing.
apt_get() {
  local i
  for i in $(seq 30); do
    apt-get -o DPkg::Lock::Timeout=300 "$@" && return 0
    sleep 10
  done
  return 1
}
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt_get update -q
  apt_get install -y -q "${missing[@]}"
fi

# Libraries cross-built with the suite come from Debian's source packages, at a
# pinned version, into a git-ignored folder of the checkout (the build reads them).
deps="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/.deps"
LAME_VERSION=3.100-6
if [ ! -f "$deps/lame-3.100/configure" ]; then
  # A deb-src entry beside the machine's Debian entry (deb822 or one-line format).
  src=/etc/apt/sources.list.d/sonelle-src.sources
  if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$src"
    else
      grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/sonelle-src.list
    fi
  fi
  if ! apt-cache showsrc lame 2>/dev/null | grep -qx "Version: $LAME_VERSION"; then
    apt_get update -q
  fi
  mkdir -p "$deps"
  (cd "$deps" && apt_get source -q "lame=$LAME_VERSION")
fi
