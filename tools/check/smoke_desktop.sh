#!/usr/bin/env bash
# Starts the desktop program under a virtual X display once in each of the
# game's languages, with fresh progress: checks that its window shows the
# title picture as the headless host draws it in that language, taps it and
# checks that the game screen follows, opens the level screen and compares it
# too, then taps the exit icon and expects the program to end with 0.
# The headless host's pictures come from the reference_screen tool of the
# program's build (tests/web/); without it the pictures are not compared.
# Usage: tools/check/smoke_desktop.sh path/to/horalia
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/lib/horalia_window.sh
program=${1:?usage: $0 path/to/horalia}
reference=$(dirname "$program")/tests/web/reference_screen
tools/build/need_packages.sh xvfb xdotool x11-apps imagemagick

work=$(mktemp -d)
trap 'kill ${xvfb:-} 2>/dev/null || true; rm -rf "$work"' EXIT
# A runtime folder of its own (mktemp makes it 0700): the one-copy check of
# another copy running on this machine cannot get in the way.
export XDG_RUNTIME_DIR=$work
unset LANGUAGE LC_ALL LC_MESSAGES
start_display 640x800x24
[ -x "$reference" ] || echo "no $reference: the pictures are not compared with the headless host's"

# The colour of one display pixel (x, y) as the window shows it at twice the size.
pixel() {
  xwd -silent -id "$window" | convert xwd:- -format "%[pixel:p{$(( $1 * 2 + 1 )),$(( $2 * 2 + 1 ))}]" info:
}

# Fails unless the window shows the headless host's picture of the screen.
same_as_headless() {
  [ -x "$reference" ] || return 0
  "$reference" "$1" 2026 12 8 10 9 30 "$work/$1.ppm"
  xwd -silent -id "$window" | convert xwd:- -sample 50% "$work/shown.ppm"
  local different
  different=$(compare -metric AE "$work/$1.ppm" "$work/shown.ppm" null: 2>&1 || true)
  [ "$different" = 0 ] || { echo "$LANG $1 screen: $different pixels differ from the headless host's" >&2; exit 1; }
}

# One run of the program in the language of the locale.
run() {
  export LANG=$1 XDG_CONFIG_HOME=$work/settings-$1
  "$program" >"$work/log" 2>&1 &
  game=$!
  window=$(horalia_window)
  [ -n "${window:-}" ] || { echo "no window appeared" >&2; cat "$work/log" >&2; kill -0 "$game" 2>/dev/null && echo "(the program runs)" >&2; exit 1; }
  sleep 0.5
  same_as_headless title

  local title_foot game_foot
  title_foot=$(pixel 120 310)
  xdotool mousemove --window "$window" 240 320 click 1
  sleep 0.5
  game_foot=$(pixel 120 310)
  [ "$title_foot" != "$game_foot" ] || { echo "$LANG: the tap did not open the game screen" >&2; exit 1; }

  xdotool mousemove --window "$window" 50 50 click 1    # the menu button
  sleep 0.5
  same_as_headless level

  xdotool mousemove --window "$window" 452 28 click 1   # the exit icon
  local status=0
  for _ in $(seq 300); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.01
  done
  if kill -0 "$game" 2>/dev/null; then
    echo "$LANG: the program did not end on its exit icon" >&2
    kill "$game"
    exit 1
  fi
  wait "$game" || status=$?
  [ "$status" -eq 0 ] || { echo "$LANG: the program ended with $status" >&2; cat "$work/log" >&2; exit 1; }
  echo "desktop program in $LANG: window, title, game, levels and exit all fine"
}

for locale in $(sed -n 's/^ *{"[A-Za-z_]*", "\([^"]*\)".*/\1/p' resources/languages.h); do
  run "$locale"
done
