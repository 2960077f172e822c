# Sourced by the other scripts: paths and the Wine environment of one sandbox.
# A sandbox is a Wine prefix with its own wineserver, PulseAudio and data folders,
# so that several builds can test side by side (SONELLE_SANDBOX=name).
SONELLE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SONELLE_SANDBOX="${SONELLE_SANDBOX:-main}"

# The suite is built as 32-bit Windows programs. Some machines cannot execute
# 32-bit code at all (their Wine loader fails with "Exec format error"); there the
# same sources are built for x86-64 and run by Wine's 64-bit loader instead. The
# kernel is asked, not the 32-bit Wine: a fresh machine has none until setup.sh
# has run, and its first build must already be the one later runs use.
if [ -z "${SONELLE_ARCH:-}" ]; then
  source "$(dirname "${BASH_SOURCE[0]}")/runs-32bit-code.sh"
  if runs_32bit_code; then SONELLE_ARCH=i686; else SONELLE_ARCH=x86_64; fi
fi
export SONELLE_ARCH
SONELLE_RUN="$SONELLE_ROOT/.run/$SONELLE_ARCH-$SONELLE_SANDBOX"
SONELLE_BUILD="${SONELLE_BUILD:-$SONELLE_ROOT/build/$SONELLE_ARCH}"

export WINEPREFIX="$SONELLE_RUN/prefix"
if [ "$SONELLE_ARCH" = i686 ]; then
  export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
else
  export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
fi
wine() { "$WINELOADER" "$@"; }
wineserver() { "$WINESERVER" "$@"; }
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# C.UTF-8 gives Wine the ANSI code page 1252, which the log and path tests expect.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export PULSE_DIR="$SONELLE_RUN/pulse"
export PULSE_SERVER="unix:$PULSE_DIR/native"
# The recycle bin of shell deletions is the Unix trash under XDG_DATA_HOME.
export XDG_DATA_HOME="$SONELLE_RUN/xdg-data"

# Registers every filter module of the build in the prefix, as an installer would
# (regsvr32's output goes to the file named, /dev/null without one).
register_filter_modules() {
  local module
  for module in "$SONELLE_BUILD"/bin/*.ax; do
    [ -f "$module" ] || continue
    wine regsvr32 /s "$(wine winepath -w "$module" 2>/dev/null | tr -d '\r')" >>"${1:-/dev/null}" 2>&1 </dev/null || true
  done
}
