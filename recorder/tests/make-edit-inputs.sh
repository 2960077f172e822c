#!/usr/bin/env bash
# Native fixture step before edit_page_tests: the sound files the Edit page opens,
# made by the peer tools (the folder comes last).
#   tones.wav        three 12 s tones (440, 660, 880 Hz, half scale) with 2 s of
#                    digital silence between them, 44.1 kHz 16-bit stereo
#   tones8.wav       the same as 8-bit; tones_mono.wav as mono
#   tagged.mp3       5 s of 440 Hz from lame with an ID3v2 tag only
#   v1only.mp3       the same with an ID3v1 tag only
set -euo pipefail
dir="$1"
cd "$dir"
sox -D -n -r 44100 -c 2 -b 16 t1.wav synth 12 sine 440 vol 0.5
sox -D -n -r 44100 -c 2 -b 16 t2.wav synth 12 sine 660 vol 0.5
sox -D -n -r 44100 -c 2 -b 16 t3.wav synth 12 sine 880 vol 0.5
sox -D -n -r 44100 -c 2 -b 16 gap.wav trim 0 2
sox -D t1.wav gap.wav t2.wav gap.wav t3.wav tones.wav
sox -D tones.wav -b 8 tones8.wav
sox -D tones.wav -c 1 tones_mono.wav
sox -D -n -r 44100 -c 2 -b 16 five.wav synth 5 sine 440 vol 0.5
lame --quiet -b 128 --cbr --id3v2-only --tt "Edit Title" --ta "Edit Artist" --tl "Edit Album" --ty 2021 five.wav tagged.mp3
lame --quiet -b 128 --cbr --id3v1-only --tt "Old Title" --ta "Old Artist" --tl "Old Album" --ty 1999 five.wav v1only.mp3
rm -f t1.wav t2.wav t3.wav gap.wav five.wav
