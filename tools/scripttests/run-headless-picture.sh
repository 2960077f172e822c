#!/usr/bin/env bash
# run.sh without a display: the starter draws on a private Xvfb screen and
# build/screenshot.png shows it; when no window is there to take (the picture is
# taken before the starter can show), run.sh says so and fails instead of
# naming a picture it did not take.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export SONELLE_SANDBOX="${SONELLE_SANDBOX:-main}-run-check"
unset DISPLAY
shot="$root/build/screenshot.png"
log="$SONELLE_BUILD/run-headless-check.log"
failures=0
check() {
  if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; tail -n 5 "$log" | sed 's/^/  | /'; failures=$((failures + 1)); fi
}

# A picture taken at once finds no window.
touch "$shot"
rc=0; SONELLE_SHOT_DELAY=0 "$root/scripts/run.sh" >"$log" 2>&1 </dev/null || rc=$?
check "a picture taken before any window fails run.sh (exit $rc)" '[ "$rc" -ne 0 ]'
check "no older picture passes for this run's" '[ ! -e "$shot" ]'
check "run.sh says why" 'grep -q "showed no window" "$log"'

# With the usual delay the starter is in the picture.
rc=0; "$root/scripts/run.sh" >"$log" 2>&1 </dev/null || rc=$?
check "run.sh ends well (exit $rc)" '[ "$rc" -eq 0 ]'
check "the picture is there" '[ -s "$shot" ]'
check "it is the starter's window, 800 x 600" '[ "$(/usr/bin/identify -format "%wx%h" "$shot" 2>/dev/null)" = 800x600 ]'
exit $((failures > 0))
