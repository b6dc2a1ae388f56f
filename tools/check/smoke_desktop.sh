#!/usr/bin/env bash
# Starts the desktop program under a virtual X display, checks that its
# window shows the title picture, taps it and checks that the game screen
# follows, then taps the exit icon and expects the program to end with 0.
# Usage: tools/check/smoke_desktop.sh path/to/horalia
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/lib/horalia_window.sh
program=${1:?usage: $0 path/to/horalia}
tools/build/need_packages.sh xvfb xdotool x11-apps imagemagick

settings=$(mktemp -d)
trap 'kill ${xvfb:-} 2>/dev/null || true; rm -rf "$settings"' EXIT
# A runtime folder of its own (mktemp makes it 0700): the one-copy check of
# another copy running on this machine cannot get in the way.
export XDG_CONFIG_HOME=$settings XDG_RUNTIME_DIR=$settings
start_display 640x800x24

"$program" >"$settings/log" 2>&1 &
game=$!
window=$(horalia_window)
[ -n "${window:-}" ] || { echo "no window appeared" >&2; cat "$settings/log" >&2; kill -0 "$game" 2>/dev/null && echo "(the program runs)" >&2; exit 1; }
sleep 0.5

# The colour of one display pixel (x, y) as the window shows it at twice the size.
pixel() {
  xwd -silent -id "$window" | convert xwd:- -format "%[pixel:p{$(( $1 * 2 + 1 )),$(( $2 * 2 + 1 ))}]" info:
}
title_foot=$(pixel 120 310)
xdotool mousemove --window "$window" 240 320 click 1
sleep 0.5
game_foot=$(pixel 120 310)
echo "title screen foot: $title_foot, game screen foot: $game_foot"
[ "$title_foot" != "$game_foot" ] || { echo "the tap did not open the game screen" >&2; exit 1; }

xdotool mousemove --window "$window" 452 28 click 1   # the exit icon
status=0
for _ in $(seq 300); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.01
done
if kill -0 "$game" 2>/dev/null; then
  echo "the program did not end on its exit icon" >&2
  kill "$game"
  exit 1
fi
wait "$game" || status=$?
[ "$status" -eq 0 ] || { echo "the program ended with $status" >&2; cat "$settings/log" >&2; exit 1; }
echo "desktop program: window, tap and exit all fine"
