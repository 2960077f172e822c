#!/usr/bin/env bash
# Wine sandbox control: `sandbox.sh start` makes the prefix once (null graphics
# driver before its first real use, desktop integration off), then starts a
# resident wineserver and a private PulseAudio with two null sinks (monitoring
# output, capture feed) and the test signal feed, and small volumes U:, V: and W:
# that tests fill up (full-disk tests); `sandbox.sh stop` ends them. Set SONELLE_GRAPHICS=x11 for a prefix that draws on $DISPLAY.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

graphics="${SONELLE_GRAPHICS:-null}"

start_pulse() {
  mkdir -p "$PULSE_DIR/home" "$PULSE_DIR/runtime" "$PULSE_DIR/config"
  chmod 700 "$PULSE_DIR/runtime"
  local penv=(env HOME="$PULSE_DIR/home" XDG_RUNTIME_DIR="$PULSE_DIR/runtime" XDG_CONFIG_HOME="$PULSE_DIR/config")
  if ! PULSE_SERVER="$PULSE_SERVER" pactl info >/dev/null 2>&1; then
    rm -f "$PULSE_DIR/native"
    "${penv[@]}" pulseaudio -n --daemonize=yes --exit-idle-time=-1 --disallow-exit \
       --log-target=file:"$PULSE_DIR/pulse.log" \
       -L "module-native-protocol-unix socket=$PULSE_DIR/native auth-anonymous=1" \
       -L "module-null-sink sink_name=nullout sink_properties=device.description=Sonelle_Monitor_Out" \
       -L "module-null-sink sink_name=capturefeed sink_properties=device.description=Sonelle_Capture_Feed" \
       >/dev/null 2>&1 || true
    for _ in $(seq 50); do
      pactl info >/dev/null 2>&1 && break
      sleep 0.1
    done
  fi
  # Monitoring plays into "nullout"; capture reads the monitor of "capturefeed",
  # which signal-feed.sh keeps fed with a known pattern (tests check recordings).
  pactl set-default-sink nullout >/dev/null 2>&1 || true
  pactl set-default-source capturefeed.monitor >/dev/null 2>&1 || true
  "$(dirname "${BASH_SOURCE[0]}")/signal-feed.sh" start
}

make_prefix() {
  [ -f "$WINEPREFIX/.sonelle-ready" ] && return
  rm -rf "$WINEPREFIX"; mkdir -p "$WINEPREFIX" "$XDG_DATA_HOME"
  echo "sandbox: creating Wine prefix $WINEPREFIX ($graphics graphics)"
  DISPLAY= wine wineboot -i >"$SONELLE_RUN/wineboot.log" 2>&1 || true
  wineserver -w
  local reg="$SONELLE_RUN/settings.reg"
  {
    echo 'REGEDIT4'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Drivers]'
    echo "\"Graphics\"=\"$graphics\""
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\DllOverrides]'
    echo '"winemenubuilder.exe"=""'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
    echo '"Managed"="N"'
    echo '"Decorated"="N"'
    echo
    # As on a Windows installation: "Check your computer spec" finds the tool here.
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSInfo]'
    echo '"Path"="C:\\windows\\system32\\msinfo32.exe"'
  } >"$reg"
  DISPLAY= wine regedit /S "$(wine winepath -w "$reg" 2>/dev/null | tr -d '\r')" >>"$SONELLE_RUN/wineboot.log" 2>&1
  wineserver -w
  touch "$WINEPREFIX/.sonelle-ready"
}

# Caption buttons, menu checks and scroll arrows draw with Marlett; without it
# they show letters ("r" for the close box). fonts-wine installs Wine's copy
# under Wine's own fonts folder on Debian; older layouts used the truetype tree.
caption_font() {
  local font
  [ -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] && return
  for font in /usr/share/wine/fonts/marlett.ttf /usr/share/fonts/truetype/wine/marlett.ttf; do
    if [ -f "$font" ]; then
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/" && return
    fi
  done
  echo "sandbox: marlett.ttf not found (fonts-wine); caption buttons will show letters" >&2
}

# Wine links the profile's Documents, Desktop, Music... to the Unix home; keep them
# inside the prefix so sandboxes never share files such as the programs' logs.
private_profile() {
  local d
  for d in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$d" ]; then rm -f "$d"; mkdir -p "$d"; fi
  done
}

# Tiny tmpfs volumes as drives U:, V: and W: (one per test program that fills a
# disk, so programs running side by side never share one), and R:, a little
# larger than the 51,200 KB every recording leaves free (the recorder's disk-reserve
# stop). Needs the right to mount; without it the drives are missing and the
# full-disk tests skip.
small_volumes() {
  local letter size dir
  for letter in u:512k v:512k w:512k r:57344k; do
    size="${letter#*:}"; letter="${letter%%:*}"
    dir="$SONELLE_RUN/volume-$letter"
    mkdir -p "$dir"
    mountpoint -q "$dir" || mount -t tmpfs -o size=$size,mode=0777 tmpfs "$dir" 2>/dev/null || continue
    ln -sfn "$dir" "$WINEPREFIX/dosdevices/$letter:"
  done
}

unmount_small_volumes() {
  local letter dir
  for letter in u v w r; do
    dir="$SONELLE_RUN/volume-$letter"
    rm -f "$WINEPREFIX/dosdevices/$letter:"
    mountpoint -q "$dir" 2>/dev/null && umount "$dir" 2>/dev/null || true
  done
}

case "${1:-start}" in
  start)
    mkdir -p "$SONELLE_RUN" "$XDG_DATA_HOME"
    start_pulse
    make_prefix
    caption_font
    private_profile
    small_volumes
    wineserver -p 2>/dev/null || true   # already resident is fine
    # Bring up Wine's own services with output to a file, never to a pipe.
    wine cmd /c exit >"$SONELLE_RUN/warmup.log" 2>&1 </dev/null || true
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    "$(dirname "${BASH_SOURCE[0]}")/signal-feed.sh" stop
    unmount_small_volumes
    pkill -f "socket=$PULSE_DIR/native" 2>/dev/null || true
    ;;
  *) echo "usage: sandbox.sh start|stop" >&2; exit 2 ;;
esac
