#!/usr/bin/env bash
# Shows the starter under Xvfb and keeps a picture of each of its windows as PNG
# files in $SONELLE_BUILD/starter-tour/: the repair tool's report (a component
# registered from another folder), the starter, its help menu and its About box.
# The starter runs from a small installation of its own, as a user's would.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/picture-sandbox.sh"
display="${SONELLE_TOUR_DISPLAY:-}"   # empty: a free display number
bin="$SONELLE_BUILD/bin"
out="$SONELLE_BUILD/starter-tour"
install="$out/install"
rm -rf "$out"
mkdir -p "$install"

start_picture_sandbox "$display"

for file in SonelleStarter.exe NVFilterChecker.dll kelvro.exe NVAudioAnalyer.ax SonelleDriver.exe; do
  cp "$bin/$file" "$install/"
done
# The analyzer is listed, but registered from the build folder: the starter
# starts the repair tool, which registers it again from the installation.
printf '[name] "NVAudioAnalyer.ax" [type] "filter" [guid] "{0E558951-6D30-4530-30EC-3F15777FBBE1}"\r\n' \
  >"$install/kelvrodata.bin"
wine regsvr32 /s "$(wine winepath -w "$bin/NVAudioAnalyer.ax" 2>/dev/null | tr -d '\r')" >/dev/null 2>&1 </dev/null
# Without "AppPath" the starter's own folder is the installation.
wine reg delete 'HKLM\software\Norvane\NV Sonelle' /v AppPath /f >/dev/null 2>&1 </dev/null || true
wine reg delete 'HKLM\software\Norvane\NV Sonelle' /v LanuchName /f >/dev/null 2>&1 </dev/null || true

drv() { wine "$install/SonelleDriver.exe" "$@" 2>/dev/null </dev/null | tr -d '\r'; }
# Every top-level window with its own pixels (owned dialogs and menus included).
shot() { "$here/screenshot.sh" "$out/$1.png"; }

wine "$install/SonelleStarter.exe" >"$out/starter.log" 2>&1 </dev/null &
starter=$(drv window '#32770' 'Norvane Sonelle 2.0 Starter' 30000)
repair=$(drv window '#32770' 'Sonelle component repair' 60000)
sleep 1
shot 1-repair
drv answer 1 10000 >/dev/null
sleep 1
shot 2-starter
drv click "$starter" 1002
sleep 1
shot 3-help-menu
menu=$(drv window '#32768' '' 5000) && drv key "$menu" 27 >/dev/null
sleep 1
drv command "$starter" 32780
about=$(drv window '#32770' 'Norvane Sonelle 2.0' 10000)
sleep 1
shot 4-about
drv click "$about" 1
sleep 1
drv click "$starter" 1
rm -rf "$install"
ls "$out"/*.png
