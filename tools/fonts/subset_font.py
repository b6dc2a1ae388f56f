#!/usr/bin/python3
"""Cuts a Liberation Sans face down to the characters the game can show.

Keeps the TrueType hinting (the instructions and the tables they read), so
every kept glyph is drawn with exactly the pixels of the full face, and
drops what the game's text never reads: other characters, layout and
kerning tables, glyph names. The SIL Open Font License lets a modified
face be shipped only under a name other than its Reserved Font Names
("Liberation", "Arimo"), so the family is renamed; copyright and licence
stay in the face.

Usage: subset_font.py INPUT.ttf OUTPUT.ttf
"""
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Horalia Sans"

# The characters of the game's texts in English and the European languages
# it may be translated into: ASCII, Latin-1 Supplement, Latin Extended-A
# (Polish, Czech, Hungarian...) and the typographic punctuation they use.
UNICODES = (
    list(range(0x20, 0x7F))
    + list(range(0xA0, 0x100))
    + list(range(0x100, 0x180))
    + [0x2013, 0x2014,                           # en and em dash
       0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E,  # quotation marks
       0x2022, 0x2026, 0x2039, 0x203A,           # bullet, ellipsis, single guillemets
       0x20AC]                                   # euro sign
)

# FreeType's automatic hinter (used for small text) fits the superscript
# letters and digits among these (ª º ¹ ² ³) to zones it measures on these
# modifier letters; without them those five would get other pixels.
AUTOHINTER_SUPERSCRIPT_REFERENCES = "ᵀᴴᴱᴼᴸᵁᵇᵈᵏʰʲᶠᵉᵒʳˢˣᶜᶻᵖʸᵍ⁵⁷"


def subset_face(source, destination):
    options = subset.Options()
    options.hinting = True
    options.notdef_outline = True  # a missing character still shows the face's box
    options.glyph_names = False
    options.layout_features = []
    options.drop_tables += ["GSUB", "GPOS", "GDEF", "kern", "FFTM"]
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]  # copyright, names, version, licence
    options.name_legacy = True
    options.name_languages = ["*"]

    font = TTFont(source, recalcTimestamp=False)  # the same bytes at every build
    subsetter = subset.Subsetter(options)
    subsetter.populate(
        unicodes=UNICODES + [ord(c) for c in AUTOHINTER_SUPERSCRIPT_REFERENCES])
    subsetter.subset(font)
    rename(font)
    font.save(destination)


def rename(font):
    names = font["name"]
    style = names.getDebugName(2) or "Regular"
    postscript_style = style.replace(" ", "")
    full = FAMILY if style == "Regular" else f"{FAMILY} {style}"
    for record in list(names.names):
        if record.nameID in (1, 16):
            names.setName(FAMILY, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 3:
            names.setName(f"{FAMILY}: {style}", 3, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 4:
            names.setName(full, 4, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 6:
            names.setName(f"HoraliaSans-{postscript_style}", 6, record.platformID,
                          record.platEncID, record.langID)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    subset_face(sys.argv[1], sys.argv[2])
