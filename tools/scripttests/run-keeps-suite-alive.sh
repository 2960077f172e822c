#!/usr/bin/env bash
# run.sh with a display keeps the suite alive: a click on the starter's wizard
# button shows the wizard, which stays after the starter has ended; leaving the
# wizard brings the starter back, and closing that ends run.sh, which stops its
# sandbox. run.sh runs on an Xvfb display of its own, in a sandbox of its own.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export SONELLE_SANDBOX="${SONELLE_SANDBOX:-main}-run-check"
source "$root/scripts/env.sh"
source "$root/scripts/private-display.sh"
source "$root/scripts/suite-processes.sh"
export SONELLE_BUILD
log="$SONELLE_BUILD/run-script-check.log"
starter_title='Norvane Sonelle 2.0 Starter' suite_title='Norvane Sonelle 2.0'

run=""
finish() {
  if [ -n "$run" ] && kill -0 "$run" 2>/dev/null; then kill "$run" 2>/dev/null || true; wait "$run" 2>/dev/null || true; fi
  "$root/scripts/sandbox.sh" stop >/dev/null 2>&1 || true
  kill "$private_display_pid" 2>/dev/null || true
}
start_private_display || { echo "FAIL: Xvfb did not start"; exit 1; }
trap finish EXIT

fail() {
  echo "FAIL: $*"
  echo "--- run.sh's output:"; tail -n 20 "$log" 2>/dev/null || true
  exit 1
}
# wait_for SECONDS COMMAND...: polls the command until it succeeds.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.5
  done
}
drv() { wine "$SONELLE_BUILD/bin/SonelleDriver.exe" "$@" 2>/dev/null </dev/null | tr -d '\r'; }
# window_of TITLE SECONDS: prints the handle of the dialog with that title once it shows.
window_of() {
  local handle
  handle="$(drv window '#32770' "$1" "$(($2 * 1000))")" && [ -n "$handle" ] && echo "$handle"
}
window_gone() { ! drv window '#32770' "$1" 0 >/dev/null; }
run_ended() { ! kill -0 "$run" 2>/dev/null; }

"$root/scripts/run.sh" >"$log" 2>&1 </dev/null &
run=$!
# The driver may only start once run.sh's sandbox is up: its starter runs then.
wait_for 300 suite_program_runs || fail "the starter did not start"
starter="$(window_of "$starter_title" 60)" || fail "no starter window"
drv click "$starter" 1003 || fail "could not click the wizard button"
wizard="$(window_of "$suite_title" 60)" || fail "no wizard window after the click"
wait_for 30 window_gone "$starter_title" || fail "the starter did not end after starting the wizard"
echo "ok: the starter handed over to the wizard ($wizard)"

# The wizard outlives the hand-over: run.sh waits, the window answers, and
# leaving it starts the starter again.
kill -0 "$run" 2>/dev/null || fail "run.sh returned while the wizard was shown"
[ "$(drv text "$wizard")" = "$suite_title" ] || fail "the wizard's window went away"
drv click "$wizard" 1002 || fail "could not click the wizard's Exit button"
starter="$(window_of "$starter_title" 60)" || fail "no starter after leaving the wizard"
kill -0 "$run" 2>/dev/null || fail "run.sh returned while the starter was shown again"
echo "ok: leaving the wizard brought the starter back"

drv click "$starter" 1 || fail "could not close the starter"
wait_for 60 run_ended || fail "run.sh still runs 60 s after the suite's last window closed"
rc=0; wait "$run" || rc=$?
run=""
[ "$rc" -eq 0 ] || fail "run.sh ended with exit code $rc"
! suite_program_runs || fail "a program of the suite still runs after run.sh ended"
echo "ok: run.sh ended with the suite"
