#!/usr/bin/env bash
# Builds the Debian package of the desktop program: a Release build with
# Debian's hardening flags, installed under /usr, packed by CPack with its
# dependencies computed from the binary. Prints the package's path.
# Usage: tools/package/build_package.sh   (the package lands in build/package/)
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/build/need_packages.sh $(cat tools/build/packages.txt) dpkg-dev file
# The flags Debian builds its own packages with (stack protector, fortified
# functions, read-only relocations bound at start).
# CMake reads no CPPFLAGS, so the preprocessor's part joins the compilers'.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
export CFLAGS="$CPPFLAGS $CFLAGS" CXXFLAGS="$CPPFLAGS $CXXFLAGS"
rm -rf build/package   # compiler flags are read when the folder is made
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DHORALIA_TESTS=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build/package >/dev/null
(cd build/package && cpack -G DEB >/dev/null)
ls build/package/horalia_*.deb
