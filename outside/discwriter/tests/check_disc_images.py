#!/usr/bin/python3
"""Reads back the disc images of the Wine step with native tools.

Data discs: isoinfo -d (volume ids; Joliet's straight from sector 17),
isoinfo -J -l (Joliet names), isoinfo -l (unique 8.3 names) and
xorriso -extract (contents equal the sources). Audio discs: bchunk -w (each
track is its source's samples plus less than a sector of silence) and
cdrdao show-toc (two-second pregaps before tracks 2 and 3).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

FORBIDDEN = set('*/:;?\\')
failures = []


def fail(case, message):
    failures.append(f"{case}: {message}")


def run(args, **kw):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **kw).stdout


def read_manifest(case_dir):
    rows = []
    with open(os.path.join(case_dir, "manifest.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line:
                rows.append(line.split("\t"))
    return rows


def d_chars(text):
    return "".join(c if re.match(r"[A-Z0-9_]", c) else "_" for c in text.upper())


def listed_names(listing):
    # isoinfo -l lines end with the name after the date fields: "... [ 29 02]  NAME.MP3;1"
    names = []
    for line in listing.splitlines():
        m = re.match(r"^[-d]\S{9}\s.*\]\s\s(.*)$", line)
        name = m.group(1).rstrip() if m else None
        if name and name not in (".", ".."):
            names.append(name)
    return names


def check_data(case, case_dir):
    image = os.path.join(case_dir, "img", "DataDisc001.iso")
    rows = read_manifest(case_dir)
    label = open(os.path.join(case_dir, "label.txt"), encoding="utf-8").read()

    info = run(["isoinfo", "-d", "-i", image]).decode("latin-1")
    vol = re.search(r"^Volume id: (.*)$", info, re.M)
    if not vol or vol.group(1).rstrip() != d_chars(label)[:32]:
        fail(case, f"primary volume id {vol.group(1) if vol else None!r}, want {d_chars(label)!r}")
    if "Joliet with UCS level 3 found" not in info:
        fail(case, "no Joliet level 3 descriptor: " + info)
    with open(image, "rb") as f:
        f.seek(17 * 2048)
        svd = f.read(2048)
    joliet_label = svd[40:72].decode("utf-16-be").rstrip()
    if svd[0] != 2 or svd[88:91] != b"%/E" or joliet_label != label:
        fail(case, f"Joliet volume id {joliet_label!r}, want {label!r}")

    joliet = [n[:-2] if n.endswith(";1") else n for n in listed_names(
        run(["isoinfo", "-J", "-j", "iso8859-1", "-l", "-i", image]).decode("latin-1"))]
    primary = listed_names(run(["isoinfo", "-l", "-i", image]).decode("latin-1"))
    if len(joliet) != len(rows) or len(set(n.lower() for n in joliet)) != len(rows):
        fail(case, f"Joliet names not one unique name per file: {joliet}")
    if len(primary) != len(rows) or len(set(primary)) != len(rows):
        fail(case, f"primary names not unique: {primary}")
    for name in primary:
        if not re.fullmatch(r"[A-Z0-9_]{1,8}\.[A-Z0-9_]{0,3};1", name):
            fail(case, f"primary name {name!r} is not 8.3 of d-characters")
    for name in joliet:
        if len(name) > 64 or any(c in FORBIDDEN or ord(c) < 32 for c in name):
            fail(case, f"Joliet name {name!r} too long or holds a forbidden character")

    out = tempfile.mkdtemp(prefix="discoracle-")
    try:
        run(["xorriso", "-osirrox", "on", "-joliet", "on", "-indev", image, "-extract", "/", out])
        extracted = {n: open(os.path.join(out, n), "rb").read() for n in os.listdir(out)}
    finally:
        shutil.rmtree(out, ignore_errors=True)
    if sorted(extracted) != sorted(joliet):
        fail(case, f"xorriso extracted {sorted(extracted)}, isoinfo lists {sorted(joliet)}")
    by_content = {content: name for name, content in extracted.items()}
    for source, long_name, _short in rows:
        content = open(os.path.join(case_dir, "src", source), "rb").read()
        name = by_content.get(content)
        if name is None:
            fail(case, f"{source} ({long_name!r}) not on the disc with its content")
            continue
        want = "".join("_" if c in FORBIDDEN else c for c in long_name)
        stem, dot, ext = want.rpartition(".")
        if len(want) <= 64:
            ok = name == want
        else:   # cut to 64 keeping the extension
            ok = len(name) == 64 and name.endswith(dot + ext) and want.startswith(name[: 64 - len(dot + ext)])
        if not ok:
            fail(case, f"{long_name!r} is on the disc as {name!r}")


def wav_samples(path):
    data = open(path, "rb").read()
    at = 12
    while at + 8 <= len(data):
        tag, size = data[at:at + 4], int.from_bytes(data[at + 4:at + 8], "little")
        if tag == b"data":
            return data[at + 8:at + 8 + size]
        at += 8 + size + (size & 1)
    raise ValueError("no data chunk in " + path)


def check_audio(case, case_dir):
    cue = os.path.join(case_dir, "img", "AudioDisc001.cue")
    binf = os.path.join(case_dir, "img", "AudioDisc001.bin")
    sources = [row[0] for row in read_manifest(case_dir)]
    out = tempfile.mkdtemp(prefix="discoracle-")
    try:
        run(["bchunk", "-w", binf, cue, os.path.join(out, "track")])
        tracks = sorted(n for n in os.listdir(out) if n.endswith(".wav"))
        if len(tracks) != len(sources):
            fail(case, f"bchunk made {tracks}")
        for source, track in zip(sources, tracks):
            want = wav_samples(os.path.join(case_dir, "src", source))
            got = wav_samples(os.path.join(out, track))
            extra = got[len(want):]
            if got[:len(want)] != want:
                fail(case, f"{track} does not begin with the samples of {source}")
            elif len(extra) >= 588 * 4 or extra.strip(b"\0"):
                fail(case, f"{track} carries {len(extra) // 4} frames after {source}'s samples (want < 588 of silence)")
            print(f"{case}: {track} = {source} + {len(extra) // 4} zero frames")
    finally:
        shutil.rmtree(out, ignore_errors=True)
    toc = run(["cdrdao", "show-toc", os.path.basename(cue)], cwd=os.path.dirname(cue)).decode("latin-1", "replace")
    blocks = re.split(r"^TRACK\s+\d+\s+Mode AUDIO", toc, flags=re.M)[1:]
    if len(blocks) != len(sources):
        fail(case, "cdrdao lists %d tracks:\n%s" % (len(blocks), toc))
    for number, block in enumerate(blocks, 1):
        pregap = re.search(r"^\s*(PREGAP)\s+(\d\d:\d\d:\d\d)", block, re.M)
        if number == 1 and pregap:
            fail(case, f"track 1 has a pregap: {pregap.group(0)}")
        if number > 1 and (not pregap or pregap.group(2) != "00:02:00"):
            fail(case, f"track {number} pregap {pregap.group(0) if pregap else None}, want 00:02:00")


def main():
    root = sys.argv[1]
    cases = sorted(os.listdir(root)) if os.path.isdir(root) else []
    if not cases:
        print("no images under " + root)
        return 1
    for case in cases:
        case_dir = os.path.join(root, case)
        try:
            (check_audio if case.startswith("audio") else check_data)(case, case_dir)
        except (subprocess.CalledProcessError, OSError, ValueError) as e:
            output = getattr(e, "stdout", b"") or b""
            fail(case, f"{e} {output.decode('latin-1', 'replace')}")
        print(f"{case}: checked")
    for f in failures:
        print("FAIL " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
