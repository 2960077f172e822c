#!/usr/bin/env bash
# Wave-editing benchmark: on 44.1 kHz stereo WAVs of 1 and 10 minutes made with
# sox, the time of amplify, fade, normalize, noise reduction and peak build next to
# sox doing the same jobs, next to a plain one-thread 128 KB read+write copy that
# writes over the previous output in place as the effects do, and next to a plain
# read (for the peak build). Interleaved rounds (default 7): each round runs sox's
# jobs and one round of ours (every job of ours, baselines included, in a shuffled
# order, in one process), sox first in odd rounds and ours first in even ones.
# Prints best, median and ratios of medians with their targets, and the load at
# start and end; it is not a test.
# Usage: scripts/bench-waveedit.sh [minutes...] (default 1 10); SONELLE_BENCH_ROUNDS
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
source "$here/bench-common.sh"
lengths=("$@")
[ ${#lengths[@]} -gt 0 ] || lengths=(1 10)
rounds="${SONELLE_BENCH_ROUNDS:-7}"
"$here/build.sh" >/dev/null
work="$SONELLE_RUN/bench-waveedit"
mkdir -p "$work"
bench_load start
sox -n -r 44100 -c 2 -b 16 "$work/noise.wav" synth 2 whitenoise gain -40 2>/dev/null
sox "$work/noise.wav" -n noiseprof "$work/noise.prof" 2>/dev/null

"$here/sandbox.sh" start >/dev/null 2>&1 || true
trap '"$here/sandbox.sh" stop' EXIT
winwork="$(bench_winpath "$work")"
jobs=(copy read amplify fade normalize noisered peaks)
sox_jobs=(amplify fade normalize noisered)

for minutes in "${lengths[@]}"; do
  wav="$work/music-$minutes.wav"
  bench_music_wav "$wav" "$minutes"
  winwav="$(bench_winpath "$wav")"
  sox_run() {  # job: sox doing it, whole process
    case "$1" in
      amplify) bench_time sox "$wav" "$work/sox.wav" vol 0.5 ;;
      fade) bench_time sox "$wav" "$work/sox.wav" fade 5 "$((minutes * 60))" 5 ;;
      normalize) bench_time sox "$wav" "$work/sox.wav" gain -n ;;
      noisered) bench_time sox "$wav" "$work/sox.wav" noisered "$work/noise.prof" 0.21 ;;
    esac
  }
  ours_round() {
    wine "$SONELLE_BUILD/bin/WaveEditBench.exe" "$winwav" "$winwork" --rounds 1 >"$work/ours.txt" 2>&1 </dev/null ||
      { cat "$work/ours.txt" >&2; exit 1; }
    grep -q FAILED "$work/ours.txt" && { echo "a job FAILED:"; cat "$work/ours.txt"; exit 1; }
    for j in "${jobs[@]}"; do ours[$j]="${ours[$j]:-} $(awk -v n="$j" '$1 == n { print $2 }' "$work/ours.txt")"; done
  }
  declare -A ours=() soxt=()
  sox_round() { for j in "${sox_jobs[@]}"; do soxt[$j]="${soxt[$j]:-} $(sox_run "$j")"; done; }
  for round in $(seq "$rounds"); do
    if ((round % 2)); then sox_round; ours_round; else ours_round; sox_round; fi
  done
  rm -f "$work/sox.wav"

  declare -A best=() med=()
  for j in "${jobs[@]}"; do read -r "best[$j]" "med[$j]" <<<"$(bench_best_median ${ours[$j]})"; done
  printf '\n%s-minute 44.1 kHz stereo 16-bit WAV (%s bytes); seconds over %s interleaved rounds\n' \
    "$minutes" "$(stat -c %s "$wav")" "$rounds"
  printf '%-16s %8s %8s %8s %8s %10s %10s   %s\n' job best median "sox best" "sox med" med/copy "med/sox" target
  copy_target=$([ "$minutes" -ge 10 ] && echo 1.1 || echo 1.5)
  row() {  # job label target
    local sb="" sm=""
    [ -n "${soxt[$1]:-}" ] && read -r sb sm <<<"$(bench_best_median ${soxt[$1]})"
    awk -v n="$2" -v o="${best[$1]}" -v m="${med[$1]}" -v sb="$sb" -v sm="$sm" -v cm="${med[copy]}" -v t="$3" \
      'BEGIN { printf "%-16s %8.4f %8.4f %8s %8s %10.2f %10s   %s\n", n, o, m, (sb == "" ? "-" : sb), (sm == "" ? "-" : sm),
               m / cm, (sm == "" ? "-" : sprintf("%.2f", m / sm)), t }'
  }
  row copy "copy in place" ""
  row read "read (256 KB)" ""
  row amplify amplify "med/copy <= $copy_target"
  row fade fade "med/copy <= $copy_target"
  row normalize normalize "med/sox <= 0.7"
  row noisered "noise reduction" "med/sox <= 0.5"
  awk -v p="${best[peaks]}" -v pm="${med[peaks]}" -v r="${best[read]}" -v rm="${med[read]}" \
    'BEGIN { printf "%-16s %8.4f %8.4f   read speed share best %.0f %%, median %.0f %% (target: median >= 90 %%)\n",
             "peak build", p, pm, 100 * r / p, 100 * rm / pm }'
  unset ours soxt best med
done
rm -f "$work/bench.tm1" "$work/bench.np1" "$work"/music-*.npk
bench_load end
