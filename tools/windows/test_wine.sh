#!/usr/bin/env bash
# Cross-builds the tests for 64-bit Windows with MinGW-w64 and runs them under
# Wine (64-bit only: no i386 packages are needed). Wine's Windows folder is
# made in the build folder, never in ~/.wine.
# Usage: tools/windows/test_wine.sh [extra cmake options]
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/build/need_packages.sh $(cat tools/windows/packages.txt)

build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake \
      -DHORALIA_HOST=headless -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
