#!/usr/bin/env bash
# The known test signal on the capture device, played in a loop into the null sink
# "capturefeed", whose monitor is the sandbox's capture source:
#   signal-feed.sh start          1.0 s of a 1000 Hz sine at half full scale, then
#                                 0.5 s of silence
#   signal-feed.sh start album    2 s of silence and 12 s of 440 Hz, then the same
#                                 with 660 Hz and 880 Hz, at about -12 dBFS (42 s)
#   signal-feed.sh stop           ends the feed
# The pattern follows the control file $SONELLE_RUN/signal-feed.ctl ("standard" or
# "album"): writing it, from here or from a Windows test (Z: plus the Unix path),
# switches the pattern and starts it again from its beginning. Small pacat latency
# keeps wave-in and DirectSound capture flowing (at the default latency
# DirectSound capture stalls).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
pidfile="$SONELLE_RUN/signal-feed.pid"
control="$SONELLE_RUN/signal-feed.ctl"

running() { [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; }

case "${1:-start}" in
  start)
    mkdir -p "$SONELLE_RUN"
    mode="${2:-standard}"
    case "$mode" in standard|album) ;; *) echo "signal-feed.sh: unknown pattern $mode" >&2; exit 2 ;; esac
    echo "$mode" >"$control"
    running && exit 0
    # Own process group, so that stop ends the generator and pacat together by its
    # id; a raised priority keeps the feed free of gaps on a busy machine (root only).
    prio=(); [ "$(id -u)" = 0 ] && prio=(nice -n -10)
    setsid "${prio[@]}" bash -c '/usr/bin/python3 "$0" "$1" |
                    pacat -p -d capturefeed --latency-msec=20 --rate=44100 \
                      --channels=2 --format=s16le' "$here/signal-feed.py" "$control" \
      >"$SONELLE_RUN/signal-feed.log" 2>&1 </dev/null &
    echo $! >"$pidfile"
    ;;
  stop)
    if running; then kill -- -"$(cat "$pidfile")" 2>/dev/null || true; fi
    rm -f "$pidfile"
    ;;
  *) echo "usage: signal-feed.sh start [standard|album] | stop" >&2; exit 2 ;;
esac
