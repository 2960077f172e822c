# Sourced by the picture scripts (wizard, Edit page, starter and publish tours):
# the sandbox whose Wine prefix draws on an Xvfb display of its own, and the
# conversion of the pictures the tests keep as BMP files into PNG files.
picture_scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export SONELLE_SANDBOX="${SONELLE_SANDBOX:-main}-x11" SONELLE_GRAPHICS=x11
source "$picture_scripts/env.sh"
source "$picture_scripts/private-display.sh"

# start_picture_sandbox [DISPLAY]: Xvfb on a free display number (or on DISPLAY
# when one is named), then the sandbox; both stop on exit.
start_picture_sandbox() {
  if [ -n "${1:-}" ]; then
    Xvfb "$1" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    picture_xvfb=$!
    export DISPLAY="$1"
  else
    start_private_display 1024x768x24 || { echo "pictures: Xvfb did not start" >&2; exit 1; }
    picture_xvfb=$private_display_pid
  fi
  "$picture_scripts/sandbox.sh" start
  trap '"$picture_scripts/sandbox.sh" stop; kill $picture_xvfb 2>/dev/null || true' EXIT
}

# keep_pngs FOLDER: every BMP in FOLDER becomes a PNG; lists the PNG files.
keep_pngs() {
  local picture
  for picture in "$1"/*.bmp; do
    [ -e "$picture" ] || continue
    /usr/bin/convert "$picture" "${picture%.bmp}.png" && rm -f "$picture"
  done
  ls "$1"/*.png
}
