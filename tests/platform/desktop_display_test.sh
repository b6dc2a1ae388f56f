#!/usr/bin/env bash
# The desktop program where no display can be reached: it says why and ends
# with 1 before it claims anything. Started on purpose with a video driver
# that draws nowhere it runs, and gives way to a start on a real display,
# which shows its window.
# Usage: desktop_display_test.sh path/to/horalia   (exits 77, skipped, without Xvfb or xdotool)
set -euo pipefail
program=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "skipped: needs Xvfb and xdotool"; exit 77; }
. "$top/tools/lib/horalia_window.sh"

home=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$home"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A home, settings and runtime folder of its own; sanitized builds keep only
# their own leaks in view.
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$top/tools/check/lsan_suppressions.txt:print_suppressions=0}
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
claims() { find "$home" \( -name '*.lock' -o -name '*.socket' \) | wc -l; }

status=0
timeout 10 "$program" 2>"$home/said" || status=$?
[ "$status" -eq 1 ] || fail "without a display the program ended with $status (124: it ran on, unseen)"
grep -q "display" "$home/said" || fail "it did not say why: $(cat "$home/said")"
[ "$(claims)" -eq 0 ] || fail "it claimed the one copy before it ended"

# A copy that draws nowhere, asked for by name, holds the claim...
SDL_VIDEODRIVER=offscreen "$program" 2>"$home/unseen" &
unseen=$!
pids+=("$unseen")
for _ in $(seq 500); do [ "$(claims)" -ge 2 ] && break; sleep 0.01; done
[ "$(claims)" -ge 2 ] || fail "the copy asked to draw nowhere did not start"

# ... until a start on a real display comes: that one shows its window.
exec 3>"$home/display"
Xvfb -displayfd 3 -noreset -screen 0 640x800x24 >/dev/null 2>&1 &
pids+=("$!")
exec 3>&-
for _ in $(seq 500); do [ -s "$home/display" ] && break; sleep 0.01; done
export DISPLAY=:$(cat "$home/display")
"$program" 2>"$home/seen" &
pids+=("$!")
[ -n "$(horalia_window)" ] || fail "the start on a real display showed no window: $(cat "$home/seen")"
for _ in $(seq 300); do kill -0 "$unseen" 2>/dev/null || break; sleep 0.01; done
status=0
wait "$unseen" || status=$?
[ "$status" -eq 0 ] || fail "the copy that showed nothing did not end with 0 but $status: $(cat "$home/unseen")"
echo "no display: refused with 1; the unseen copy gave way to a window on the display"
