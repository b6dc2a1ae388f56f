# The faces that draw the game's words, by the names the translation table's
# "faces" row gives them: where Debian puts each, and the name its cut
# carries. Liberation Sans ("sans", fonts-liberation2) draws every language
# (Latin, Cyrillic, Greek, Vietnamese) and every character a language's own
# faces lack; Arabic, Devanagari, Chinese and Japanese have faces of their
# own (fonts-noto-core, fonts-noto-cjk). All are under the SIL Open Font
# License 1.1.

# name: (file, index in a collection, family of the cut face, Debian package)
FACES = {
    "sans-regular": ("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", 0, "Horalia Sans",
                     "fonts-liberation2"),
    "sans": ("/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf", 0, "Horalia Sans", "fonts-liberation2"),
    "arabic": ("/usr/share/fonts/truetype/noto/NotoSansArabic-Bold.ttf", 0, "Horalia Sans Arabic", "fonts-noto-core"),
    "devanagari": ("/usr/share/fonts/truetype/noto/NotoSansDevanagari-Bold.ttf", 0, "Horalia Sans Devanagari",
                   "fonts-noto-core"),
    "cjk-sc": ("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", 2, "Horalia Sans CJK SC", "fonts-noto-cjk"),
    "cjk-jp": ("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", 0, "Horalia Sans CJK JP", "fonts-noto-cjk"),
}

# The row of the translation table that names each language's own faces,
# best first; Liberation Sans comes after them, and alone where none is named.
FACES_ROW = "faces"


def faces_of(words):
    """The names of a language's own faces, best first, from its column of the table."""
    names = words.get(FACES_ROW, "").split()
    unknown = [name for name in names if name not in FACES or name.startswith("sans")]
    assert not unknown, "unknown faces %s (tools/fonts/faces.py)" % unknown
    return names


def language_faces(table, language):
    return faces_of(table[language])


def drawn_texts(table, language):
    """The texts the program draws with the faces: its string table (the
    screen reader's words, never drawn, left out)."""
    return [text for key, text in table[language].items()
            if key.startswith("IDS_") and not key.startswith("IDS_SAY_")]


def read_table(path):
    """The translation table: ({language: {key: text}}, languages in column order)."""
    with open(path, encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    languages = rows[0][1:]
    table = {lang: {} for lang in languages}
    for row in rows[1:]:
        assert len(row) <= len(languages) + 1, "row %r has %d cells" % (row[0], len(row))
        row += [""] * (len(languages) + 1 - len(row))
        for lang, text in zip(languages, row[1:]):
            table[lang][row[0]] = text
    return table, languages
