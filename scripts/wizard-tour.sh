#!/usr/bin/env bash
# Walks the wizard's pages under Xvfb and keeps one picture per page (device
# step 129, selection 203, level step 342 with live needles, settings 343, the
# gain help, the recording step 344 idle and recording, the burner step 345 and
# the disc-writing step 346 before, while and after writing) as PNG files in
# $SONELLE_BUILD/wizard-tour/. The walks are the end-to-end tests' (the whole
# journey included), run in a sandbox whose prefix draws on the X display.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/picture-sandbox.sh"
display="${SONELLE_TOUR_DISPLAY:-}"   # empty: a free display number
out="$SONELLE_BUILD/wizard-tour"
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png

start_picture_sandbox "$display"

tour_dir="$(wine winepath -w "$out" 2>/dev/null | tr -d '\r')"
# The test registers the filter modules by their names in its own folder.
cd "$SONELLE_BUILD/bin"
mkdir -p "$out/journey"
rm -rf "$out/journey"/*
SONELLE_TOUR_DIR="$tour_dir" SONELLE_JOURNEY="$out/journey" wine ./wizard_tests.exe \
  --gtest_filter='WizardEndToEnd.CleanProfileWalk*:WizardEndToEnd.TheWholeJourney*' \
  >"$out/tour.log" 2>&1 || { tail -n 30 "$out/tour.log"; exit 1; }
keep_pngs "$out"
