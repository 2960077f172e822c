#!/usr/bin/python3
"""The sandbox's capture signal, written to stdout as raw 44.1 kHz 16-bit stereo
for pacat: a pattern looped without gaps. The pattern is chosen by the control
file given as the first argument ("standard" or "album"); every rewrite of that
file starts the chosen pattern again from its beginning, so a test can line the
signal up with the moment it starts recording.

standard: 1.0 s of 1000 Hz at half scale, then 0.5 s of silence.
album:    2 s of silence and 12 s of 440 Hz, then the same with 660 Hz and with
          880 Hz, at about -12 dBFS (42 s).
"""
import fcntl
import os
import subprocess
import sys

RATE = 44100
CHUNK = RATE // 50          # 20 ms of frames per write


def sox(*effects):
    """Raw samples made by sox (the same generator the feed always used)."""
    return subprocess.run(["sox", "-q", "-D", "-n", "-r", str(RATE), "-c", "2", "-b", "16", "-e", "signed-integer",
                           "-t", "raw", "-", "synth"] + list(effects), capture_output=True, check=True).stdout


def pattern(mode, made={}):
    """Each pattern is made once, when it is first asked for."""
    if mode not in made:
        if mode == "album":
            level = "%.4f" % (10 ** (-12 / 20))
            made[mode] = b"".join(sox("12.0", "sine", str(hz), "vol", level, "pad", "2", "0") for hz in (440, 660, 880))
        else:
            made[mode] = sox("1.0", "sine", "1000", "vol", "0.5", "pad", "0", "0.5")
    return made[mode]


def read_mode(path):
    try:
        with open(path) as f:
            mode = f.read().strip()
    except OSError:
        mode = ""
    return mode if mode in ("standard", "album") else "standard"


def stamp(path):
    try:
        st = os.stat(path)
        return (st.st_mtime_ns, st.st_size, st.st_ino)
    except OSError:
        return None


def main():
    control = sys.argv[1]
    out = sys.stdout.buffer
    # A short pipe keeps a restart heard within a few chunks.
    try:
        fcntl.fcntl(out.fileno(), fcntl.F_SETPIPE_SZ, 16384)
    except (AttributeError, OSError):
        pass
    seen = stamp(control)
    sound = pattern(read_mode(control))
    pos = 0
    step = CHUNK * 4
    while True:
        now = stamp(control)
        if now != seen:
            seen = now
            sound = pattern(read_mode(control))
            pos = 0
        piece = sound[pos:pos + step]
        if len(piece) < step:
            piece += sound[:step - len(piece)]
        pos = (pos + step) % len(sound)
        out.write(piece)
        out.flush()


if __name__ == "__main__":
    try:
        main()
    except (BrokenPipeError, KeyboardInterrupt):
        pass
