#!/usr/bin/env bash
# Runs one Windows program under Wine in the current sandbox (the test emulator).
# Output goes through a file: Wine's background processes may hold a pipe open.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"; rm -f "$out"
exit $rc
