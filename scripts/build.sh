#!/usr/bin/env bash
# Configures (once) and builds into $SONELLE_BUILD. Without arguments: the whole
# suite, its tests and the portable core's native sanitizer build (which ctest's
# portable_core_sanitized step then only runs). With arguments: those targets
# alone (e.g. `products`: the shipped parts without tests).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
# ccache serves the compiles that use the test programs' precompiled header only so.
export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros}"
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
export SONELLE_BUILD_JOBS="${SONELLE_BUILD_JOBS:-$jobs}"
if [ $# -gt 0 ]; then
  cmake --build "$SONELLE_BUILD" -j "$SONELLE_BUILD_JOBS" --target "$@"
else
  cmake --build "$SONELLE_BUILD" -j "$SONELLE_BUILD_JOBS"
  "$SONELLE_ROOT/scripts/portable-check.sh" --build-only
fi
