#!/usr/bin/env bash
# The test command: installs what is missing, builds, starts the Wine sandbox and
# runs every test program under Wine through ctest. Extra arguments go to ctest.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"

# Each phase's wall time goes to the log, so a CI run shows where its time went.
phase_start=$SECONDS
phase_done() {
  echo "test: phase $1 took $(( SECONDS - phase_start )) s"
  phase_start=$SECONDS
}

"$here/setup.sh"
phase_done setup
"$here/build.sh"
phase_done build

# CI also checks that the shipped parts compile for the other architecture: the
# 32-bit (i686) build where tests run on the x86-64 fallback, x86-64 where they
# run as 32-bit programs. Test programs are left out to halve its cost: they
# ship nothing, and they run here on the code the products are built from.
if [ "${CI:-}" = true ]; then
  if [ "$SONELLE_ARCH" = i686 ]; then other=x86_64; else other=i686; fi
  echo "test: checking that the $other build of the products compiles"
  mkdir -p "$SONELLE_ROOT/build"
  SONELLE_ARCH=$other SONELLE_BUILD="$SONELLE_ROOT/build/$other" "$here/build.sh" products \
    >"$SONELLE_ROOT/build/$other-build.log" 2>&1 \
    || { tail -n 40 "$SONELLE_ROOT/build/$other-build.log"; exit 1; }
  phase_done "$other-check"
fi

"$here/sandbox.sh" start
trap '"$here/sandbox.sh" stop' EXIT
phase_done sandbox
cd "$SONELLE_BUILD"
status=0
ctest --output-on-failure -j "${SONELLE_TEST_JOBS:-$(nproc)}" "$@" || status=$?
phase_done tests
exit $status
