#!/usr/bin/env bash
# Disc benchmark: an MP3 CD image of 60 files of 8 MB written by the data-disc
# library (virtual writer at Speed 0) against native `genisoimage -J` of the same
# files, in interleaved rounds, best of each kept; prints both and the ratio
# (target below 1.0 x). It is not a test. Usage: scripts/bench-disc.sh [rounds]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
rounds="${1:-3}"
"$here/build.sh" >/dev/null
work="$SONELLE_RUN/bench-disc"
mkdir -p "$work/src" "$work/app" "$work/images"
for i in $(seq -w 1 60); do
  [ -f "$work/src/track $i.mp3" ] || head -c 8M /dev/urandom >"$work/src/track $i.mp3"
done
cat "$work/src"/* >/dev/null
# The library and the program in a folder of their own: their writer file there.
cp "$SONELLE_BUILD/bin/NVDataCDDVD.dll" "$SONELLE_BUILD/bin/DiscBench.exe" "$work/app/"

"$here/sandbox.sh" start >/dev/null
trap '"$here/sandbox.sh" stop' EXIT
src_w="$(wine winepath -w "$work/src" 2>/dev/null | tr -d '\r')"
images_w="$(wine winepath -w "$work/images" 2>/dev/null | tr -d '\r')"

ours_best=""; native_best=""
for round in $(seq 1 "$rounds"); do
  rm -f "$work/images"/* "$work/native.iso"
  printf '[Writer1]\r\nName=Bench Writer\r\nMedium=cdr\r\nSpeed=0\r\nImageFolder=%s\r\n' "$images_w" >"$work/app/DiscWriter.ini"
  wine "$work/app/DiscBench.exe" "$src_w" >"$work/ours.txt" 2>/dev/null || { cat "$work/ours.txt"; exit 1; }
  ours=$(sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' "$work/ours.txt")
  sync
  s=$(date +%s.%N); genisoimage -quiet -J -o "$work/native.iso" "$work/src"; e=$(date +%s.%N)
  native=$(awk -v a="$s" -v b="$e" 'BEGIN { printf "%.3f", b - a }')
  sync
  echo "round $round: library ${ours} s, genisoimage ${native} s"
  ours_best=$(awk -v a="$ours" -v b="${ours_best:-1e9}" 'BEGIN { print (a < b) ? a : b }')
  native_best=$(awk -v a="$native" -v b="${native_best:-1e9}" 'BEGIN { print (a < b) ? a : b }')
done
ls -l "$work/images" "$work/native.iso" | awk '/iso/ { print "image", $NF, $5, "bytes" }'
awk -v o="$ours_best" -v n="$native_best" \
  'BEGIN { printf "MP3 CD image, 60 x 8 MB: library %.3f s, genisoimage -J %.3f s, ratio %.2f x (target < 1.0)\n", o, n, o / n }'
