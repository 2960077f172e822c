#!/usr/bin/python3
"""Native check after the wizard's whole journey (WizardEndToEnd.TheWholeJourney*),
which leaves in its folder: journey.txt (album=...), the three recordings as they
were burned (recording0.mp3 ... recording2.mp3), the MP3 CD's ISO image and the
Audio CD's CUE/BIN image.

Recordings: mpg123 decodes each without complaint; their pitches are 440, 660 and
880 Hz in order; mutagen reads the ID3v1 tag: album, year, no title, genre byte 255.
ISO: isoinfo -d names the album cut to 16 (Joliet as typed, primary in d-characters),
isoinfo -J -l lists the recordings' long names, isoinfo -l unique 8.3 names, and
the files extracted are the recordings byte for byte.
CUE/BIN: bchunk gives three tracks whose lengths match mpg123's within 0.1 s.
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

from mutagen.id3 import ParseID3v1

failures = []


def fail(message):
    failures.append(message)
    print("FAIL " + message)


def run(args):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT).stdout


def decode(path):
    """mpg123's samples (16-bit, interleaved) and its rate and channels; complaints fail."""
    test = subprocess.run(["mpg123", "-t", path], capture_output=True, text=True)
    words = ("warn", "error", "illegal", "junk", "damage", "fail", "big_values", "bad")
    complaints = [l for l in test.stderr.splitlines() if any(w in l.lower() for w in words)]
    if test.returncode != 0 or complaints:
        fail(f"{os.path.basename(path)}: mpg123 complains: {complaints or test.returncode}")
    raw = subprocess.run(["mpg123", "-q", "-e", "s16", "-s", path], capture_output=True).stdout
    info = subprocess.run(["mpg123", "-q", "-n", "1", "-v", "-t", path], capture_output=True, text=True).stderr
    rate = int(re.search(r"(\d+) Hz", info).group(1)) if re.search(r"(\d+) Hz", info) else 48000
    channels = 1 if "Mono" in info else 2
    samples = memoryview(raw).cast("h")
    return samples, rate, channels


