#!/usr/bin/env bash
# Shows the Edit page under Xvfb with sox's three tones loaded and split, and each
# of its dialogs, and keeps one picture of each as PNG files in
# $SONELLE_BUILD/edit-page-tour/ (the test's tour, in a sandbox whose prefix draws
# on the X display).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/picture-sandbox.sh"
display="${SONELLE_TOUR_DISPLAY:-}"   # empty: a free display number
out="$SONELLE_BUILD/edit-page-tour"
fixtures="$SONELLE_BUILD/fixtures/edit-page-tour"
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png
bash "$SONELLE_ROOT/tools/oracle/fresh-folder.sh" "$fixtures" /bin/bash "$SONELLE_ROOT/recorder/tests/make-edit-inputs.sh"

start_picture_sandbox "$display"

tour_dir="$(wine winepath -w "$out" 2>/dev/null | tr -d '\r')"
cd "$SONELLE_BUILD/bin"
SONELLE_TOUR_DIR="$tour_dir" SONELLE_FIXTURES="$fixtures" wine ./edit_page_tests.exe \
  --gtest_filter='EditPageFixture.TourOfThePageAndItsDialogs' >"$out/tour.log" 2>&1 || { tail -n 30 "$out/tour.log"; exit 1; }
keep_pngs "$out"
