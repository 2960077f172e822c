#!/usr/bin/env bash
# Pictures of the publish dialog under Xvfb (idle with rows, writing a disc, the
# MP3 settings over it, the end of the write, idle after a refused Start) as PNG files in $SONELLE_BUILD/publish-pictures/, taken by
# the dialog's own test in a sandbox whose prefix draws on the X display.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/picture-sandbox.sh"
display="${SONELLE_PICTURES_DISPLAY:-}"   # empty: a free display number
out="$SONELLE_BUILD/publish-pictures"
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png

start_picture_sandbox "$display"

pictures="$(wine winepath -w "$out" 2>/dev/null | tr -d '\r')"
cd "$SONELLE_BUILD/bin"
SONELLE_PICTURES_DIR="$pictures" wine ./recorder_tests.exe --gtest_filter='PublishDialog.PicturesOfItsStates' \
  >"$out/pictures.log" 2>&1 || { tail -n 30 "$out/pictures.log"; exit 1; }
keep_pngs "$out"
