#!/usr/bin/env bash
# The test command: installs what is missing, builds, starts the Wine sandbox and
# runs every test program under Wine through ctest. Extra arguments go to ctest.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
"$here/setup.sh"
"$here/build.sh"
"$here/sandbox.sh" start
trap '"$here/sandbox.sh" stop' EXIT
cd "$SONELLE_BUILD"
ctest --output-on-failure -j "${SONELLE_TEST_JOBS:-$(nproc)}" "$@"
