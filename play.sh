#!/usr/bin/env bash
# Builds Horalia and starts it in a window.
set -euo pipefail
cd "$(dirname "$0")"
tools/build/need_packages.sh $(cat tools/build/packages.txt)
cmake -S . -B build/play -G Ninja -DCMAKE_BUILD_TYPE=Release -DHORALIA_TESTS=OFF >/dev/null
cmake --build build/play --target horalia
exec build/play/horalia
