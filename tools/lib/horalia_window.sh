# Shared by the scripts that start the desktop program under Xvfb.
# Prints the id of the program's visible window once it shows (waiting up to
# five seconds), or nothing when no window appears.
horalia_window() {
  local window=
  for _ in $(seq 500); do
    window=$(xdotool search --onlyvisible --name '^Horalia$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.01
  done
  printf '%s' "$window"
}
