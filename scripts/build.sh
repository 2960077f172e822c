#!/usr/bin/env bash
# Configures (once) and builds the whole suite and its tests into $SONELLE_BUILD.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
# Libraries built from Debian's sources need their source folder (setup.sh fetches it).
[ -f "$SONELLE_ROOT/.deps/lame-3.100/configure" ] || "$SONELLE_ROOT/scripts/setup.sh"
if [ ! -f "$SONELLE_BUILD/build.ninja" ]; then
  cmake -S "$SONELLE_ROOT" -B "$SONELLE_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$SONELLE_ROOT/cmake/mingw.cmake" -DSONELLE_ARCH="$SONELLE_ARCH" \
    -DCMAKE_BUILD_TYPE="${SONELLE_BUILD_TYPE:-Release}"
fi
# One compiler process needs up to ~0.8 GB here; never start more than memory holds.
avail_kb=$(awk '/MemAvailable/ {print $2}' /proc/meminfo)
jobs=$(( avail_kb / 800000 ))
[ "$jobs" -gt "$(nproc)" ] && jobs=$(nproc)
[ "$jobs" -lt 1 ] && jobs=1
cmake --build "$SONELLE_BUILD" -j "${SONELLE_BUILD_JOBS:-$jobs}"
