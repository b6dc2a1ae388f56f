#!/usr/bin/env bash
# What the desktop program costs while nobody touches it, on each of its three
# screens, under a virtual X display: processor use in per cent of one core
# and wake-ups a second (context switches of all its threads), each over the
# given number of seconds. With --syscalls, the system calls of each screen
# are counted with strace as well (calls and failures, busiest first).
# Usage: tools/measure/measure_idle.sh [--syscalls] [path/to/horalia] [seconds]
# On a shared machine run it as root under `unshare --net`, so that the
# measured copy cannot meet another running copy (see docs/performance.md).
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/lib/horalia_window.sh
syscalls=false
if [ "${1:-}" = --syscalls ]; then syscalls=true; shift; fi
program=${1:-build/play/horalia}
seconds=${2:-20}
[ -x "$program" ] || { echo "build the game first (./play.sh builds build/play/horalia)" >&2; exit 1; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "needs $tool: apt-get install xvfb xdotool" >&2; exit 1; }
done
if $syscalls && ! command -v strace >/dev/null; then echo "needs strace: apt-get install strace" >&2; exit 1; fi

home=$(mktemp -d)
trap 'kill ${game:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
start_display 800x800x24

"$program" >/dev/null 2>&1 &
game=$!
for _ in $(seq 1000); do
  window=$(xdotool search --onlyvisible --name '^Horalia$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  kill -0 "$game" 2>/dev/null || { echo "the program ended before showing a window" >&2; exit 1; }
  sleep 0.01
done
[ -n "${window:-}" ] || { echo "no window within 10 s" >&2; exit 1; }

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
# Context switches of each thread ("tid count" lines).
switches() {
  for task in /proc/"$game"/task/*; do
    awk -v tid="${task##*/}" '/ctxt_switches/ {n += $2} END {print tid, n}' "$task/status" 2>/dev/null || true
  done
}
# Wake-ups between two snapshots: what each thread alive at the end did
# since the first (a thread that ended in between is not counted).
wakeups() { awk 'NR == FNR {before[$1] = $2; next} {n += $2 - before[$1]} END {print n + 0}' "$1" "$2"; }

# One screen: settle (at rest, the sound device closes 5 s after the last
# sound), then measure processor use and wake-ups over $seconds.
measure() {
  sleep 7                # past the sound device's close after 5 s of silence
  local ticks0 ticks1
  ticks0=$(cpu_ticks); switches > "$home/switches0"
  sleep "$seconds"
  ticks1=$(cpu_ticks); switches > "$home/switches1"
  awk -v name="$1" -v d=$((ticks1 - ticks0)) -v w="$(wakeups "$home/switches0" "$home/switches1")" -v s="$seconds" \
      -v t="$ticks_per_second" 'BEGIN { printf "| %s | %.2f %% | %.0f /s |\n", name, 100 * d / (s * t), w / s }'
  if $syscalls; then
    strace -c -f -p "$game" -o "$home/strace" & local tracer=$!
    sleep "$seconds"; kill -INT "$tracer"; wait "$tracer" || true
    echo "system calls over $seconds s ($1):"
    awk 'NR <= 2 || /total/ || ($4 + 0 > 0 && NF >= 5)' "$home/strace" | head -12
  fi
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

echo "| Screen at rest ($seconds s) | CPU | Wake-ups |"
echo "|---|---:|---:|"
measure "title"
click 240 320            # a tap starts the game
measure "game"
click 50 50              # the menu button opens the level screen
measure "level"
