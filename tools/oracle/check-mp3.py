#!/usr/bin/python3
"""Native oracle step after a Wine test program: checks the MP3 files it listed in
oracle-checks.txt of its fixture folder with mpg123 (clean decoding, length, pitch,
sound at the start) and mutagen (stream parameters, ID3v1 tag).

Line format: name|key=value key=value ...
  rate, channels     mutagen's sample rate and channel count
  bitrate            mutagen's bit rate in kbps (a Xing/Info header's average)
  seconds            decoded length: at least this long, at most a frame plus the
                     encoder and decoder delay (2257 samples) longer
  min_seconds        decoded length: at least this long
  group, total       files of one group: their decoded lengths add up to `total`
                     seconds (plus a frame and the delays per file)
  tone               pitch in Hz of the first channel, within 2 %
  sound_at_start=1   the first tenth of a second carries sound (past the codec's
                     delay and a split detector's block)
  v1title, v1album, v1year   mutagen reads the ID3v1 tag alike ("_" stands for a blank)
  decode=0           the file is not decoded (frames made up by a test)
"""
import math
import struct
import subprocess
import sys
from collections import defaultdict

FRAME_AND_DELAYS = 1152 + 576 + 529


def decode(path):
    """mpg123's decoding as signed 16-bit samples; its messages must be clean."""
    test = subprocess.run(["mpg123", "-t", path], capture_output=True, text=True)
    words = ("warn", "error", "illegal", "junk", "damage", "fail", "big_values", "bad")
    complaints = [l for l in test.stderr.splitlines() if any(w in l.lower() for w in words)]
    raw = subprocess.run(["mpg123", "-q", "-e", "s16", "-s", path], capture_output=True)
    return test.returncode, complaints, raw.stdout, stream_info(path)


def stream_info(path):
    """The stream parameters mutagen reads from the first frame (and its Xing/Info
    header); empty when it finds no MPEG frame, which fails every check on them."""
    import mutagen
    from mutagen.mp3 import MP3
    try:
        info = MP3(path).info
    except mutagen.MutagenError:
        return {}
    return {"sample_rate": str(info.sample_rate), "channels": str(info.channels), "bit_rate": str(info.bitrate)}


def pitch(samples, rate, channels):
    first = samples[::channels]
    start = min(len(first), rate // 10)
    # The first and last tenth of a second hold the codec's delay and padding.
    window = first[start:min(start + rate, len(first) - rate // 10)]
    crossings = sum(1 for a, b in zip(window, window[1:]) if (a < 0) != (b < 0))
    return crossings / 2 / (len(window) / rate) if len(window) > rate // 10 else 0.0


def main():
    folder = sys.argv[1]
    try:
        lines = open(folder + "/oracle-checks.txt", encoding="utf-8").read().splitlines()
    except OSError:
        print("no outputs listed: the Wine test program wrote nothing to check")
        return 1
    failures = []
    groups = defaultdict(lambda: [0, 0.0, 0])   # samples, expected seconds, files
    for line in lines:
        name, _, spec = line.partition("|")
        checks = dict(kv.split("=", 1) for kv in spec.split())
        path = folder + "/" + name
        v1 = {k[2:]: v.replace("_", " ") for k, v in checks.items() if k.startswith("v1")}
        if v1:
            from mutagen.id3 import ID3
            tag = ID3(path)
            got = {"title": str(tag.get("TIT2", "")), "album": str(tag.get("TALB", "")),
                   "year": str(tag.get("TDRC", ""))}
            for key, want in v1.items():
                if got.get(key) != want:
                    failures.append(f"{name}: mutagen reads {key} {got.get(key)!r}, expected {want!r}")
        if checks.get("decode") == "0":
            print(f"ok {name}: tag")
            continue
        rc, complaints, raw, info = decode(path)
        if rc != 0 or complaints:
            failures.append(f"{name}: mpg123 -t rc={rc} {complaints[:3]}")
            continue
        channels = int(info.get("channels", "0") or 0)
        rate = int(info.get("sample_rate", "0") or 0)
        samples = struct.unpack(f"<{len(raw) // 2}h", raw[:len(raw) // 2 * 2])
        frames = len(samples) // max(channels, 1)
        for key, want in (("rate", rate), ("channels", channels)):
            if key in checks and int(checks[key]) != want:
                failures.append(f"{name}: {key} {want}, expected {checks[key]}")
        if "bitrate" in checks:
            got = round(int(info.get("bit_rate", "0") or 0) / 1000)
            if got != int(checks["bitrate"]):
                failures.append(f"{name}: bitrate {got} kbps, expected {checks['bitrate']}")
        if "seconds" in checks:
            want = round(float(checks["seconds"]) * rate)
            if not want <= frames <= want + FRAME_AND_DELAYS:
                failures.append(f"{name}: {frames} samples decoded, expected {want} to {want + FRAME_AND_DELAYS}")
        if "min_seconds" in checks and frames < float(checks["min_seconds"]) * rate:
            failures.append(f"{name}: {frames} samples decoded, expected at least {checks['min_seconds']} s")
        if "tone" in checks:
            hz = pitch(samples, rate, channels)
            if abs(hz - float(checks["tone"])) > float(checks["tone"]) * 0.02:
                failures.append(f"{name}: pitch {hz:.1f} Hz, expected {checks['tone']}")
        if checks.get("sound_at_start") == "1":
            head = samples[:rate // 10 * channels]
            rms = math.sqrt(sum(s * s for s in head) / max(len(head), 1)) / 32768
            if rms < 0.05:
                failures.append(f"{name}: silent start (rms {rms:.3f})")
        if "group" in checks:
            g = groups[checks["group"]]
            g[0] += frames
            g[1] = float(checks["total"]) * rate
            g[2] += 1
        print(f"ok {name}: {rate} Hz, {channels} ch, {frames} samples")
    for group, (samples, want, files) in groups.items():
        if not want <= samples <= want + FRAME_AND_DELAYS * files:
            failures.append(f"group {group}: {samples} samples in {files} files, expected {want:.0f}")
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
