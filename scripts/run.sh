#!/usr/bin/env bash
# The start command: installs what is missing, builds, and starts the suite.
# With a display ($DISPLAY) the programs draw there and the script returns when
# the suite is done: the starter hands over to the wizard or the recorder, which
# start the starter again when they end, so it waits until no program of the
# suite runs any more. Without a display they draw on a private Xvfb screen (a
# free display number) and a screenshot of the program's windows is saved to
# build/screenshot.png. The sandbox and the private screen are ended when the
# script ends, however it ends.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export SONELLE_SANDBOX="${SONELLE_SANDBOX:-desktop}" SONELLE_GRAPHICS=x11
source "$here/env.sh"
source "$here/private-display.sh"
source "$here/suite-processes.sh"
"$here/setup.sh"
"$here/build.sh"

program=""
for p in SonelleStarter Sonelle; do
  [ -f "$SONELLE_BUILD/bin/$p.exe" ] && { program="$SONELLE_BUILD/bin/$p.exe"; break; }
done
if [ -z "$program" ]; then
  echo "run: the build works; no program of the suite is built yet." >&2
  exit 0
fi

xvfb=""
cleanup() {
  "$here/sandbox.sh" stop || true
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
}
trap cleanup EXIT

headless=""
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  start_private_display 1280x800x24 || { echo "run: Xvfb did not start" >&2; exit 1; }
  xvfb=$private_display_pid
fi
"$here/sandbox.sh" start
# Registered as an installer would: every filter module from the installation
# folder, so the starter's component check finds them where they belong.
register_filter_modules "$SONELLE_RUN/program.log"
wine "$program" "$@" >"$SONELLE_RUN/program.log" 2>&1 </dev/null &
running=$!
if [ -n "$headless" ]; then
  sleep "${SONELLE_SHOT_DELAY:-6}"
  shot="$SONELLE_ROOT/build/screenshot.png"
  rm -f "$shot"   # an older picture must not pass for this run's
  if ! "$here/screenshot.sh" "$shot"; then
    echo "run: $(basename "$program") showed no window on a private screen (see $SONELLE_RUN/program.log)" >&2
    exit 1
  fi
  echo "run: no display here; $(basename "$program") drew on a private screen ($DISPLAY): $shot"
else
  wait_until_suite_ends "$running"
fi
