#!/usr/bin/env bash
# MP3 benchmark, ratios measured in one run:
# - OpenFileToMp3 (192 kbps, 44100 Hz, stereo) of a 10-minute 44.1 kHz stereo WAV
#   against native `lame -b 192 -q 7 -m s` (target <= 1.5 x), in interleaved
#   rounds (odd rounds lame first, even rounds ours first), best and median;
# - CMp3Info Open + ReadMpegInfo over 1000 MP3 files tagged by mutagen (2.3 and
#   2.4, mixed encodings, some pictures and ID3v1 tags) against mutagen.File
#   (target <= 1.2 x), counting fields that differ from mutagen's (target 0).
# Prints figures and ratios; it is not a test. Usage: scripts/bench-mp3.sh [minutes] [rounds]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
source "$here/bench-common.sh"
minutes="${1:-10}"
rounds="${2:-5}"
"$here/build.sh" >/dev/null
work="$SONELLE_RUN/bench-mp3"
mkdir -p "$work/tagged"
wav="$work/music.wav"
bench_music_wav "$wav" "$minutes"

# 1000 tagged files and mutagen's reading of them (timed inside Python).
/usr/bin/python3 - "$work/tagged" >"$work/mutagen.txt" <<'PY'
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
best = None
for _ in range(3):
    start = time.perf_counter()
    for r in rows:
        f = mutagen.File(os.path.join(folder, r.split("|")[0]))
        _ = (f.tags.get("TIT2"), f.tags.get("TPE1"), f.tags.get("TALB"), f.tags.get("TDRC"), f.tags.get("TRCK"), f.info.bitrate)
    t = time.perf_counter() - start
    best = t if best is None or t < best else best
print(f"mutagen {best:.3f}")
PY
mutagen_s=$(awk '$1 == "mutagen" { print $2 }' "$work/mutagen.txt")

"$here/sandbox.sh" start >/dev/null 2>&1 || true
trap '"$here/sandbox.sh" stop' EXIT
register_filter_modules
winwav="$(bench_winpath "$wav")"; winout="$(bench_winpath "$work")\\ours.mp3"; wintagged="$(bench_winpath "$work/tagged")\\"
job() {  # job args...: the job's own timing of one run
  wine "$SONELLE_BUILD/bin/Mp3Bench.exe" "$@" >"$work/ours.txt" 2>&1 </dev/null || { cat "$work/ours.txt" >&2; exit 1; }
  awk -v n="$1" '$1 == n { print $2 }' "$work/ours.txt"
}
lame_run() { bench_time lame --quiet -b 192 -q 7 -m s "$wav" "$work/lame.mp3"; }
ours_times=(); lame_times=()
for round in $(seq "$rounds"); do
  if ((round % 2)); then
    lame_times+=("$(lame_run)"); ours_times+=("$(job convert "$winwav" "$winout")")
  else
    ours_times+=("$(job convert "$winwav" "$winout")"); lame_times+=("$(lame_run)")
  fi
done
read -r ob om <<<"$(bench_best_median "${ours_times[@]}")"
read -r lb lm <<<"$(bench_best_median "${lame_times[@]}")"
tags_times=()
for _ in 1 2 3; do tags_times+=("$(job tags "$wintagged" "$wintagged\\list.txt")"); done
read -r ours_tags _ <<<"$(bench_best_median "${tags_times[@]}")"
get() { awk -v n="$1" '$1 == n { print $2 }' "$work/ours.txt"; }

printf '%s-minute 44.1 kHz stereo WAV to MP3 192 kbps, %s interleaved rounds\n' "$minutes" "$rounds"
bench_ratio_line "to MP3" "$ob" "$om" lame "$lb" "$lm" 1.5
printf '1000 tagged MP3 files, tags + frame scan: ours %s s, mutagen %s s, ratio %.2f (target <= 1.2); MPEG found in %s; fields differing from mutagen: %s\n' \
  "$ours_tags" "$mutagen_s" "$(awk -v o="$ours_tags" -v m="$mutagen_s" 'BEGIN { print o / m }')" "$(get mpeg)" "$(get differ)"
