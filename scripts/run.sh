#!/usr/bin/env bash
# The start command: installs what is missing, builds, and starts the suite.
# With a display ($DISPLAY) the programs draw there; without one they draw on a
# private Xvfb screen (a free display number) and a screenshot of the program's
# windows is saved to build/screenshot.png. The sandbox and the private screen
# are ended when the script ends, however it ends.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export SONELLE_SANDBOX="${SONELLE_SANDBOX:-desktop}" SONELLE_GRAPHICS=x11
source "$here/env.sh"
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
  # Xvfb picks a display number nobody uses and reports it on a pipe.
  fifo="$(mktemp -u)"; mkfifo "$fifo"
  Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 10 number <"$fifo" || { echo "run: Xvfb did not start" >&2; rm -f "$fifo"; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
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
  "$here/screenshot.sh" "$shot" || echo "run: no window to take a picture of (see $SONELLE_RUN/program.log)" >&2
  echo "run: no display here; $(basename "$program") drew on a private screen ($DISPLAY): $shot"
else
  wait "$running" || true
fi
