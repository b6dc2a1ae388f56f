# Shared helpers for Horalia's resource generator: exact BMP and WAVE writers,
# keyed cut-out rendering, palette quantisation, the font used in pictures and
# the translation table that the captions come from.
# Everything here is deterministic so regenerated files are byte-identical.

import os
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

KEY = (246, 140, 197)          # see-through colour of every keyed picture
FONT_BOLD = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"
# The same letters narrower, for a button word too long for its face
# (Debian's fonts-liberation).
FONT_NARROW_BOLD = "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf"

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "fonts"))
from faces import FACES, faces_of, language_faces, read_table  # noqa: E402  (the faces and the table, shared with the build)
BITMAPS = os.path.join(ROOT, "resources", "bitmaps")
SOUNDS = os.path.join(ROOT, "resources", "sounds")
ICONS = os.path.join(ROOT, "resources", "icon")
DESKTOP_ICONS = os.path.join(ROOT, "resources", "desktop_icons")
DESKTOP_ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
TRANSLATIONS = os.path.join(ROOT, "resources", "translations.tsv")
ENGLISH = "en"


def translations():
    """The translation table: ({language: {key: text}}, languages in column order).
    Empty cells at the end of a row may be left out."""
    return read_table(TRANSLATIONS)


def bitmap_name(lang, name):
    """Where a picture of a language lives: English in bitmaps/, others in bitmaps/<lang>/."""
    return name if lang == ENGLISH else os.path.join(lang, name)


def font(size, narrow=False, faces=()):
    """Liberation Sans Bold (or its narrow cut), or the first of a language's
    own faces (tools/fonts/faces.py), which lays out its script's joined
    letters and conjuncts itself (libraqm: HarfBuzz and FriBidi)."""
    if faces:
        path, index, _, _ = FACES[faces[0]]
        return ImageFont.truetype(path, size, index=index, layout_engine=ImageFont.Layout.RAQM)
    return ImageFont.truetype(FONT_NARROW_BOLD if narrow else FONT_BOLD, size)


def place_text(draw, xy, text, size, anchor, faces=()):
    """Where and how to anchor text in a language's own face so that its
    letters stand where Liberation Sans's capitals would: their ink centred
    on the same height. (Those faces' ascents hold tall marks, so their
    "top" or "middle" would set the letters lower.) Returns (xy, anchor)."""
    if not faces:
        return xy, anchor
    top, bottom = draw.textbbox(xy, "H", font=font(size), anchor=anchor)[1::2]
    centre = (top + bottom) / 2
    top, bottom = draw.textbbox((0, 0), text, font=font(size, faces=faces), anchor=anchor[0] + "s")[1::2]
    return (xy[0], centre - (top + bottom) / 2), anchor[0] + "s"


_characters = {}


def check_drawable(text, faces=()):
    """Stops the run when the face that draws text lacks one of its characters."""
    from fontTools.ttLib import TTFont
    path, index, _, _ = FACES[faces[0] if faces else "sans"]
    if (path, index) not in _characters:
        _characters[(path, index)] = set(TTFont(path, fontNumber=index, lazy=True).getBestCmap())
    missing = [c for c in text if ord(c) not in _characters[(path, index)]]
    if missing:
        raise SystemExit("%s has no %s for %r" % (os.path.basename(path), missing, text))


# ---------------------------------------------------------------- BMP writer

def rle8_row(row):
    """One row in BI_RLE8 codes: runs of two or more equal pixels as (count,
    value), stretches of other pixels as absolute blocks (0, n, n bytes, padded
    to a word), a lone pixel as a run of one; the row ends with (0, 0)."""
    out = bytearray()
    n, i = len(row), 0
    while i < n:
        j = i
        while j < n and j - i < 255 and row[j] == row[i]:
            j += 1
        if j - i >= 2:
            out += bytes((j - i, row[i]))
            i = j
            continue
        k = i
        while k < n and k - i < 255 and not (k + 1 < n and row[k] == row[k + 1]):
            k += 1
        if k - i < 3:  # an absolute block needs three pixels at least
            for t in range(i, k):
                out += bytes((1, row[t]))
        else:
            out += bytes((0, k - i)) + bytes(row[i:k]) + (b"\0" if (k - i) % 2 else b"")
        i = k
    return bytes(out) + b"\0\0"