def pitch(samples, rate, channels):
    """Median zero-crossing pitch of the 0.1 s windows of the first channel that hold sound."""
    first = samples[::channels]
    window = rate // 10
    found = []
    for start in range(0, len(first) - window, window):
        piece = first[start:start + window]
        if max(abs(v) for v in piece[::7]) < 2000:
            continue
        crossings = sum(1 for a, b in zip(piece, piece[1:]) if (a < 0) != (b < 0))
        found.append(crossings / 2 / 0.1)
    found.sort()
    return found[len(found) // 2] if found else 0.0


def check_recordings(folder, album):
    lengths = []
    for i, hz in enumerate((440, 660, 880)):
        path = os.path.join(folder, f"recording{i}.mp3")
        if not os.path.exists(path):
            fail(f"recording{i}.mp3 missing")
            lengths.append(0)
            continue
        samples, rate, channels = decode(path)
        seconds = len(samples) / channels / rate
        lengths.append(seconds)
        measured = pitch(samples, rate, channels)
        print(f"recording{i}.mp3: {seconds:.2f} s, {measured:.1f} Hz")
        if abs(measured - hz) > hz * 0.02:
            fail(f"recording{i}.mp3 has pitch {measured:.1f} Hz, want {hz}")
        data = open(path, "rb").read()
        if data[-128:-125] != b"TAG":
            fail(f"recording{i}.mp3 has no ID3v1 tag")
            continue
        frames = ParseID3v1(data[-128:]) or {}
        got_album = str(frames.get("TALB", ""))
        got_year = str(frames.get("TDRC", ""))
        if got_album != album[:30]:
            fail(f"recording{i}.mp3 album {got_album!r}, want {album!r}")
        if not re.fullmatch(r"20\d\d", got_year):
            fail(f"recording{i}.mp3 year {got_year!r}")
        if "TIT2" in frames:
            fail(f"recording{i}.mp3 has a title {frames['TIT2']}")
        if data[-1] != 255:
            fail(f"recording{i}.mp3 genre byte {data[-1]}, want 255")
        if data[-256:-253] == b"TAG":
            fail(f"recording{i}.mp3 carries two ID3v1 records")
    return lengths


def listed_names(listing):
    names = []
    for line in listing.splitlines():
        m = re.match(r"^[-d]\S{9}\s.*\]\s\s(.*)$", line)
        name = m.group(1).rstrip() if m else None
        if name and name not in (".", ".."):
            names.append(name)
    return names


def check_iso(folder, album):
    images = sorted(glob.glob(os.path.join(folder, "*.iso")))
    if len(images) != 1:
        fail(f"want one ISO image, found {images}")
        return
    image = images[0]
    label = album[:16]
    info = run(["isoinfo", "-d", "-i", image]).decode("latin-1")
    vol = re.search(r"^Volume id: (.*)$", info, re.M)
    want = re.sub(r"[^A-Z0-9_]", "_", label.upper())
    if not vol or vol.group(1).rstrip() != want:
        fail(f"ISO volume id {vol.group(1) if vol else None!r}, want {want!r}")
    with open(image, "rb") as f:
        f.seek(17 * 2048)
        svd = f.read(2048)
    if svd[40:72].decode("utf-16-be").rstrip() != label:
        fail(f"Joliet volume id {svd[40:72].decode('utf-16-be').rstrip()!r}, want {label!r}")
    joliet = [n[:-2] if n.endswith(";1") else n
              for n in listed_names(run(["isoinfo", "-J", "-j", "iso8859-1", "-l", "-i", image]).decode("latin-1"))]
    want_names = [f"{album}.mp3", f"{album}_1.mp3", f"{album}_2.mp3"]
    if sorted(joliet) != sorted(want_names):
        fail(f"Joliet names {joliet}, want {want_names}")
    primary = listed_names(run(["isoinfo", "-l", "-i", image]).decode("latin-1"))
    if len(set(primary)) != 3 or not all(re.fullmatch(r"[A-Z0-9_]{1,8}\.[A-Z0-9_]{0,3};1", n) for n in primary):
        fail(f"8.3 names {primary}")
    print(f"ISO {os.path.basename(image)}: {joliet} / {primary}")
    for i, name in enumerate(want_names):
        content = subprocess.run(["isoinfo", "-J", "-j", "iso8859-1", "-i", image, "-x", "/" + name],
                                 capture_output=True).stdout
        source = os.path.join(folder, f"recording{i}.mp3")
        if not os.path.exists(source) or content != open(source, "rb").read():
            fail(f"{name} on the disc differs from the tagged recording ({len(content)} bytes)")


def check_cue(folder, lengths):
    cues = sorted(glob.glob(os.path.join(folder, "*.cue")))
    if len(cues) != 1:
        fail(f"want one CUE sheet, found {cues}")
        return
    cue = cues[0]
    binf = cue[:-4] + ".bin"
    out = tempfile.mkdtemp(prefix="journey-")
    run(["bchunk", "-w", binf, cue, os.path.join(out, "track")])
    tracks = sorted(n for n in os.listdir(out) if n.endswith(".wav"))
    if len(tracks) != 3:
        fail(f"bchunk made {tracks}")
    for track, want in zip(tracks, lengths):
        size = os.path.getsize(os.path.join(out, track)) - 44
        seconds = size / 176400
        print(f"{track}: {seconds:.3f} s, mpg123 {want:.3f} s")
        if abs(seconds - want) > 0.1:
            fail(f"{track} lasts {seconds:.3f} s, the recording {want:.3f} s")
    for n in os.listdir(out):
        os.remove(os.path.join(out, n))
    os.rmdir(out)


def main():
    folder = sys.argv[1]
    try:
        album = open(os.path.join(folder, "journey.txt"), encoding="utf-8").read().split("=", 1)[1].strip()
    except (OSError, IndexError):
        print("no journey.txt: the journey did not get to its end")
        return 1
    lengths = check_recordings(folder, album)
    try:
        check_iso(folder, album)
        check_cue(folder, lengths)
    except subprocess.CalledProcessError as e:
        fail(f"{e}: {e.stdout.decode('latin-1', 'replace') if e.stdout else ''}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
