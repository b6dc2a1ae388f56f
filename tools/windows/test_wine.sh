#!/usr/bin/env bash
# Cross-builds horalia.exe, its installer and zip, and the tests for 64-bit
# Windows with MinGW-w64 and runs them under Wine (64-bit only: no i386
# packages are needed) on a virtual display: the suites that need no host,
# the Windows host's own tests, the program itself against the headless
# host's pictures (tests/windows/wine_smoke.py), and the installer installed
# and removed silently. Wine's Windows folder is made in the build folder,
# never in ~/.wine.
# Usage: tools/windows/test_wine.sh [--measure] [extra cmake options]
set -euo pipefail
cd "$(dirname "$0")/../.."
measure=()
if [ "${1:-}" = "--measure" ]; then measure=(--measure); shift; fi
tools/build/need_packages.sh $(cat tools/windows/test_packages.txt)

build=build/windows
tools/windows/build_windows.sh "$@"
cmake --build "$build" -j2  # the tests

display=:$((200 + RANDOM % 100))
Xvfb "$display" -noreset -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display ctest --test-dir "$build" --output-on-failure -j2
kill $xvfb

# The headless host draws the reference pictures (a desktop build's tool).
cmake -S . -B build/test -G Ninja >/dev/null
cmake --build build/test --target reference_screen >/dev/null
python3 tests/windows/wine_smoke.py "${measure[@]}" --exe "$build/horalia.exe" \
  --probe "$build/tests/windows/window_probe.exe" --reference build/test/tests/web/reference_screen \
  --prefix "$build/wine"
tools/windows/check_installer.sh "$build"/horalia-*-setup.exe "$build"/horalia-*-windows-x64.zip "$build/wine"
