#!/usr/bin/env bash
# Opening a WAV in the Edit page: the conversion that makes the work WAV (".tmw")
# and its peak file (".npk") of a 10-minute 44.1 kHz stereo WAV, against native
# `sox in.wav out.wav` (target <= 1.5 x), in interleaved rounds (odd rounds sox
# first, even rounds ours first), best and median of each. Checks that the work
# WAV holds the input's sound. Prints figures, the ratio of medians and the load
# at start and end; it is not a test. (Ours is timed inside its process: in the
# recorder the opening runs in a program that is already up.)
# Usage: scripts/bench-open-wav.sh [minutes] [rounds]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
source "$here/bench-common.sh"
minutes="${1:-10}"
rounds="${2:-7}"
"$here/build.sh" >/dev/null
work="$SONELLE_RUN/bench-open-wav"
mkdir -p "$work"
wav="$work/music.wav"
bench_load start
bench_music_wav "$wav" "$minutes"

"$here/sandbox.sh" start >/dev/null 2>&1 || true
trap '"$here/sandbox.sh" stop' EXIT
register_filter_modules
winwav="$(bench_winpath "$wav")"; wintmw="$(bench_winpath "$work")\\ours.tmw"

ours() {
  rm -f "$work/ours.tmw" "$work/ours.npk"
  wine "$SONELLE_BUILD/bin/OpenWavBench.exe" "$winwav" "$wintmw" >"$work/ours.txt" 2>&1 </dev/null ||
    { cat "$work/ours.txt" >&2; exit 1; }
  awk '$1 == "open" { print $2 }' "$work/ours.txt"
}
peer() {
  rm -f "$work/sox.wav"
  bench_time sox "$wav" "$work/sox.wav"
}
ours_times=(); sox_times=()
for round in $(seq "$rounds"); do
  if ((round % 2)); then
    sox_times+=("$(peer)"); ours_times+=("$(ours)")
  else
    ours_times+=("$(ours)"); sox_times+=("$(peer)")
  fi
done

data=$(($(stat -c %s "$wav") - 44))
same=no
[ -f "$work/ours.npk" ] && cmp -s <(tail -c "$data" "$wav") <(tail -c "$data" "$work/ours.tmw") && same=yes
read -r ob om <<<"$(bench_best_median "${ours_times[@]}")"
read -r sb sm <<<"$(bench_best_median "${sox_times[@]}")"
printf '%s-minute 44.1 kHz stereo WAV opened for editing (work WAV + peak file), %s interleaved rounds\n' "$minutes" "$rounds"
bench_ratio_line "open" "$ob" "$om" "sox copy" "$sb" "$sm" 1.5
echo "work WAV holds the input's sound: $same; peak file: $(stat -c %s "$work/ours.npk" 2>/dev/null || echo none) bytes"
bench_load end
[ "$same" = yes ]
