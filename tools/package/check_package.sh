#!/usr/bin/env bash
# Checks the Debian package that tools/package/build_package.sh made, as root on a
# Debian 12 machine: the menu entry and the software centre's description
# validate, lintian finds no error and no warning beyond the accepted ones
# (docs/packaging.md), the package installs with apt-get, the installed
# program started with the menu entry's command shows its window under Xvfb,
# and removing the package leaves none of its files behind while the
# player's progress stays. Installs and removes the package on this machine.
# Usage: tools/package/check_package.sh [build/package/horalia_VERSION_ARCH.deb]
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/lib/horalia_window.sh
[ "$(id -u)" -eq 0 ] || { echo "run as root: it installs and removes the package" >&2; exit 1; }
deb=${1:-$(ls build/package/horalia_*.deb 2>/dev/null | head -1)}
[ -f "$deb" ] || { echo "no package: run tools/package/build_package.sh first" >&2; exit 1; }
tools/build/need_packages.sh desktop-file-utils appstream lintian xvfb xdotool x11-apps imagemagick
# Lintian tags accepted, with the reasons in docs/packaging.md.
accepted="binary-has-unneeded-section"

work=$(mktemp -d)
trap 'kill ${game:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/content"
app=org.quillmoor.Horalia

echo "== menu entry and software centre description"
desktop-file-validate "$work/content/usr/share/applications/$app.desktop"
appstreamcli validate --no-net "$work/content/usr/share/metainfo/$app.metainfo.xml"
# Each language's words lie under a name its locales look up (language or
# language_COUNTRY); under another the menu would show them in English.
unfound=$( (grep -ohE '^[A-Za-z]+\[[^]]*\]' "$work/content/usr/share/applications/$app.desktop" | sed 's/.*\[//; s/\]//'
            grep -ohE 'xml:lang="[^"]*"' "$work/content/usr/share/metainfo/$app.metainfo.xml" | cut -d'"' -f2) |
          grep -vE '^[a-z]{2,3}(_[A-Z]{2})?$' || true)
[ -z "$unfound" ] || { echo "words under no locale's name: $(echo $unfound)" >&2; exit 1; }

echo "== lintian"
lintian -I --pedantic "$deb" 2>/dev/null | tee "$work/lintian" || true
if grep -E '^[EW]: ' "$work/lintian" | grep -vE ": ($accepted)( |$)" | grep -q .; then
  echo "lintian: errors or warnings that are not accepted" >&2; exit 1
fi

echo "== install"
if dpkg-query -W -f='${Status}' horalia 2>/dev/null | grep -q "install ok installed"; then
  echo "horalia is installed already; remove it first" >&2; exit 1
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$deb")" >/dev/null
dpkg-query -L horalia > "$work/files"
command=$(sed -n 's/^Exec=//p' /usr/share/applications/$app.desktop)
echo "the menu entry starts: $command"

echo "== the installed program under Xvfb"
mkdir -m 700 "$work/home" "$work/run"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
unset XDG_CONFIG_HOME
start_display 640x800x24
# Its own runtime folder (above) keeps a copy running elsewhere on the
# machine from answering the one-copy check; a network namespace of its own
# where possible as well.
isolate=()
unshare --net true 2>/dev/null && isolate=(unshare --net)
"${isolate[@]}" $command >"$work/log" 2>&1 &
game=$!
window=$(horalia_window)
[ -n "$window" ] || { echo "the installed program showed no window" >&2; cat "$work/log" >&2; exit 1; }
sleep 0.5
# The window shows the title picture, not an empty frame: many colours.
xwd -silent -id "$window" | convert xwd:- "$work/window.png"
colours=$(convert "$work/window.png" -format %k info:)
cp "$work/window.png" "$(dirname "$deb")/installed-window.png"   # for a person to look at
echo "window $window shows $colours colours"
[ "$colours" -gt 50 ] || { echo "the window looks empty" >&2; exit 1; }
xdotool mousemove --window "$window" 240 320 click 1   # starts the game: progress is written
sleep 0.5
kill "$game"; wait "$game" 2>/dev/null || true
game=
progress=$work/home/.config/horalia/registry.reg
[ -f "$progress" ] || { echo "no progress file at $progress" >&2; exit 1; }

echo "== remove"
DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq horalia >/dev/null
left=0
while read -r path; do
  if [ -e "$path" ] && [ ! -d "$path" ]; then echo "left behind: $path" >&2; left=1; fi
done < "$work/files"
for folder in /usr/share/doc/horalia; do
  [ ! -e "$folder" ] || { echo "left behind: $folder" >&2; left=1; }
done
[ "$left" -eq 0 ] || exit 1
[ -f "$progress" ] || { echo "the player's progress went with the package" >&2; exit 1; }
echo "package: validates, installs, starts from its menu entry, removes cleanly; progress kept"
