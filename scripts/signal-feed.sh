#!/usr/bin/env bash
# The known test signal on the capture device: `signal-feed.sh start` plays, in a
# loop, 1.0 s of a 1000 Hz sine at half full scale followed by 0.5 s of silence
# into the null sink "capturefeed", whose monitor is the sandbox's capture source;
# `signal-feed.sh stop` ends the feed. Small pacat latency keeps wave-in and
# DirectSound capture flowing (at the default latency DirectSound capture stalls).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
pidfile="$SONELLE_RUN/signal-feed.pid"

running() { [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; }

case "${1:-start}" in
  start)
    running && exit 0
    mkdir -p "$SONELLE_RUN"
    # Own process group, so that stop ends sox and pacat together by its id; a
    # raised priority keeps the feed free of gaps on a busy machine (root only).
    prio=(); [ "$(id -u)" = 0 ] && prio=(nice -n -10)
    setsid "${prio[@]}" bash -c 'sox -q -D -n -r 44100 -c 2 -b 16 -e signed-integer -t raw - \
                      synth 1.0 sine 1000 vol 0.5 pad 0 0.5 repeat - 2>/dev/null |
                    pacat -p -d capturefeed --latency-msec=20 --rate=44100 \
                      --channels=2 --format=s16le' \
      >"$SONELLE_RUN/signal-feed.log" 2>&1 </dev/null &
    echo $! >"$pidfile"
    ;;
  stop)
    if running; then kill -- -"$(cat "$pidfile")" 2>/dev/null || true; fi
    rm -f "$pidfile"
    ;;
  *) echo "usage: signal-feed.sh start|stop" >&2; exit 2 ;;
esac
