#!/usr/bin/env bash
# MP3 benchmark, ratios measured in one run:
# - WAV to MP3 (OpenFileToMp3, 192 kbps, 44100 Hz, stereo) of 44.1 kHz stereo WAVs
#   of 1, 10 and 60 minutes against native `lame -b 192 -q 7 -m s`, both timed as
#   whole processes (a user waits for the whole conversion; our process under Wine
#   counts its start and exit too), in interleaved rounds (odd rounds lame first,
#   even rounds ours first); best, median and the ratio of medians (target <= 1.1);
#   the time inside our process is printed beside it;
# - CMp3Info Open + ReadMpegInfo over 1000 MP3 files tagged by mutagen (2.3 and
#   2.4, mixed encodings, some pictures and ID3v1 tags) against mutagen.File, each
#   timed inside its process, in interleaved rounds (target <= 1.2 x), counting
#   fields that differ from mutagen's (target 0).
# Prints figures and ratios and the load at start and end; it is not a test.
# Usage: scripts/bench-mp3.sh [minutes...] (default 1 10 60); SONELLE_BENCH_ROUNDS (default 7)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
source "$here/bench-common.sh"
lengths=("$@")
[ ${#lengths[@]} -gt 0 ] || lengths=(1 10 60)
rounds="${SONELLE_BENCH_ROUNDS:-7}"
"$here/build.sh" >/dev/null
work="$SONELLE_RUN/bench-mp3"
mkdir -p "$work/tagged"
bench_load start

# 1000 tagged files and mutagen's reading of them (timed inside Python).
/usr/bin/python3 - "$work/tagged" <<'PY'
import os, random, subprocess, sys, time
from mutagen.id3 import APIC, ID3, TALB, TDRC, TIT2, TPE1, TRCK, TYER, Encoding
import mutagen
folder = sys.argv[1]
base = os.path.join(folder, "base.mp3")
if not os.path.exists(base):
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", base + ".wav", "synth", "3", "sine", "440"], check=True)
    subprocess.run(["lame", "--quiet", "-b", "128", base + ".wav", base], check=True)
    os.remove(base + ".wav")
data = open(base, "rb").read()
rnd = random.Random(11)
encodings = [Encoding.LATIN1, Encoding.UTF16, Encoding.UTF16BE, Encoding.UTF8]
rows = []
for i in range(1000):
    name = f"t{i:04d}.mp3"
    path = os.path.join(folder, name)
    version = 3 if i % 2 else 4
    enc = encodings[i % 4] if version == 4 else encodings[i % 2]
    title = f"Title {i} caf\u00e9" if enc == Encoding.LATIN1 else f"Title {i} \u65e5\u672c"
    open(path, "wb").write(data)
    tag = ID3()
    tag.add(TIT2(encoding=enc, text=title))
    tag.add(TPE1(encoding=enc, text=f"Artist {i % 37}"))
    tag.add(TALB(encoding=enc, text=f"Album {i % 11}"))
    tag.add(TRCK(encoding=enc, text=str(1 + i % 20)))
    tag.add((TYER if version == 3 else TDRC)(encoding=enc, text=str(1950 + i % 70)))
    if i % 10 == 0:
        tag.add(APIC(encoding=0, mime="image/jpeg", type=3, desc="", data=os.urandom(20000 + rnd.randrange(20000))))
    tag.save(path, v2_version=version, v1=2 if i % 3 == 0 else 0)
    rows.append(f"{name}|{title}|Artist {i % 37}|Album {i % 11}|{1950 + i % 70}|{1 + i % 20}")
open(os.path.join(folder, "list.txt"), "w", encoding="utf-8").write("\n".join(rows) + "\n")
PY
# One timed pass of mutagen over the list (the files are made above).
mutagen_pass() {
  /usr/bin/python3 - "$work/tagged" <<'PY'
import os, sys, time
import mutagen
folder = sys.argv[1]
rows = open(os.path.join(folder, "list.txt"), encoding="utf-8").read().split("\n")
rows = [r for r in rows if r]
start = time.perf_counter()
for r in rows:
    f = mutagen.File(os.path.join(folder, r.split("|")[0]))
    _ = (f.tags.get("TIT2"), f.tags.get("TPE1"), f.tags.get("TALB"), f.tags.get("TDRC"), f.tags.get("TRCK"), f.info.bitrate)
print(f"{time.perf_counter() - start:.3f}")
PY
}

"$here/sandbox.sh" start >/dev/null 2>&1 || true
trap '"$here/sandbox.sh" stop' EXIT
register_filter_modules
winout="$(bench_winpath "$work")\\ours.mp3"; wintagged="$(bench_winpath "$work/tagged")\\"
job() {  # job args...: the job's own timing of one run
  wine "$SONELLE_BUILD/bin/Mp3Bench.exe" "$@" >"$work/ours.txt" 2>&1 </dev/null || { cat "$work/ours.txt" >&2; exit 1; }
  awk -v n="$1" '$1 == n { print $2 }' "$work/ours.txt"
}
convert() {  # a conversion never writes over a file it did not make: the last one goes first
  rm -f "$work/ours.mp3"
  job convert "$winwav" "$winout"
}
ours_run() {  # whole process, then the time inside it
  local s e inner
  rm -f "$work/ours.mp3"
  s=$(date +%s.%N)
  inner=$(job convert "$winwav" "$winout") || exit 1
  e=$(date +%s.%N)
  awk -v a="$s" -v b="$e" -v i="$inner" 'BEGIN { printf "%.3f %s", b - a, i }'
}
lame_run() { bench_time lame --quiet -b 192 -q 7 -m s "$wav" "$work/lame.mp3"; }
results=()
for minutes in "${lengths[@]}"; do
  wav="$work/music-$minutes.wav"
  bench_music_wav "$wav" "$minutes"
  winwav="$(bench_winpath "$wav")"
  convert >/dev/null   # unmeasured: caches filled
  ours_times=(); inner_times=(); lame_times=()
  for round in $(seq "$rounds"); do
    if ((round % 2)); then
      lame_times+=("$(lame_run)"); read -r w i <<<"$(ours_run)"
    else
      read -r w i <<<"$(ours_run)"; lame_times+=("$(lame_run)")
    fi
    [ -n "${i:-}" ] || { echo "our conversion failed" >&2; exit 1; }
    ours_times+=("$w"); inner_times+=("$i")
  done
  read -r ob om <<<"$(bench_best_median "${ours_times[@]}")"
  read -r ib im <<<"$(bench_best_median "${inner_times[@]}")"
  read -r lb lm <<<"$(bench_best_median "${lame_times[@]}")"
  results+=("$(bench_ratio_line "$minutes-minute WAV to MP3 192 kbps, whole processes" "$ob" "$om" lame "$lb" "$lm" 1.1)")
  results+=("$(printf '  (inside our process: best %.3f s, median %.3f s; Wine start and exit: %.3f s in the median)' \
    "$ib" "$im" "$(awk -v a="$om" -v b="$im" 'BEGIN { print a - b }')")")
done
rm -f "$work/lame.mp3"

ours_tags=(); mutagen_tags=()
for round in $(seq "$rounds"); do
  if ((round % 2)); then
    mutagen_tags+=("$(mutagen_pass)"); ours_tags+=("$(job tags "$wintagged" "$wintagged\\list.txt")")
  else
    ours_tags+=("$(job tags "$wintagged" "$wintagged\\list.txt")"); mutagen_tags+=("$(mutagen_pass)")
  fi
done
get() { awk -v n="$1" '$1 == n { print $2 }' "$work/ours.txt"; }
read -r tb tm <<<"$(bench_best_median "${ours_tags[@]}")"
read -r mb mm <<<"$(bench_best_median "${mutagen_tags[@]}")"

printf '44.1 kHz stereo WAVs to MP3 192 kbps, %s interleaved rounds each\n' "$rounds"
printf '%s\n' "${results[@]}"
bench_ratio_line "1000 tagged MP3 files, tags + frame scan (inside each process)" "$tb" "$tm" mutagen "$mb" "$mm" 1.2
printf '  MPEG found in %s files; fields differing from mutagen: %s (target 0)\n' "$(get mpeg)" "$(get differ)"
bench_load end
