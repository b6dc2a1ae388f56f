#!/usr/bin/env bash
# Takes screenshots of the desktop program under a virtual X display: the
# title, the game screen after a tap on the title, and the level screen after
# a tap on the menu button, into docs/screenshots/ (or the folder given), with
# fresh progress (or at the level given). The program speaks the language of
# the caller's locale.
# Usage: tools/screenshots/screenshots.sh path/to/horalia [FOLDER [LEVEL]]
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/lib/horalia_window.sh
program=$(realpath "${1:?usage: $0 path/to/horalia [FOLDER [LEVEL]]}")
folder=${2:-docs/screenshots}
level=${3:-}
tools/build/need_packages.sh xvfb xdotool x11-apps imagemagick

# Its own home, settings and runtime folders.
home=$(mktemp -d)
mkdir -m 700 "$home/runtime"
trap 'kill ${xvfb:-} 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime
start_display 640x800x24
if [ -n "$level" ]; then
  mkdir -p "$home/config/horalia"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\r\n"level"="%s"\r\n' \
    "$level" >"$home/config/horalia/registry.reg"
fi
# The program lets one copy run per user and runtime folder; the private
# runtime folder above already keeps a copy running elsewhere away. As root
# it gets a network namespace of its own as well.
alone=()
[ "$(id -u)" -ne 0 ] || alone=(unshare --net)

"${alone[@]}" "$program" >"$home/log" 2>&1 &
game=$!
window=$(horalia_window)
[ -n "${window:-}" ] || { echo "no window appeared" >&2; cat "$home/log" >&2; exit 1; }

mkdir -p "$folder"
# The window as shown, twice the display's size.
shot() {
  sleep 0.5
  xwd -silent -id "$window" | convert xwd:- "$folder/$1.png"
}
# A tap at a display point (x, y), in window pixels.
tap() {
  xdotool mousemove --window "$window" $(( $1 * 2 + 1 )) $(( $2 * 2 + 1 )) click 1
}
shot title
tap 120 150
shot game
tap 25 25
shot level
kill "$game"
wait "$game" 2>/dev/null || true
