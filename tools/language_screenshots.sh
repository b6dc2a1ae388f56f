#!/usr/bin/env bash
# Photographs the desktop program's three screens in every language of
# resources/translations.tsv, under a virtual X display: the title, the game
# screen (at level 10, which asks "from now" and "in the past") and the level
# screen, at the display's own 240 x 320, into docs/screenshots/<language>/.
# Usage: tools/language_screenshots.sh path/to/horalia
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:?usage: $0 path/to/horalia}")
tools/need_packages.sh xvfb xdotool x11-apps imagemagick

display=:$((300 + RANDOM % 100))
Xvfb "$display" -screen 0 640x800x24 >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display SDL_AUDIODRIVER=dummy
sleep 1

# The program lets one copy run per user on the machine (an abstract socket);
# as root each run gets a network namespace of its own, so a copy running
# elsewhere on a shared machine cannot take its place.
alone=()
[ "$(id -u)" -ne 0 ] || alone=(unshare --net)

# The locale that picks each language: the table's column names it.
locale_of() {
  case "$1" in
    en) echo en_US.UTF-8 ;; *_*) echo "$1.UTF-8" ;; *) echo "${1}_$(echo "$1" | tr a-z A-Z).UTF-8" ;;
  esac
}

shot() {  # window, file: the window's picture at the display's own size
  xwd -silent -id "$1" | convert xwd:- -sample 50% "$2"
}

for language in $(head -1 resources/translations.tsv | cut -f2-); do
  out=docs/screenshots/$language
  mkdir -p "$out"
  # Each run has its own settings (level 10).
  home=$work/$language
  mkdir -p "$home/config/horalia" "$home/runtime"
  chmod 700 "$home/runtime"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\r\n"level"="10"\r\n' \
    >"$home/config/horalia/registry.reg"
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$(locale_of "$language")" HOME="$home" \
    XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" "${alone[@]}" "$program" >"$home/log" 2>&1 &
  game=$!
  window=
  for _ in $(seq 500); do
    window=$(xdotool search --onlyvisible --name '^Horalia$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.01
  done
  [ -n "$window" ] || { echo "no window for $language" >&2; cat "$home/log" >&2; exit 1; }
  sleep 0.5
  shot "$window" "$out/title.png"
  xdotool mousemove --window "$window" 240 300 click 1   # the title picture
  sleep 0.5
  shot "$window" "$out/game.png"
  xdotool mousemove --window "$window" 50 50 click 1     # the menu button
  sleep 0.5
  shot "$window" "$out/level.png"
  kill "$game"
  wait "$game" 2>/dev/null || true
  echo "$language: $out/{title,game,level}.png"
done
