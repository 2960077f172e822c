#!/usr/bin/env bash
# Start-up benchmark: the starter, the wizard and the recorder from their start
# until their window is up and answering, next to a bare dialog program under the
# same Wine (the floor no program can beat). Two cases, each in interleaved rounds
# (the order turns by one each round), best and median:
# - warm: Wine's server and desktop are running; timed from CreateProcess
#   (target: median under 1 s);
# - cold: Wine's server and desktop are stopped before each start; timed from the
#   `wine` command to the answer, the start of Wine's desktop included (target:
#   median under 1.5 s).
# Then one logged start of each program prints its start-up steps (milliseconds
# since its process was created). Prints figures; it is not a test.
# Usage: scripts/bench-startup.sh [rounds] [cold-rounds]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
source "$here/bench-common.sh"
rounds="${1:-7}"
cold_rounds="${2:-5}"
"$here/build.sh" >/dev/null
work="$SONELLE_RUN/bench-startup"
mkdir -p "$work"
bench_load start

"$here/sandbox.sh" start >/dev/null 2>&1 || true
trap '"$here/sandbox.sh" stop' EXIT
register_filter_modules
bin="$(bench_winpath "$SONELLE_BUILD/bin")"
names=(bare starter wizard recorder)
exes=(BareDialog.exe SonelleStarter.exe SonelleWiz.exe Sonelle.exe)

one_start() {  # index [log file]: seconds, and the Unix time of the answer
  local logging=()
  [ -n "${2:-}" ] && logging=(--log "$2")
  wine "$SONELLE_BUILD/bin/StartupBench.exe" "${logging[@]}" "$bin\\${exes[$1]}" ${2:+/NV_Log} >"$work/one.txt" 2>&1 </dev/null ||
    { echo "${names[$1]}: $(cat "$work/one.txt")" >&2; exit 1; }
  awk '$1 == "up" { print $2, $4 }' "$work/one.txt"
}
# The first start of each registers what the prefix lacks and fills the caches.
for i in 0 1 2 3; do one_start "$i" >/dev/null; done

declare -A warm cold
for round in $(seq "$rounds"); do
  for k in 0 1 2 3; do
    i=$(((k + round) % 4))
    read -r t _ <<<"$(one_start "$i")"
    warm[$i]="${warm[$i]:-} $t"
  done
done
for round in $(seq "$cold_rounds"); do
  for k in 0 1 2 3; do
    i=$(((k + round) % 4))
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    s=$(date +%s.%N)
    read -r _ at <<<"$(one_start "$i")"
    cold[$i]="${cold[$i]:-} $(awk -v a="$s" -v b="$at" 'BEGIN { printf "%.3f", b - a }')"
  done
done
"$here/sandbox.sh" start >/dev/null 2>&1 || true

printf 'Start-up until the window is up and answering; %s warm and %s cold interleaved rounds\n' "$rounds" "$cold_rounds"
read -r wfb wfm <<<"$(bench_best_median ${warm[0]})"
read -r cfb cfm <<<"$(bench_best_median ${cold[0]})"
for i in 1 2 3; do
  read -r wb wm <<<"$(bench_best_median ${warm[$i]})"
  read -r cb cm <<<"$(bench_best_median ${cold[$i]})"
  awk -v n="${names[$i]}" -v wb="$wb" -v wm="$wm" -v fb="$wfb" -v fm="$wfm" \
    'BEGIN { printf "%-9s warm: best %.3f s, median %.3f s; bare dialog best %.3f s, median %.3f s; ratio of medians %.2f; median %s 1 s (target under 1 s)\n",
             n, wb, wm, fb, fm, wm / fm, (wm < 1 ? "under" : "NOT under") }'
  awk -v n="${names[$i]}" -v cb="$cb" -v cm="$cm" -v fb="$cfb" -v fm="$cfm" \
    'BEGIN { printf "%-9s cold: best %.3f s, median %.3f s; bare dialog best %.3f s, median %.3f s; ratio of medians %.2f; median %s 1.5 s (target under 1.5 s)\n",
             n, cb, cm, fb, fm, cm / fm, (cm < 1.5 ? "under" : "NOT under") }'
done

# One logged start each: the program's own account of its start-up steps. The
# log is written once the work after the window has run.
docs="$WINEPREFIX/drive_c/users/$(id -un)/Documents"
logs=(- RUZovizov.log REVor.log VODar.log)
for i in 1 2 3; do
  rm -f "$docs/${logs[$i]}"
  one_start "$i" "$(bench_winpath "$docs")\\${logs[$i]}" >/dev/null
  echo "${names[$i]} start-up steps (ms since its process was created; window answered after $(awk '$1 == "up" { printf "%.0f", $2 * 1000 }' "$work/one.txt") ms):"
  grep -a "Start-up:" "$docs/${logs[$i]}" 2>/dev/null | sed 's/^.*Start-up: /  /' || echo "  (no steps logged)"
done
bench_load end
