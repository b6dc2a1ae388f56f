#!/usr/bin/env bash
# Unpacks one of Debian's source packages (with Debian's patches applied)
# into a build folder, so that the WebAssembly and Windows builds compile
# the same FreeType, HarfBuzz and FriBidi as the desktop links. Each version
# is pinned to the one Debian 12 ships; the source comes from the same
# archive as the system's binary packages.
# Usage: tools/web/fetch_source.sh PACKAGE VERSION DESTINATION
#   e.g. tools/web/fetch_source.sh freetype 2.12.1+dfsg-5+deb12u4 build/web/deps
# Prints the folder of the unpacked source on its last line.
set -euo pipefail

package=${1:?usage: fetch_source.sh PACKAGE VERSION DESTINATION}
version=${2:?usage: fetch_source.sh PACKAGE VERSION DESTINATION}
destination=${3:?usage: fetch_source.sh PACKAGE VERSION DESTINATION}
upstream=${version%-*}
upstream=${upstream#*:}
source_dir=$destination/$package-$upstream

if [ -f "$source_dir/.unpacked-$version" ]; then
  echo "$source_dir"
  exit 0
fi

# The binary package the desktop links, to warn when its version differs.
case $package in
  freetype) binary=libfreetype6 ;;
  harfbuzz) binary=libharfbuzz0b ;;
  fribidi) binary=libfribidi0 ;;
  *) binary="" ;;
esac
if [ -n "$binary" ]; then
  installed=$(dpkg-query -W -f='${Version}' "$binary:$(dpkg --print-architecture)" 2>/dev/null || true)
  if [ -n "$installed" ] && [ "$installed" != "$version" ]; then
    echo "warning: the desktop links $package $installed, the browser and Windows builds $version" >&2
  fi
fi

# A deb-src entry for the archive the system already uses (deb822 format).
list=/etc/apt/sources.list.d/horalia-deb-src.sources
if ! apt-get source --print-uris "$package=$version" >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "$package's source package is not reachable: add a deb-src entry as root, e.g." >&2
    echo "  sudo tools/web/fetch_source.sh $package $version $destination" >&2
    exit 1
  fi
  cat >"$list" <<'SOURCES'
# Added by Horalia's builds: the source packages of the text libraries for WebAssembly and Windows.
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
if ! (cd "$destination" && apt-get source -qq "$package=$version") >"$destination/$package-fetch.log" 2>&1; then
  cat "$destination/$package-fetch.log" >&2
  exit 1
fi
touch "$source_dir/.unpacked-$version"
echo "$source_dir"
