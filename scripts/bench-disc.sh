#!/usr/bin/env bash
# Disc benchmark: an MP3 CD image of 60 files of 8 MB written by the data-disc
# library (virtual writer at Speed 0) against native `genisoimage -J` of the same
# files, in interleaved rounds (odd rounds ours first, even rounds genisoimage
# first), our library timed inside its process, genisoimage as a whole process;
# prints best, median, the ratio of medians (target below 1.0 x) and the load at
# start and end. It is not a test. Usage: scripts/bench-disc.sh [rounds]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
source "$here/bench-common.sh"
rounds="${1:-7}"
"$here/build.sh" >/dev/null
work="$SONELLE_RUN/bench-disc"
mkdir -p "$work/src" "$work/app" "$work/images"
bench_load start
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

ours_run() {
  printf '[Writer1]\r\nName=Bench Writer\r\nMedium=cdr\r\nSpeed=0\r\nImageFolder=%s\r\n' "$images_w" >"$work/app/DiscWriter.ini"
  wine "$work/app/DiscBench.exe" "$src_w" >"$work/ours.txt" 2>/dev/null || { cat "$work/ours.txt" >&2; exit 1; }
  sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' "$work/ours.txt"
}
native_run() { bench_time genisoimage -quiet -J -o "$work/native.iso" "$work/src"; }
ours_times=(); native_times=()
for round in $(seq 1 "$rounds"); do
  rm -f "$work/images"/* "$work/native.iso"
  sync
  if ((round % 2)); then
    ours=$(ours_run); sync; native=$(native_run)
  else
    native=$(native_run); sync; ours=$(ours_run)
  fi
  sync
  echo "round $round: library ${ours} s, genisoimage ${native} s"
  ours_times+=("$ours"); native_times+=("$native")
done
ls -l "$work/images" "$work/native.iso" | awk '/iso/ { print "image", $NF, $5, "bytes" }'
read -r ob om <<<"$(bench_best_median "${ours_times[@]}")"
read -r nb nm <<<"$(bench_best_median "${native_times[@]}")"
bench_ratio_line "MP3 CD image, 60 x 8 MB" "$ob" "$om" "genisoimage -J" "$nb" "$nm" "1.0 (below)"
bench_load end
