#!/usr/bin/env bash
# Installs what the build and the tests need on Debian (run as root). Idempotent:
# a machine that already has everything only pays for a few dpkg queries.
# What it changes on the machine: the Debian packages below; the i386 package
# architecture where the kernel runs 32-bit code; a deb-src entry (for LAME's
# source) where the machine has none.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

PACKAGES=(
  wine wine64
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  cmake ninja-build make googletest
  g++                       # host compiler: the skin generator, the sanitizer build
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  pulseaudio pulseaudio-utils libasound2-plugins
  xvfb xauth x11-apps x11-utils imagemagick fonts-liberation fonts-wine
  sox lame mpg123 python3-mutagen
  genisoimage xorriso bchunk cdrdao
  dpkg-dev
)
# Wine's 32-bit loader and the plugins it loads; the i686 build runs on them.
PACKAGES_32=(
  wine32:i386
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  libasound2-plugins:i386
)

source "$here/runs-32bit-code.sh"

wanted=("${PACKAGES[@]}")
with_i386=""
if runs_32bit_code; then
  with_i386=1
  wanted+=("${PACKAGES_32[@]}")
fi

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
export DEBIAN_FRONTEND=noninteractive

# apt_get ARGS...: apt-get, retried only while another apt or dpkg run holds its
# lock (several checkouts may set up at once, or the machine updates itself);
# any other error is reported at once.
apt_get() {
  local err rc attempt
  err="$(mktemp)"
  for attempt in $(seq "${SONELLE_APT_LOCK_TRIES:-60}"); do
    rc=0
    apt-get -o DPkg::Lock::Timeout=300 "$@" 2>"$err" || rc=$?
    cat "$err" >&2
    if [ "$rc" -eq 0 ]; then rm -f "$err"; return 0; fi
    grep -qE "Could not get lock|is another process using it" "$err" || break
    echo "setup: another apt holds its lock; trying again in 10 s" >&2
    sleep "${SONELLE_APT_LOCK_PAUSE:-10}"
  done
  rm -f "$err"
  echo "setup: apt-get $* failed (exit code $rc)" >&2
  return 1
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ -n "$with_i386" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt_get update -q
  apt_get install -y -q "${missing[@]}"
fi

# Libraries cross-built with the suite come from Debian's source packages, at a
# pinned version, into a git-ignored folder of the checkout (the build reads them).
deps="$(cd "$here/.." && pwd)/.deps"
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
