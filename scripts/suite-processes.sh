# Sourced by run.sh: which programs of the suite run in this sandbox. The starter
# ends 100 ms after it starts the wizard or the recorder, and those start the
# starter again when they end, so no single process stands for "the suite runs".

# suite_program_runs: true while the starter, the wizard, the recorder or the
# player runs under this sandbox's Wine prefix. Wine shows a program's Windows
# path as its command line; the prefix in its environment tells sandboxes apart.
suite_program_runs() {
  local dir command
  local pattern='[\\/](sonellestarter|sonellewiz|sonelle|tunlet)\.exe( |$)'
  for dir in /proc/[0-9]*; do
    command="$(tr '\0' ' ' 2>/dev/null <"$dir/cmdline")" || continue
    command="${command,,}"
    [[ "$command" =~ $pattern ]] || continue
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "$dir/environ" 2>/dev/null && return 0
  done
  return 1
}

# wait_until_suite_ends PID: waits for the program started as PID, then until no
# program of the suite has run for 2 s (a hand-over from one program to the next
# never leaves that long a gap).
wait_until_suite_ends() {
  wait "$1" || true
  local quiet=0
  while [ "$quiet" -lt 4 ]; do
    if suite_program_runs; then quiet=0; else quiet=$((quiet + 1)); fi
    sleep 0.5
  done
}
