#!/usr/bin/env bash
# Pictures of the publish dialog under Xvfb (idle with rows, writing a disc, the
# MP3 settings over it) as PNG files in $SONELLE_BUILD/publish-pictures/, taken by
# the dialog's own test in a sandbox whose prefix draws on the X display.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export SONELLE_SANDBOX="${SONELLE_SANDBOX:-main}-x11" SONELLE_GRAPHICS=x11
source "$here/env.sh"
display="${SONELLE_PICTURES_DISPLAY:-:98}"
out="$SONELLE_BUILD/publish-pictures"
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
"$here/sandbox.sh" start
trap '"$here/sandbox.sh" stop; kill $xvfb 2>/dev/null || true' EXIT

pictures="$(wine winepath -w "$out" 2>/dev/null | tr -d '\r')"
cd "$SONELLE_BUILD/bin"
SONELLE_PICTURES_DIR="$pictures" wine ./recorder_tests.exe --gtest_filter='PublishDialog.PicturesOfItsStates' \
  >"$out/pictures.log" 2>&1 || { tail -n 30 "$out/pictures.log"; exit 1; }
convert=/usr/bin/convert
for picture in "$out"/*.bmp; do
  "$convert" "$picture" "${picture%.bmp}.png" && rm -f "$picture"
done
ls "$out"/*.png
