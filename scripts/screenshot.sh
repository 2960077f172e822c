#!/usr/bin/env bash
# screenshot.sh OUT.png [PID...]: a picture of the top-level windows on $DISPLAY,
# each read from its own X window (xwd -id) and laid over the others in stacking
# order, so owned dialogs, menus, message boxes and tips show their real pixels
# (a capture of the root window shows those as black rectangles here).
# With PIDs only the windows of those processes (Wine's _NET_WM_PID) are taken.
# The picture is cut to the windows' bounding box; SONELLE_SHOT_SCREEN=1 keeps
# the whole screen. Needs xwininfo, xprop, xwd and ImageMagick's convert.
set -euo pipefail
if [ $# -lt 1 ] || [ -z "${DISPLAY:-}" ]; then
  echo "usage: DISPLAY=:N screenshot.sh OUT.png [PID...]" >&2
  exit 2
fi
out="$1"; shift
pids=" $* "
convert=/usr/bin/convert; [ -x "$convert" ] || convert=convert
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

read -r screen_w screen_h < <(xwininfo -root | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}')
args=()
min_x=$screen_w; min_y=$screen_h; max_x=0; max_y=0; n=0
# Children of the root; xwininfo lists the top of the stack first.
for id in $(xwininfo -root -children | awk '/^ +0x[0-9a-f]+ / {print $1}' | tac); do
  info="$(xwininfo -id "$id" 2>/dev/null)" || continue
  grep -q "Map State: IsViewable" <<<"$info" || continue
  if [ "$pids" != "  " ]; then
    pid="$(xprop -id "$id" _NET_WM_PID 2>/dev/null | awk '{print $NF}')"
    [[ "$pids" == *" $pid "* ]] || continue
  fi
  read -r x y w h < <(awk '/Absolute upper-left X:/ {x=$NF} /Absolute upper-left Y:/ {y=$NF}
                           /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}' <<<"$info")
  [ "$w" -gt 1 ] && [ "$h" -gt 1 ] || continue
  xwd -id "$id" -silent >"$work/$n.xwd" 2>/dev/null || continue
  args+=("xwd:$work/$n.xwd" -geometry "+$x+$y" -composite)
  (( x < min_x )) && min_x=$x; (( y < min_y )) && min_y=$y
  (( x + w > max_x )) && max_x=$((x + w)); (( y + h > max_y )) && max_y=$((y + h))
  n=$((n + 1))
done
if [ "$n" -eq 0 ]; then
  echo "screenshot: no window to take on $DISPLAY${pids:+ for pids$pids}" >&2
  exit 1
fi
crop=()
if [ "${SONELLE_SHOT_SCREEN:-0}" != 1 ]; then
  (( min_x < 0 )) && min_x=0; (( min_y < 0 )) && min_y=0
  crop=(-crop "$((max_x - min_x))x$((max_y - min_y))+$min_x+$min_y" +repage)
fi
"$convert" -size "${screen_w}x${screen_h}" xc:'#404040' "${args[@]}" "${crop[@]}" "$out"
echo "screenshot: $n window(s) -> $out"
