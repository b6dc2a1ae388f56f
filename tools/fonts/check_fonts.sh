#!/usr/bin/env bash
# Checks that the cut Liberation Sans faces the program embeds draw exactly
# like Debian's full Liberation Sans: every character of the cut faces, at
# every size from 8 to 32 pixels (em and cell heights, which include the
# game's 12, 16 and 18), at full width and 92 % wide, with the font's hinting
# and with FreeType's automatic hinter, in monochrome as the game draws. With
# a web build (build/web, from tools/web/build_web.sh) it also checks that the
# WebAssembly FreeType draws every cut face (the languages' Noto faces too)
# exactly like the desktop's. Prints the sizes of the faces.
# Usage: tools/fonts/check_fonts.sh        (exit status 1 on any difference)
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/build/need_packages.sh g++ pkg-config libfreetype-dev fonts-liberation2 fonts-noto-core fonts-noto-cjk \
  python3-fonttools

out=build/fonts
mkdir -p "$out"
c++ -O2 -std=c++20 -Wall -Wextra -o "$out/glyph_dump" tools/fonts/glyph_dump.cpp \
    $(pkg-config --cflags --libs freetype2)

web_dump=""
if [ -f build/web/build.ninja ]; then
  cmake --build build/web --target glyph_dump >/dev/null
  web_dump=build/web/glyph_dump.js
fi

# How many glyph drawings of the second dump differ from the first (a
# glyph missing on either side counts too).
differing() {
  local removed added
  removed=$(diff "$1" "$2" | grep -c '^<' || true)
  added=$(diff "$1" "$2" | grep -c '^>' || true)
  echo $((removed > added ? removed : added))
}

failed=0
for face in sans-regular sans arabic devanagari cjk-sc cjk-jp; do
  cut=$out/$face.ttf
  /usr/bin/python3 tools/fonts/subset_font.py resources/translations.tsv "$face" "$cut"
  "$out/glyph_dump" "$cut" >"$out/cut-$face.txt"
  glyphs=$(wc -l <"$out/cut-$face.txt")
  case $face in
    sans-regular) full=/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf ;;
    sans) full=/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf ;;
    *) full="" ;;
  esac
  if [ -n "$full" ]; then
    "$out/glyph_dump" "$full" "$cut" >"$out/full-$face.txt"
    differences=$(differing "$out/full-$face.txt" "$out/cut-$face.txt")
    printf '%-12s full %7d bytes, cut %6d bytes; %d glyph drawings, %d differ\n' "$face" \
      "$(stat -c %s "$full")" "$(stat -c %s "$cut")" "$glyphs" "$differences"
    [ "$differences" -eq 0 ] || failed=1
  else
    printf '%-12s cut %6d bytes; %d glyph drawings\n' "$face" "$(stat -c %s "$cut")" "$glyphs"
  fi
  if [ -n "$web_dump" ]; then
    # Emscripten 3.1.6 mistakes Node's own fetch for a browser's.
    node --no-experimental-fetch "$web_dump" "$cut" >"$out/web-$face.txt"
    differences=$(differing "$out/cut-$face.txt" "$out/web-$face.txt")
    printf '%-12s WebAssembly FreeType against Debian'"'"'s: %d differ\n' "$face" "$differences"
    [ "$differences" -eq 0 ] || failed=1
  fi
done
exit $failed
