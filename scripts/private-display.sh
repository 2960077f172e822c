# Sourced by the scripts that draw on a screen of their own (run.sh without a
# display, the picture scripts): an Xvfb server on a display number nobody uses.

# start_private_display [WxHxD]: starts Xvfb, which picks a free display number
# and reports it on a pipe; exports DISPLAY and sets private_display_pid.
# Returns 1 when Xvfb does not come up within 10 s.
start_private_display() {
  local fifo number
  fifo="$(mktemp -u)"; mkfifo "$fifo"
  Xvfb -displayfd 4 -screen 0 "${1:-1024x768x24}" -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
  private_display_pid=$!
  if ! read -r -t 10 number <"$fifo"; then
    rm -f "$fifo"
    kill "$private_display_pid" 2>/dev/null || true
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$number"
}
