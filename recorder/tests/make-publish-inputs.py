#!/usr/bin/python3
"""Native fixture step before the publish dialog's tests: one MP3 from lame with
an ID3v2.3 tag by mutagen (title "Tagged Title", album "Tagged Album", year 2001),
as a/song.mp3 and b/song.mp3 (two sources of one name); the same sound with an
ID3v2.3 tag that has no title (album "Untitled Album") as c/tune.mp3 and d/tune.mp3."""
import os
import shutil
import subprocess
import sys

from mutagen.id3 import ID3, TALB, TIT2, TYER, Encoding

folder = sys.argv[1]
wav = os.path.join(folder, "song.wav")
mp3 = os.path.join(folder, "song.mp3")
subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "5", "sine", "440", "vol", "0.5"],
               check=True)
subprocess.run(["lame", "--quiet", "-b", "128", "--cbr", wav, mp3], check=True)
os.remove(wav)
tag = ID3()
tag.add(TIT2(encoding=Encoding.UTF16, text="Tagged Title"))
tag.add(TALB(encoding=Encoding.UTF16, text="Tagged Album"))
tag.add(TYER(encoding=Encoding.LATIN1, text="2001"))
tag.save(mp3, v2_version=3)
for sub in ("a", "b"):
    os.makedirs(os.path.join(folder, sub), exist_ok=True)
    shutil.copy(mp3, os.path.join(folder, sub, "song.mp3"))
untitled = ID3()
untitled.add(TALB(encoding=Encoding.UTF16, text="Untitled Album"))
untitled.save(mp3, v2_version=3)
for sub in ("c", "d"):
    os.makedirs(os.path.join(folder, sub), exist_ok=True)
    shutil.copy(mp3, os.path.join(folder, sub, "tune.mp3"))
os.remove(mp3)
