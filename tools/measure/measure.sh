#!/usr/bin/env bash
# Measures the desktop program as a person meets it, under a virtual X
# display: time from start to the window's first frame, processor use over
# 10 s idle on each screen and while playing, and resident memory after a
# minute of play. Usage: tools/measure/measure.sh [path/to/horalia]
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/lib/horalia_window.sh
program=${1:-build/play/horalia}
[ -x "$program" ] || { echo "build the game first (./play.sh builds build/play/horalia)" >&2; exit 1; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "needs $tool: apt-get install xvfb xdotool" >&2; exit 1; }
done

settings=$(mktemp -d)
trap 'kill ${game:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$settings"' EXIT
# Its own runtime folder too (mktemp makes it 0700), so that the one-copy
# check never meets a copy running elsewhere on the machine.
export XDG_CONFIG_HOME=$settings XDG_RUNTIME_DIR=$settings
start_display 800x800x24

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
# Processor use of the game over the next $1 seconds, in percent of one core.
cpu_over() {
  local before after
  before=$(cpu_ticks); sleep "$1"; after=$(cpu_ticks)
  awk -v d=$((after - before)) -v s="$1" -v t="$ticks_per_second" 'BEGIN { printf "%.1f", 100 * d / (s * t) }'
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

start=$(date +%s%N)
"$program" >/dev/null 2>&1 &
game=$!
until window=$(xdotool search --onlyvisible --name '^Horalia$' 2>/dev/null | head -1) && [ -n "$window" ]; do
  # A copy that is already running makes this one end at once.
  kill -0 "$game" 2>/dev/null || { echo "the program ended before showing a window (is it running already?)" >&2; exit 1; }
  [ $(( $(date +%s%N) - start )) -lt 10000000000 ] || { echo "no window within 10 s" >&2; exit 1; }
  sleep 0.002
done
first_frame_ms=$(( ($(date +%s%N) - start) / 1000000 ))
sleep 1

echo "| What | Measured |"
echo "|---|---|"
echo "| start to first frame | ${first_frame_ms} ms |"
echo "| idle CPU, title screen | $(cpu_over 10) % |"
click 240 320; sleep 1                # a tap starts the game
echo "| idle CPU, game screen | $(cpu_over 10) % |"
click 50 50; sleep 1                  # the menu button
echo "| idle CPU, level screen | $(cpu_over 10) % |"
click 160 510; sleep 1                # OK, back to the game

# A minute of play: turn the hour hand and check, over and over; right
# answers start the spin.
play() {
  local until=$(( $(date +%s) + $1 ))
  while [ "$(date +%s)" -lt "$until" ]; do
    click 60 380; sleep 0.15           # hour forward
    click 240 490; sleep 0.35          # check
  done
}
before=$(cpu_ticks)
play 60
after=$(cpu_ticks)
echo "| CPU while playing (60 s, spins included) | $(awk -v d=$((after - before)) -v t="$ticks_per_second" 'BEGIN { printf "%.1f", 100 * d / (60 * t) }') % |"
echo "| resident memory after a minute of play | $(awk '/VmRSS/ {print $2, $3}' "/proc/$game/status") |"
echo "| answers recorded | $(grep -o '"score"="[0-9]*"' "$settings/horalia/registry.reg" || echo none) |"
