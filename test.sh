#!/usr/bin/env bash
# Builds Horalia with its tests and runs them all.
set -euo pipefail
cd "$(dirname "$0")"
# The tests also start the desktop program under a virtual display.
tools/build/need_packages.sh $(cat tools/build/packages.txt tools/build/test_packages.txt)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHORALIA_TESTS=ON >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j2
