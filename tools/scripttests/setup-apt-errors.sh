#!/usr/bin/env bash
# setup.sh against a fake apt: a real error (an unknown package, no root) ends
# it at once with apt's message; a lock held by another apt is waited out. The
# script runs from a copy of the checkout's scripts with fake apt-get, dpkg and
# dpkg-query first in PATH, so nothing on the machine changes.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree/scripts" "$work/tree/.deps/lame-3.100" "$work/bin"
cp "$root/scripts/setup.sh" "$root/scripts/runs-32bit-code.sh" "$work/tree/scripts/"
touch "$work/tree/.deps/lame-3.100/configure"

# Every package counts as missing; dpkg only reports the architectures.
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\n[ "$1" = --print-foreign-architectures ] && echo i386\nexit 0\n' >"$work/bin/dpkg"
# apt-get logs each call and answers by the script of answers in $FAKE_APT
# (one per call, the last one repeats): ok, locked or broken.
cat >"$work/bin/apt-get" <<'FAKE'
#!/bin/bash
echo "$*" >>"$FAKE_APT_LOG"
n=$(wc -l <"$FAKE_APT_LOG")
read -ra answers <<<"$FAKE_APT"
answer="${answers[n - 1]:-${answers[-1]}}"
case "$answer" in
  ok) exit 0 ;;
  locked) echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 4242 (apt-get)" >&2; exit 100 ;;
  broken) echo "E: Unable to locate package sonelle-no-such-package" >&2; exit 100 ;;
esac
FAKE
chmod +x "$work/bin/"*

failures=0
# answers | expected exit (0 or not) | expected apt-get calls | text in the output
cases=(
  "broken|fail|1|Unable to locate package sonelle-no-such-package"
  "locked locked ok ok|pass|4|another apt holds its lock"
  "ok locked ok|pass|3|another apt holds its lock"
  "locked broken|fail|2|Unable to locate package"
)
for c in "${cases[@]}"; do
  IFS='|' read -r answers expect calls text <<<"$c"
  log="$work/apt.log"; : >"$log"
  out="$(FAKE_APT="$answers" FAKE_APT_LOG="$log" SONELLE_APT_LOCK_PAUSE=0 PATH="$work/bin:$PATH" \
         timeout 30 bash "$work/tree/scripts/setup.sh" 2>&1)"
  rc=$?
  got_calls=$(wc -l <"$log")
  problems=""
  [ "$rc" -eq 124 ] && problems+=" still retrying after 30 s;"
  if [ "$expect" = pass ]; then [ "$rc" -eq 0 ] || problems+=" exit code $rc, expected 0;"
  else [ "$rc" -ne 0 ] || problems+=" exit code 0, expected a failure;"; fi
  [ "$got_calls" -eq "$calls" ] || problems+=" $got_calls apt-get calls, expected $calls;"
  grep -qF "$text" <<<"$out" || problems+=" no \"$text\" in the output;"
  if [ -n "$problems" ]; then
    echo "FAIL [$answers]:$problems"; echo "$out" | tail -n 5 | sed 's/^/  | /'
    failures=$((failures + 1))
  else
    echo "ok [$answers]: exit $rc after $got_calls apt-get call(s)"
  fi
done
exit $((failures > 0))
