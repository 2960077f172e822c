# Sourced by the benchmark scripts: the test WAV, native timing, and the best and
# median of interleaved rounds.

# A sox-made WAV of 44.1 kHz stereo music-like sound of `minutes` minutes, kept
# between runs and read once so that every round finds it in the page cache.
bench_music_wav() {  # path minutes
  local wav="$1" minutes="$2"
  if [ ! -f "$wav" ] || [ "$(soxi -D "$wav" 2>/dev/null | cut -d. -f1)" != "$((minutes * 60))" ]; then
    sox -n -r 44100 -c 2 -b 16 "$wav" synth "$((minutes * 60))" sine 220-880 sine 330 whitenoise gain -12 2>/dev/null
  fi
  cat "$wav" >/dev/null
}

# Seconds a native command takes.
bench_time() {
  local s e
  s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N)
  awk -v a="$s" -v b="$e" 'BEGIN { printf "%.3f", b - a }'
}

# "best median" of the numbers given.
bench_best_median() {
  printf '%s\n' "$@" | sort -g |
    awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.5f %.5f", v[1], m }'
}

# Windows path of a Unix one.
bench_winpath() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# One line: job, ours best and median, peer best and median, both ratios, target.
bench_ratio_line() {  # label ours-best ours-median peer-name peer-best peer-median target
  awk -v l="$1" -v ob="$2" -v om="$3" -v p="$4" -v pb="$5" -v pm="$6" -v t="$7" 'BEGIN {
    printf "%s: ours best %.3f s, median %.3f s; %s best %.3f s, median %.3f s; ratio best %.2f, median %.2f (target <= %s)\n",
           l, ob, om, p, pb, pm, ob / pb, om / pm, t }'
}

# The machine's load, printed at a benchmark's start and end: figures taken while
# other work runs are slower, and the peers do not always slow alike.
bench_load() {  # start|end
  printf 'load average at %s: %s\n' "$1" "$(cut -d' ' -f1-3 /proc/loadavg)"
}
