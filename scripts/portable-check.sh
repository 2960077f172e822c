#!/usr/bin/env bash
# Builds the portable core natively under AddressSanitizer and UBSan and runs its
# unit tests and the seeded mutation fuzzer. Any finding fails the script.
# scripts/build.sh builds it with the rest (--build-only); ctest's step finds it
# up to date and only runs it.
# Usage: scripts/portable-check.sh [--runs N] [--seed S] [--build-only]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs=600 seed=20 run=true
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --seed) seed="$2"; shift 2 ;;
    --build-only) run=false; shift ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done
build="${SONELLE_NATIVE_BUILD:-$root/build/native-sanitize}"
cxx="${SONELLE_NATIVE_CXX:-$(command -v clang++ || command -v g++)}"
# A compiler launcher (ccache) comes from CMAKE_CXX_COMPILER_LAUNCHER, as for the main build.
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root/tools/portable/native" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
fi
cmake --build "$build" -j "${SONELLE_BUILD_JOBS:-4}" >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }
$run || exit 0
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$build/portable_tests" --gtest_brief=1
"$build/portable_fuzz" --runs "$runs" --seed "$seed"
