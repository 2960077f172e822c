#!/usr/bin/python3
"""Native fixture step before engine_tests: MP3 files made by the peer tools.

  lame_180s.mp3        180 s of a 440 Hz tone from sox, encoded by lame (CBR 128)
  lame_bigtag.mp3      5 s from lame, with an ID3v2.3 tag holding a 200 KB picture
  mutagen_*.mp3        5 s from lame, tagged by mutagen (2.3 and 2.4, several text
                       encodings, a picture, an ID3v1 tag); expected.txt lists the
                       fields mutagen wrote, one file per line: name|title|artist|album|year|track
"""
import os
import subprocess
import sys

from mutagen.id3 import APIC, COMM, ID3, TALB, TCON, TDRC, TIT2, TPE1, TRCK, TYER, Encoding

folder = sys.argv[1]


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def tone(name, seconds, hz=440):
    wav = os.path.join(folder, name + ".wav")
    run("sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", str(seconds), "sine", str(hz), "vol", "0.5")
    mp3 = os.path.join(folder, name + ".mp3")
    run("lame", "--quiet", "-b", "128", "--cbr", wav, mp3)
    os.remove(wav)
    return mp3


tone("lame_180s", 180)
base = tone("lame_base", 5)
data = open(base, "rb").read()

big = os.path.join(folder, "lame_bigtag.mp3")
open(big, "wb").write(data)
tag = ID3()
tag.add(TIT2(encoding=Encoding.UTF16, text="Big picture"))
tag.add(APIC(encoding=Encoding.LATIN1, mime="image/png", type=3, desc="cover",
             data=(b"\xff\xfb\x90\x64" + bytes(range(256)) * 800)[:200 * 1024]))
tag.save(big, v2_version=3)

cases = [
    ("mutagen_v23_latin1", 3, Encoding.LATIN1, "Caf\u00e9 Title", "Artist \u00c5", "Album", 1999, "7/12", False, False),
    ("mutagen_v23_utf16", 3, Encoding.UTF16, "Tr\u00e4ume \u4e2d\u6587", "K\u00fcnstler", "Sammlung", 2004, "3", True, False),
    ("mutagen_v24_utf8", 4, Encoding.UTF8, "\u65e5\u672c\u8a9e \u00e9t\u00e9", "Art\u00efst", "Alb\u00fcm", 2012, "11/20", False, True),
    ("mutagen_v24_utf16be", 4, Encoding.UTF16BE, "Big Endian \u03a9", "\u0416 Artist", "\u00c6 Album", 2020, "2", True, True),
    ("mutagen_v24_utf16", 4, Encoding.UTF16, "Plain", "Someone", "Something", 1987, "5", False, False),
]
with open(os.path.join(folder, "expected.txt"), "w", encoding="utf-8") as expected:
    for name, version, enc, title, artist, album, year, track, picture, v1 in cases:
        path = os.path.join(folder, name + ".mp3")
        open(path, "wb").write(data)
        tag = ID3()
        tag.add(TIT2(encoding=enc, text=title))
        tag.add(TPE1(encoding=enc, text=artist))
        tag.add(TALB(encoding=enc, text=album))
        tag.add(TRCK(encoding=enc, text=track))
        tag.add(TCON(encoding=enc, text="(17)"))
        tag.add(COMM(encoding=enc, lang="eng", desc="", text="a comment"))
        if version == 3:
            tag.add(TYER(encoding=enc, text=str(year)))
        else:
            tag.add(TDRC(encoding=enc, text=str(year)))
        if picture:
            tag.add(APIC(encoding=Encoding.LATIN1, mime="image/jpeg", type=3, desc="",
                         data=b"\xff\xd8\xff\xfb" + os.urandom(30000)))
        tag.save(path, v2_version=version, v1=2 if v1 else 0)
        expected.write(f"{name}.mp3|{title}|{artist}|{album}|{year}|{track.split('/')[0]}\n")
os.remove(base)
