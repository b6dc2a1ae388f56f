#!/usr/bin/env bash
# Unpacks Debian's FreeType source package (with Debian's patches applied)
# into a build folder, so the WebAssembly and Windows builds compile the same FreeType
# as the desktop links. The version is pinned to the one Debian 12 ships;
# the source comes from the same archive as the system's binary packages.
# Usage: tools/web/fetch_freetype.sh DESTINATION
# Prints the folder of the unpacked source on its last line.
set -euo pipefail

VERSION=2.12.1+dfsg-5+deb12u4
destination=${1:?usage: fetch_freetype.sh DESTINATION}
upstream=${VERSION%-*}
source_dir=$destination/freetype-$upstream

if [ -f "$source_dir/.unpacked-$VERSION" ]; then
  echo "$source_dir"
  exit 0
fi

installed=$(dpkg-query -W -f='${Version}' "libfreetype6:$(dpkg --print-architecture)" 2>/dev/null || true)
if [ -n "$installed" ] && [ "$installed" != "$VERSION" ]; then
  echo "warning: the desktop links FreeType $installed, the browser and Windows builds $VERSION" >&2
fi

# A deb-src entry for the archive the system already uses (deb822 format).
list=/etc/apt/sources.list.d/horalia-deb-src.sources
if ! apt-get source --print-uris "freetype=$VERSION" >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "FreeType's source package is not reachable: add a deb-src entry as root, e.g." >&2
    echo "  sudo tools/web/fetch_freetype.sh $destination" >&2
    exit 1
  fi
  cat >"$list" <<'SOURCES'
# Added by Horalia's builds: FreeType's source package for WebAssembly and Windows.
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  apt-get update -qq
fi

mkdir -p "$destination"
rm -rf "$source_dir"
if ! (cd "$destination" && apt-get source -qq "freetype=$VERSION") >"$destination/freetype-fetch.log" 2>&1; then
  cat "$destination/freetype-fetch.log" >&2
  exit 1
fi
touch "$source_dir/.unpacked-$VERSION"
echo "$source_dir"
