# Shared by the scripts that start the desktop program under Xvfb.

# Starts Xvfb with a screen of the given size (WIDTHxHEIGHTx24) on a display
# that no other X server holds, in the background ($xvfb is its process id;
# the caller's EXIT trap ends it), and sends the program's window there and
# its sound nowhere.
start_display() {
  local number=$((200 + RANDOM % 300))
  while [ -e "/tmp/.X$number-lock" ]; do number=$((200 + RANDOM % 300)); done
  Xvfb ":$number" -screen 0 "$1" >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=:$number SDL_AUDIODRIVER=dummy
  sleep 1
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
