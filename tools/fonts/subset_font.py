#!/usr/bin/python3
"""Cuts a face down to exactly the characters that the game's texts in the
translation table give it to draw.

Liberation Sans Bold ("sans") keeps printable ASCII and every character of
every language's texts that it has (Regular, "sans-regular", which no text
of the game uses, printable ASCII only); a language's own face
(Noto Sans Arabic, Devanagari, CJK) keeps the characters of the texts of
the languages that name it in the table's "faces" row, and the digits that
numbers are filled in with. The cut stops the build when a language's text
has a character that none of its faces nor Liberation Sans has.

Each cut keeps what draws its kept characters exactly as the full face
does: the TrueType hinting (the instructions and the tables they read) and,
for the faces whose letters join or combine (Arabic, Devanagari), the layout
tables with every glyph their rules reach. Liberation Sans keeps no layout
tables: its letters are drawn one by one. A face's Windows ascent and
descent become the extremes of its kept glyphs, so that a line's cell holds
exactly what the table shows. A face made of PostScript (CFF) outlines is
converted to TrueType outlines (cubic to quadratic curves, within one font
unit), which FreeType's automatic hinter hints: the cut-down FreeType of the
browser and Windows builds then needs no PostScript driver. The SIL Open
Font License lets a modified face be shipped only under a name other than
its Reserved Font Names ("Liberation", "Arimo"), so every cut is renamed;
copyright and licence stay in the face.

Usage: subset_font.py TABLE.tsv FACE OUTPUT.ttf [SOURCE]
  FACE: a name of tools/fonts/faces.py; SOURCE: the face's file, when it is
  not where Debian puts it.
"""
import os
import sys

from fontTools import subset
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont, newTable

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from faces import FACES, drawn_texts, language_faces, read_table  # noqa: E402

PRINTABLE_ASCII = [chr(c) for c in range(0x20, 0x7F)]
# What numbers are filled in with: digits and the minus sign.
NUMBERS = "0123456789-"

# FreeType's automatic hinter (used for Liberation Sans's small text and for
# faces without instructions) fits a script's glyphs to zones that it
# measures on these characters of the script (its blue strings): a cut that
# kept some of a script's glyphs without them would be hinted otherwise.
AUTOHINTER_REFERENCES = {
    "latin": "THEZOCQSLUfijkdbhuvxzoesnrpqgy",
    # superscript letters and digits (ª º ¹ ² ³ fit to these modifier letters)
    "latin superscript": "ᵀᴴᴱᴼᴸᵁᵇᵈᵏʰʲᶠᵉᵒʳˢˣᶜᶻᵖʸᵍ⁵⁷",
    "cyrillic": "БВЕПЗОСЭШхпншезосруф",
    "greek": "ΓΒΕΖΘΟΩΔΞβθδζλξαειοπστωγημρφχψ",
}


def script_of(character):
    code = ord(character)
    if 0x400 <= code < 0x530:
        return "cyrillic"
    if 0x370 <= code < 0x400 or 0x1F00 <= code < 0x2000:
        return "greek"
    if character in "ªº¹²³":
        return "latin superscript"
    return "latin"


def full_face(name, source):
    path, index, _, package = FACES[name]
    path = source or path
    if not os.path.exists(path):
        sys.exit("%s not found: install the Debian package %s" % (path, package))
    return TTFont(path, fontNumber=index, recalcTimestamp=False)  # the same bytes at every build


