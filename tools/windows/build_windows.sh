#!/usr/bin/env bash
# Cross-builds the Windows program on Debian with MinGW-w64 into
# build/windows: horalia.exe (one static program, no DLL beside it), the
# per-user installer horalia-VERSION-windows-x64-setup.exe and the portable
# horalia-VERSION-windows-x64.zip, and prints their sizes. Installs what it
# needs (tools/windows/packages.txt) when run as root.
# Usage: tools/windows/build_windows.sh [extra cmake options]
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/build/need_packages.sh $(cat tools/windows/packages.txt)

build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake \
      -DHORALIA_HOST=win32 -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build" -j2 --target windows_packages
for file in "$build"/horalia.exe "$build"/horalia-*-windows-x64-setup.exe "$build"/horalia-*-windows-x64.zip; do
  printf '%9d bytes  %s\n' "$(stat -c %s "$file")" "$file"
done
