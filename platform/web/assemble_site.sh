#!/usr/bin/env bash
# Puts the web page together: the program built for the browser (horalia.js,
# horalia.wasm), the page's own files and the home-screen icons, in one folder
# that any static web server can serve. The offline worker gets the list of
# those files and a version stamp made from their contents, so a changed page
# is a new version of the offline copy and an unchanged one is not.
# Usage: platform/web/assemble_site.sh BUILD_FOLDER SITE_FOLDER
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/../.." && pwd)"
build="$1"
site="$2"

rm -rf "$site"
mkdir -p "$site"
cp "$build/horalia.js" "$build/horalia.wasm" "$site/"
cp "$here/page/index.html" "$here/page/horalia_page.js" "$here/page/manifest.webmanifest" "$site/"
cp "$top/resources/icon/horalia-192.png" "$top/resources/icon/horalia-512.png" "$site/"

files=$(cd "$site" && ls | sort)
stamp=$(cd "$site" && cat $files "$here/page/sw.js" | sha256sum | cut -c1-16)
list="[\"./\""
for file in $files; do list="$list, \"$file\""; done
list="$list]"
sed -e "s/HORALIA_CACHE_STAMP/$stamp/" -e "s|HORALIA_CACHE_FILES|$list|" "$here/page/sw.js" >"$site/sw.js"
echo "web page in $site (version $stamp)"
