# Shared by the scripts that start the desktop program under Xvfb.

# Starts Xvfb with a screen of the given size (WIDTHxHEIGHTx24) on a display
# that no other X server holds, in the background ($xvfb is its process id;
# the caller's EXIT trap ends it), waits until it takes connections, and sends
# the program's window there and its sound nowhere. -noreset keeps the server
# up when its last client leaves: a server resetting between two runs of the
# program refuses the next one's connection, and that is not the program's
# fault.
start_display() {
  local ready
  ready=$(mktemp)
  exec 3>"$ready"
  Xvfb -displayfd 3 -noreset -screen 0 "$1" >/dev/null 2>&1 &
  xvfb=$!
  exec 3>&-
  for _ in $(seq 500); do [ -s "$ready" ] && break; sleep 0.01; done
  export DISPLAY=:$(head -1 "$ready") SDL_AUDIODRIVER=dummy
  rm -f "$ready"
}

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
