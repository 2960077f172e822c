#!/usr/bin/env bash
# Makes the player tests' sound files with sox and lame (native test oracles):
# tones, a tone under white noise, an MP3, a name with blanks and broken files.
set -euo pipefail
out="$1"
mkdir -p "$out"
cd "$out"
fmt=(-r 44100 -c 2 -b 16)
sox -n "${fmt[@]}" tone440.wav synth 2 sine 440 vol 0.5
cp tone440.wav "tone 440 with blanks.wav"
sox -n "${fmt[@]}" tone660.wav synth 2 sine 660 vol 0.5
lame --quiet -b 192 tone660.wav tone660.mp3
rm -f tone660.wav
# Mixed at full volume each (sox -m would halve both): the tone at half scale,
# the noise at a tenth.
sox -n "${fmt[@]}" noise-tone.wav synth 3 sine 440 vol 0.5
sox -n "${fmt[@]}" noise-white.wav synth 3 whitenoise vol 0.1
sox -m -v 1 noise-tone.wav -v 1 noise-white.wav noisy440.wav
rm -f noise-tone.wav noise-white.wav
printf 'This is a text file, not a sound.\r\n' > "text named.wav"
head -c 30 tone440.wav > "cut header.wav"