def characters_for(table, languages, name):
    """The characters the face must keep, and the check that every
    language's text has a face for each of its characters. No text of the
    game is drawn in Liberation Sans Regular (every one is bold): it keeps
    printable ASCII for lighter text that the platform may be asked for."""
    sans = FACES["sans"][0]
    covered_by_sans = set(chr(c) for c in TTFont(sans, lazy=True).getBestCmap())
    own = {}
    wanted = set()
    for lang in languages:
        faces = language_faces(table, lang)
        for face in faces:
            if face not in own:
                own[face] = set(chr(c) for c in full_face(face, None).getBestCmap())
        for text in drawn_texts(table, lang):
            for c in text + NUMBERS:
                drawer = next((f for f in faces if c in own[f]), "sans" if c in covered_by_sans else None)
                if drawer is None:
                    sys.exit("%s: no face has %r (U+%04X) of %r" % (lang, c, ord(c), text))
                if drawer == name:
                    wanted.add(c)
    if name == "sans-regular":
        return set(PRINTABLE_ASCII)
    if name == "sans":
        wanted |= set(PRINTABLE_ASCII)
        for script in sorted({script_of(c) for c in wanted}):
            wanted |= set(AUTOHINTER_REFERENCES[script])
    return wanted


def to_truetype_outlines(font):
    """Replaces PostScript outlines by TrueType ones of the same shapes."""
    order = font.getGlyphOrder()
    glyphs = font.getGlyphSet()
    font["loca"] = newTable("loca")
    font["glyf"] = glyf = newTable("glyf")
    glyf.glyphOrder = order
    glyf.glyphs = {}
    for glyph in order:
        pen = TTGlyphPen(glyphs)
        glyphs[glyph].draw(Cu2QuPen(pen, 1.0, reverse_direction=True))
        glyf[glyph] = pen.glyph()
    for table in ("CFF ", "VORG"):
        if table in font:
            del font[table]
    font["head"].glyphDataFormat = 0
    maxp = font["maxp"] = newTable("maxp")
    maxp.tableVersion = 0x00010000
    for field in ("maxZones", "maxTwilightPoints", "maxStorage", "maxFunctionDefs", "maxInstructionDefs",
                  "maxStackElements", "maxSizeOfInstructions", "maxComponentElements"):
        setattr(maxp, field, 0)
    maxp.maxZones = 1
    font["post"].formatType = 3.0
    font.sfntVersion = "\0\1\0\0"


def fit_cell_to_glyphs(font):
    """The Windows ascent and descent: the extremes of the kept glyphs."""
    glyf = font["glyf"]
    top, bottom = 0, 0
    for glyph in font.getGlyphOrder():
        g = glyf[glyph]
        if g.numberOfContours:
            g.recalcBounds(glyf)
            top, bottom = max(top, g.yMax), min(bottom, g.yMin)
    font["OS/2"].usWinAscent = top
    font["OS/2"].usWinDescent = -bottom


def rename(font, family):
    names = font["name"]
    style = "Bold" if font["OS/2"].fsSelection & 0x20 else "Regular"
    postscript = family.replace(" ", "") + "-" + style
    full = family if style == "Regular" else "%s %s" % (family, style)
    for record in list(names.names):
        if record.nameID in (1, 16):
            names.setName(family, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID in (2, 17):
            names.setName(style, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 3:
            names.setName("%s: %s" % (family, style), 3, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 4:
            names.setName(full, 4, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 6:
            names.setName(postscript, 6, record.platformID, record.platEncID, record.langID)


def cut(table_path, name, destination, source=None):
    table, languages = read_table(table_path)
    font = full_face(name, source)
    options = subset.Options()
    options.hinting = True
    options.notdef_outline = True  # a missing character still shows the face's box
    options.glyph_names = False
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]  # copyright, names, version, licence
    options.name_legacy = True
    options.name_languages = ["*"]
    if name.startswith("sans"):
        options.layout_features = []
        options.drop_tables += ["GSUB", "GPOS", "GDEF", "kern", "FFTM"]
    else:
        # fontTools's own list: what shapers apply to horizontal text of every script
        options.drop_tables += ["DSIG", "BASE", "vhea", "vmtx", "FFTM"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(ord(c) for c in characters_for(table, languages, name)))
    subsetter.subset(font)
    if not name.startswith("sans"):
        if "CFF " in font:
            to_truetype_outlines(font)
        fit_cell_to_glyphs(font)
    rename(font, FACES[name][2])
    font.save(destination)


if __name__ == "__main__":
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    cut(*sys.argv[1:])
