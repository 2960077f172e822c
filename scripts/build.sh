#!/usr/bin/env bash
# Configures (once) and builds the whole suite and its tests into $SONELLE_BUILD.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
if [ ! -f "$SONELLE_BUILD/build.ninja" ]; then
  cmake -S "$SONELLE_ROOT" -B "$SONELLE_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$SONELLE_ROOT/cmake/mingw.cmake" -DSONELLE_ARCH="$SONELLE_ARCH" \
    -DCMAKE_BUILD_TYPE="${SONELLE_BUILD_TYPE:-RelWithDebInfo}"
fi
cmake --build "$SONELLE_BUILD" -j "$(nproc)"
