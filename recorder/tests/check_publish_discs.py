#!/usr/bin/python3
"""Reads back the disc images of the publish dialog's runs with native tools.

disc-checks.txt in the fixture folder lists them, one per line:
  iso|<image>|<label>|<long name>/<long name>...   an MP3 CD: isoinfo reads the
      Joliet label and names and unique 8.3 names, xorriso extracts every file,
      mpg123 decodes each cleanly and mutagen reads its ID3v1 album
  cue|<cue sheet>|<source wav>/<source wav>...      an audio CD: bchunk -w gives
      each source's samples plus less than a sector of silence
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

# The disc libraries' own oracle reads WAV samples the same way.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "outside", "discwriter", "tests"))
from check_disc_images import wav_samples  # noqa: E402

failures = []


def run(args, **kw):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **kw).stdout


def names_of(listing):
    names = []
    for line in listing.splitlines():
        m = re.match(r"^[-d]\S{9}\s.*\]\s\s(.*)$", line)
        name = m.group(1).rstrip() if m else None
        if name and name not in (".", ".."):
            names.append(name[:-2] if name.endswith(";1") else name)
    return names


def check_iso(folder, image, label, longs):
    image = os.path.join(folder, image)
    with open(image, "rb") as f:
        f.seek(17 * 2048)
        svd = f.read(2048)
    joliet_label = svd[40:72].decode("utf-16-be").rstrip()
    if joliet_label != label[:16]:
        failures.append(f"{image}: Joliet label {joliet_label!r}, expected {label[:16]!r}")
    joliet = names_of(run(["isoinfo", "-J", "-j", "iso8859-1", "-l", "-i", image]).decode("latin-1"))
    if sorted(joliet) != sorted(longs):
        failures.append(f"{image}: Joliet names {joliet}, expected {longs}")
    primary = names_of(run(["isoinfo", "-l", "-i", image]).decode("latin-1"))
    if len(set(primary)) != len(longs) or not all(re.fullmatch(r"[A-Z0-9_]{1,8}\.[A-Z0-9_]{0,3}", n) for n in primary):
        failures.append(f"{image}: 8.3 names {primary}")
    out = tempfile.mkdtemp(prefix="publishoracle-")
    try:
        run(["xorriso", "-osirrox", "on", "-joliet", "on", "-indev", image, "-extract", "/", out])
        from mutagen.id3 import ID3
        for name in sorted(os.listdir(out)):
            path = os.path.join(out, name)
            test = subprocess.run(["mpg123", "-t", path], capture_output=True, text=True)
            bad = [l for l in test.stderr.splitlines() if any(w in l.lower() for w in ("error", "warn", "junk"))]
            if test.returncode != 0 or bad:
                failures.append(f"{name}: mpg123 rc={test.returncode} {bad[:2]}")
            album = str(ID3(path).get("TALB", ""))
            if album != label:
                failures.append(f"{name}: mutagen reads album {album!r}, expected {label!r}")
            print(f"ok {name}: decodes, album {album!r}")
    finally:
        shutil.rmtree(out, ignore_errors=True)


def check_cue(folder, cue, sources):
    cue = os.path.join(folder, cue)
    sheet = open(cue, encoding="latin-1").read()
    binf = os.path.join(folder, os.path.splitext(os.path.basename(cue))[0] + ".bin")
    out = tempfile.mkdtemp(prefix="publishoracle-")
    try:
        # The sheet names the image by its own name; read it beside the copy.
        local = os.path.join(out, "sheet.cue")
        open(local, "w", encoding="latin-1").write(re.sub(r'FILE "[^"]*"', 'FILE "' + binf + '"', sheet))
        run(["bchunk", "-w", binf, local, os.path.join(out, "track")])
        tracks = sorted(n for n in os.listdir(out) if n.endswith(".wav"))
        if len(tracks) != len(sources):
            failures.append(f"{cue}: bchunk made {tracks}")
        for source, track in zip(sources, tracks):
            want = wav_samples(os.path.join(folder, source))
            got = wav_samples(os.path.join(out, track))
            extra = got[len(want):]
            if got[:len(want)] != want:
                failures.append(f"{track} does not begin with the samples of {source}")
            elif len(extra) >= 588 * 4 or extra.strip(b"\0"):
                failures.append(f"{track}: {len(extra) // 4} frames after {source}'s samples")
            print(f"ok {track} = {source} + {len(extra) // 4} zero frames")
    finally:
        shutil.rmtree(out, ignore_errors=True)


def main():
    folder = sys.argv[1]
    try:
        lines = open(os.path.join(folder, "disc-checks.txt"), encoding="utf-8").read().splitlines()
    except OSError:
        print("no images listed: the Wine test program wrote none")
        return 1
    for line in lines:
        kind, *fields = line.split("|")
        try:
            if kind == "iso":
                check_iso(folder, fields[0], fields[1], fields[2].split("/"))
            elif kind == "cue":
                check_cue(folder, fields[0], fields[1].split("/"))
        except (subprocess.CalledProcessError, OSError, ValueError) as e:
            failures.append(f"{line}: {e} {getattr(e, 'stdout', b'') or b''!r}")
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
