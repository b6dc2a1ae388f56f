#!/usr/bin/env bash
# Builds the browser version of Horalia with Debian's emscripten into
# build/web; the page to serve is then build/web/site (see README).
# Usage: tools/web/build_web.sh [extra cmake options]
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/build/need_packages.sh $(cat tools/web/packages.txt)

# Debian's emscripten finds its JavaScript modules (acorn) there; it needs
# nothing from the network.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build/web -G Ninja -DHORALIA_HOST=web -DCMAKE_BUILD_TYPE=MinSizeRel "$@" >/dev/null
cmake --build build/web -j2
tools/web/web_sizes.sh build/web/site
