#!/usr/bin/env bash
# Wave-editing benchmark: on a 10-minute 44.1 kHz stereo WAV made with sox, the
# time of amplify, fade, normalize, noise reduction and peak build next to sox
# doing the same jobs and next to a plain 128 KB read+write copy (and a plain
# read for the peak build). Prints figures and ratios; it is not a test.
# Usage: scripts/bench-waveedit.sh [minutes]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
source "$here/bench-common.sh"
minutes="${1:-10}"
"$here/build.sh" >/dev/null
work="$SONELLE_RUN/bench-waveedit"
mkdir -p "$work"
wav="$work/music.wav"
bench_music_wav "$wav" "$minutes"
sox -n -r 44100 -c 2 -b 16 "$work/noise.wav" synth 2 whitenoise gain -40 2>/dev/null
sox "$work/noise.wav" -n noiseprof "$work/noise.prof" 2>/dev/null

# sox runs natively; each job three times, the best time counts.
time_best() {
  local best=""
  for _ in 1 2 3; do
    local s e
    s=$(date +%s.%N); "$@" 2>/dev/null; e=$(date +%s.%N)
    best=$(awk -v a="$s" -v b="$e" -v best="$best" 'BEGIN { t = b - a; if (best == "" || t < best) best = t; printf "%.3f", best }')
  done
  echo "$best"
}
sox_vol=$(time_best sox "$wav" "$work/sox.wav" vol 0.5)
sox_fade=$(time_best sox "$wav" "$work/sox.wav" fade 5 "$((minutes * 60))" 5)
sox_norm=$(time_best sox "$wav" "$work/sox.wav" gain -n)
sox_nr=$(time_best sox "$wav" "$work/sox.wav" noisered "$work/noise.prof" 0.21)
rm -f "$work/sox.wav"

"$here/sandbox.sh" start >/dev/null 2>&1 || true
trap '"$here/sandbox.sh" stop' EXIT
winwav="$(wine winepath -w "$wav" 2>/dev/null | tr -d '\r')"
winwork="$(wine winepath -w "$work" 2>/dev/null | tr -d '\r')"
wine "$SONELLE_BUILD/bin/WaveEditBench.exe" "$winwav" "$winwork" >"$work/ours.txt" 2>&1 </dev/null
# Each line of ours: job, best, median (seconds).
get() { awk -v n="$1" -v c="${2:-2}" '$1 == n { print $c }' "$work/ours.txt"; }
copy=$(get copy); read_=$(get read); copy_med=$(get copy 3); read_med=$(get read 3)
printf '%s-minute 44.1 kHz stereo 16-bit WAV (%s bytes); seconds; ours best and median of 7 interleaved rounds\n' \
  "$minutes" "$(stat -c %s "$wav")"
printf '(every job, the copy and read baselines included, after the same pause, in a new shuffled order each round); sox best of 3\n'
printf '%-16s %8s %8s %8s %10s %10s %10s   %s\n' job best median sox best/copy med/copy ours/sox target
row() {  # name best median sox target-text
  awk -v n="$1" -v o="$2" -v m="$3" -v s="$4" -v c="$copy" -v cm="$copy_med" -v t="$5" \
    'BEGIN { printf "%-16s %8.3f %8.3f %8s %10.2f %10.2f %10s   %s\n", n, o, m, (s == "" ? "-" : s), o / c, m / cm,
             (s == "" ? "-" : sprintf("%.2f", o / s)), t }'
}
row "copy (128 KB)" "$copy" "$copy_med" "" ""
row "read (256 KB)" "$read_" "$read_med" "" ""
row amplify "$(get amplify)" "$(get amplify 3)" "$sox_vol" "best/copy <= 1.2"
row fade "$(get fade)" "$(get fade 3)" "$sox_fade" "best/copy <= 1.2"
row normalize "$(get normalize)" "$(get normalize 3)" "$sox_norm" "ours/sox <= 0.7"
row "noise reduction" "$(get noisered)" "$(get noisered 3)" "$sox_nr" "ours/sox <= 0.5"
awk -v p="$(get peaks)" -v pm="$(get peaks 3)" -v r="$read_" -v rm="$read_med" \
  'BEGIN { printf "%-16s %8.3f %8.3f %8s   read speed share best %.0f %%, median %.0f %% (target >= 90 %%)\n",
           "peak build", p, pm, "-", 100 * r / p, 100 * rm / pm }'
grep -q FAILED "$work/ours.txt" && { echo "a job FAILED:"; cat "$work/ours.txt"; exit 1; }
exit 0
