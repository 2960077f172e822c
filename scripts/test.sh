#!/usr/bin/env bash
# The test command: installs what is missing, builds, starts the Wine sandbox and
# runs every test program under Wine through ctest. Extra arguments go to ctest.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
"$here/setup.sh"
"$here/build.sh"

# Where tests run on the x86-64 fallback, CI also checks that the 32-bit product compiles.
if [ "${CI:-}" = true ] && [ "$SONELLE_ARCH" != i686 ]; then
  echo "test: checking that the 32-bit (i686) build compiles"
  mkdir -p "$SONELLE_ROOT/build"
  SONELLE_ARCH=i686 SONELLE_BUILD="$SONELLE_ROOT/build/i686" "$here/build.sh" >"$SONELLE_ROOT/build/i686-build.log" 2>&1 \
    || { tail -n 40 "$SONELLE_ROOT/build/i686-build.log"; exit 1; }
fi

"$here/sandbox.sh" start
trap '"$here/sandbox.sh" stop' EXIT
cd "$SONELLE_BUILD"
ctest --output-on-failure -j "${SONELLE_TEST_JOBS:-$(nproc)}" "$@"
