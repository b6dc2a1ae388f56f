#!/usr/bin/python3
"""Splits the compiled resource file for the browser: what every language
uses (English, the original, and the language-neutral resources: sounds,
icons, the buttons that many languages share) stays in the program, and
each other language's own resources (its strings, worded pictures and
faces) become a file of their own that the page fetches only for the
language it plays in. Each part is a resource file as the compiler writes
it: the empty entry first, then the entries in their order.

Usage: split_resources.py ALL.res LANGUAGES.h MAIN.res PACK_FOLDER
  LANGUAGES.h: resources/languages.h, which names each language's ids;
  PACK_FOLDER gets <language>.res for every language but English.
"""
import os
import re
import struct
import sys

ENGLISH_US = 0x0409
NEUTRAL = 0


def entries(data):
    """(language id, bytes of the whole entry) of each entry, in order."""
    at = 0
    while at + 8 <= len(data):
        size, header = struct.unpack_from("<II", data, at)
        if header < 32 or at + header + size > len(data):
            sys.exit("resource file damaged at byte %d" % at)
        language = struct.unpack_from("<H", data, at + header - 10)[0]
        end = at + header + size
        end += -end % 4
        yield language, data[at:end]
        at = end


def split(source, languages_header, main, folder):
    with open(languages_header, encoding="ascii") as f:
        names = {(primary | sub << 10): name for name, primary, sub in
                 ((m.group(1), int(m.group(2), 16), int(m.group(3), 16))
                  for m in re.finditer(r'\{"(\w+)", "[^"]*", 0x([0-9A-F]+), 0x([0-9A-F]+)\}', f.read()))}
    with open(source, "rb") as f:
        data = f.read()
    parts = {}
    first = None
    for language, entry in entries(data):
        if first is None:
            first = entry  # the empty entry that opens every resource file
            continue
        name = "" if language in (ENGLISH_US, NEUTRAL) else names.get(language)
        if name is None:
            sys.exit("resource in language 0x%04X, which languages.h does not name" % language)
        parts.setdefault(name, []).append(entry)
    os.makedirs(folder, exist_ok=True)
    with open(main, "wb") as f:
        f.write(first + b"".join(parts.pop("")))
    for name in names.values():
        if name in parts:
            with open(os.path.join(folder, name + ".res"), "wb") as f:
                f.write(first + b"".join(parts[name]))


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    split(*sys.argv[1:])