def bmp_bytes(indices, palette, bpp, rle=False):
    """Bottom-up Windows BMP (BITMAPINFOHEADER), BI_RGB or, for 8 bpp with rle,
    BI_RLE8 (the same pixels, run-length coded).

    indices: 2-D uint8 array of palette indices; palette: list of (r, g, b),
    padded here to exactly 2**bpp entries for BI_RGB; an RLE8 picture keeps
    just the palette it is given.
    """
    h, w = indices.shape
    assert not rle or bpp == 8, "run-length coding is for 8-bit pictures"
    ncol = len(palette) if rle else 1 << bpp
    pal = list(palette) + [(0, 0, 0)] * (ncol - len(palette))
    assert len(pal) == ncol, "palette too large for bit depth"
    assert int(indices.max()) < ncol
    if rle:
        pixels = b"".join(rle8_row(indices[y].astype(np.uint8).tobytes())
                          for y in range(h - 1, -1, -1)) + b"\0\1"
        pal_bytes = b"".join(struct.pack("<BBBB", b, g, r_, 0) for (r_, g, b) in pal)
        off = 14 + 40 + len(pal_bytes)
        info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 1, len(pixels), 2835, 2835, ncol, 0)
        head = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
        return head + info + pal_bytes + pixels
    row_bytes = ((w * bpp + 31) // 32) * 4
    rows = []
    for y in range(h - 1, -1, -1):          # bottom-up
        r = indices[y].astype(np.uint8)
        if bpp == 8:
            data = r.tobytes()
        elif bpp == 4:
            rr = r if w % 2 == 0 else np.append(r, 0).astype(np.uint8)
            data = ((rr[0::2] << 4) | rr[1::2]).astype(np.uint8).tobytes()
        elif bpp == 1:
            data = np.packbits(r.astype(np.uint8)).tobytes()
        else:
            raise ValueError(bpp)
        rows.append(data + b"\0" * (row_bytes - len(data)))
    pixels = b"".join(rows)
    pal_bytes = b"".join(struct.pack("<BBBB", b, g, r_, 0) for (r_, g, b) in pal)
    off = 14 + 40 + len(pal_bytes)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(pixels),
                       2835, 2835, ncol, 0)
    head = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
    return head + info + pal_bytes + pixels


def save_bmp(name, indices, palette, bpp):
    """8-bit pictures are stored run-length coded (far smaller, same pixels)."""
    path = os.path.join(BITMAPS, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(bmp_bytes(indices, palette, bpp, rle=bpp == 8))


def quantise(rgb, ncolours, keyed=True, dither=False):
    """Reduce an RGB image to a palette of at most ncolours.

    Pixels exactly equal to KEY keep the key colour as their own palette
    entry (index 0); every other pixel is quantised among the rest and is
    guaranteed never to land on the key colour by accident.
    Returns (indices array, palette list).
    """
    arr = np.asarray(rgb.convert("RGB")).copy()
    is_key = np.all(arr == KEY, axis=-1) if keyed else np.zeros(arr.shape[:2], bool)
    avail = ncolours - (1 if keyed else 0)
    if is_key.any():
        # fill key pixels with a neighbourless neutral so they do not steal
        # palette entries; they are overwritten with index 0 afterwards
        opaque = arr[~is_key]
        fillc = opaque[0] if len(opaque) else np.array([0, 0, 0])
        arr[is_key] = fillc
    img = Image.fromarray(arr, "RGB")
    q = img.quantize(colors=avail, method=Image.Quantize.MEDIANCUT,
                     dither=Image.Dither.FLOYDSTEINBERG if dither else Image.Dither.NONE)
    pal_flat = q.getpalette()[: 3 * avail]
    pal = [tuple(pal_flat[i:i + 3]) for i in range(0, len(pal_flat), 3)]
    pal += [(0, 0, 0)] * (avail - len(pal))
    idx = np.asarray(q).astype(np.int32)
    # never let an opaque colour be the key colour
    pal = [(c[0], c[1], c[2] - 1 if c[2] > 0 else 1) if tuple(c) == KEY else tuple(c)
           for c in pal]
    if keyed:
        pal = [KEY] + pal
        idx = idx + 1
        idx[is_key] = 0
    return idx.astype(np.uint8), pal


# ------------------------------------------------------ keyed cut-out drawing

def cutout(draw_fn, w, h, scale=8, threshold=0.5):
    """Render draw_fn(ImageDraw, scale) on a transparent supersampled canvas
    and bring it down to w x h with hard outer edges: a pixel is either the
    key colour or fully opaque.  Inside the shape, colours are averaged only
    among opaque samples, so nothing is ever blended with the key colour.
    """
    big = Image.new("RGBA", (w * scale, h * scale), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    draw_fn(d, scale)
    return reduce_rgba(big, w, h, scale, threshold)


def reduce_rgba(big, w, h, scale, threshold=0.5):
    """Box-reduce a supersampled RGBA picture to a keyed RGB one with hard
    outer edges (see cutout)."""
    a = np.asarray(big).astype(np.float64)
    a = a.reshape(h, scale, w, scale, 4)
    alpha = a[..., 3] / 255.0
    cov = alpha.mean(axis=(1, 3))
    prem = (a[..., :3] * alpha[..., None]).sum(axis=(1, 3))
    wsum = alpha.sum(axis=(1, 3))
    col = prem / np.maximum(wsum, 1e-9)[..., None]
    out = np.zeros((h, w, 3), np.uint8)
    out[:] = KEY
    opaque = cov >= threshold
    out[opaque] = np.clip(np.round(col[opaque]), 0, 255).astype(np.uint8)
    fix = opaque & np.all(out == KEY, axis=-1)
    out[fix] = (246, 140, 196)
    return Image.fromarray(out, "RGB")


def supersample(draw_fn, w, h, scale=4, bg=(255, 255, 255)):
    """Opaque picture drawn at scale x and reduced with a box filter."""
    big = Image.new("RGB", (w * scale, h * scale), bg)
    draw_fn(big, ImageDraw.Draw(big), scale)
    return big.resize((w, h), Image.Resampling.BOX)


def strip(rest, pressed):
    """Two faces side by side: rest on the left, pressed on the right."""
    w, h = rest.size
    s = Image.new("RGB", (w * 2, h), KEY)
    s.paste(rest, (0, 0))
    s.paste(pressed, (w, 0))
    return s


# --------------------------------------------------------------- WAVE writer

def wav_bytes(samples, rate, bits):
    """Canonical 44-byte-header RIFF WAVE, PCM mono.  samples in [-1, 1]."""
    x = np.clip(np.asarray(samples, np.float64), -1.0, 1.0)
    if bits == 16:
        data = np.round(x * 32767).astype("<i2").tobytes()
    elif bits == 8:
        data = np.clip(np.round(x * 127) + 128, 0, 255).astype(np.uint8).tobytes()
    else:
        raise ValueError(bits)
    ba = bits // 8
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * ba, ba, bits)
    body = (b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt +
            b"data" + struct.pack("<I", len(data)) + data)
    if len(data) % 2:
        body += b"\0"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def save_wav(name, samples, rate, bits):
    os.makedirs(SOUNDS, exist_ok=True)
    with open(os.path.join(SOUNDS, name), "wb") as f:
        f.write(wav_bytes(samples, rate, bits))
