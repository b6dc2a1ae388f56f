# Checks the generated resources against the sizes and formats the game
# relies on (bitmap dimensions, depths, palettes, keyed edges; WAVE headers,
# rates, depths and lengths).  Exits non-zero on any mismatch.

import os
import struct
import sys

import numpy as np

from common import BITMAPS, ENGLISH, ICONS, KEY, SOUNDS, bitmap_name, translations

BITMAP_TABLE = {
    "level_marker.bmp": (15, 15, 4, True), "menu_button.bmp": (60, 30, 8, True),
    "tick.bmp": (10, 10, 4, True), "level_background.bmp": (240, 320, 8, False),
    "ok_button.bmp": (120, 30, 4, True), "reset_button.bmp": (120, 30, 4, True),
    "title.bmp": (240, 320, 8, False), "game_background.bmp": (240, 320, 8, False),
    "arrow_down.bmp": (80, 20, 8, True), "arrow_up.bmp": (80, 20, 8, True),
    "check_button.bmp": (120, 30, 8, True), "exit_icon.bmp": (20, 20, 4, True),
    "game_caption.bmp": (84, 23, 8, False), "title_caption.bmp": (240, 28, 8, False),
}
# The pictures with words that every other language has (or shares with English).
WORDED = {"level_background.bmp", "ok_button.bmp", "reset_button.bmp", "game_caption.bmp",
          "title_caption.bmp"}
_, LANGUAGES = translations()
for _lang in LANGUAGES:
    for _name in WORDED:
        if _lang != ENGLISH and os.path.exists(os.path.join(BITMAPS, bitmap_name(_lang, _name))):
            BITMAP_TABLE[bitmap_name(_lang, _name)] = BITMAP_TABLE[_name]

# name: (rate, bits, exact file size or None, approximate seconds)
WAVE_TABLE = {
    "click.wav": (11025, 16, 638, None), "level_up.wav": (22050, 8, None, 1.7),
    "switch.wav": (22050, 16, 5824, None), "right.wav": (11025, 8, None, 3.3),
    "wrong.wav": (22050, 16, None, 0.069), "opening.wav": (11025, 8, 19040, None),
}

errors = []
# A language may share OK and Reset with English, never the pictures of sentences.
for _lang in LANGUAGES:
    for _name in ("level_background.bmp", "game_caption.bmp", "title_caption.bmp"):
        if not os.path.exists(os.path.join(BITMAPS, bitmap_name(_lang, _name))):
            errors.append("%s: missing" % bitmap_name(_lang, _name))


def rle8(b, off, w, h):
    """Decodes BI_RLE8 pixels strictly: every code must stay inside the picture."""
    idx = np.zeros((h, w), np.uint8)
    x = y = 0
    at = off
    while True:
        count, value = b[at], b[at + 1]
        at += 2
        if count:
            assert x + count <= w and y < h, "run leaves the picture"
            idx[h - 1 - y, x:x + count] = value
            x += count
        elif value == 0:
            x, y = 0, y + 1
        elif value == 1:
            assert at == len(b), "bytes after the end of the picture"
            return idx
        else:
            assert value >= 3 and x + value <= w and y < h, "absolute block leaves the picture"
            idx[h - 1 - y, x:x + value] = np.frombuffer(b, np.uint8, value, at)
            x += value
            at += value + (value & 1)


def fail(msg):
    errors.append(msg)


def read_bmp(path):
    b = open(path, "rb").read()
    magic, fsize, _, _, off = struct.unpack_from("<2sIHHI", b, 0)
    hs, w, h, planes, bpp, comp, isz, _, _, clr, _ = struct.unpack_from("<IiiHHIIiiII", b, 14)
    assert magic == b"BM" and fsize == len(b) and hs == 40 and planes == 1
    assert h > 0, "must be bottom-up"
    ncol = 1 << bpp
    if comp == 1:  # 8-bit pictures are run-length coded with a palette of the colours they use
        assert bpp == 8 and 0 < clr <= ncol and off == 14 + 40 + 4 * clr and isz == len(b) - off
        pal = [tuple(b[54 + 4 * i:54 + 4 * i + 3][::-1]) for i in range(clr)]
        return w, h, bpp, pal, rle8(b, off, w, h)
    assert comp == 0 and bpp != 8, "8-bit pictures must be run-length coded"
    assert clr == ncol and off == 14 + 40 + 4 * ncol
    pal = [tuple(b[54 + 4 * i:54 + 4 * i + 3][::-1]) for i in range(ncol)]
    row = ((w * bpp + 31) // 32) * 4
    assert len(b) == off + row * h
    idx = np.zeros((h, w), np.uint8)
    for y in range(h):
        r = np.frombuffer(b, np.uint8, row, off + (h - 1 - y) * row)
        if bpp == 8:
            idx[y] = r[:w]
        else:
            idx[y] = np.stack([r >> 4, r & 15], 1).reshape(-1)[:w]
    return w, h, bpp, pal, idx


for name, (w, h, bpp, keyed) in BITMAP_TABLE.items():
    try:
        bw, bh, bbpp, pal, idx = read_bmp(os.path.join(BITMAPS, name))
    except Exception as e:          # noqa: BLE001
        fail("%s: unreadable (%s)" % (name, e))
        continue
    if (bw, bh, bbpp) != (w, h, bpp):
        fail("%s: %dx%d %d bpp" % (name, bw, bh, bbpp))
    rgb = np.array(pal, np.int32)[idx]
    is_key = np.all(rgb == KEY, axis=-1)
    near = (np.abs(rgb - np.array(KEY)).sum(-1) < 60) & ~is_key
    if keyed and near.any():
        fail("%s: %d pixels blended towards the key colour" % (name, near.sum()))
    if keyed and not is_key.any():
        fail("%s: no see-through pixels" % name)
    if not keyed and is_key.any():
        fail("%s: background holds the key colour" % name)

for name, (rate, bits, size, secs) in WAVE_TABLE.items():
    b = open(os.path.join(SOUNDS, name), "rb").read()
    riff, rsz, wave, fmt, fsz = struct.unpack_from("<4sI4s4sI", b, 0)
    tag, ch, sr, brate, align, bps = struct.unpack_from("<HHIIHH", b, 20)
    data, dsz = struct.unpack_from("<4sI", b, 36)
    ok = (riff == b"RIFF" and wave == b"WAVE" and fmt == b"fmt " and fsz == 16 and data == b"data"
          and tag == 1 and ch == 1 and sr == rate and bps == bits and rsz == len(b) - 8
          and dsz == len(b) - 44 and brate == rate * bits // 8 and align == bits // 8)
    if not ok:
        fail("%s: header" % name)
    if size is not None and len(b) != size:
        fail("%s: %d bytes, wanted %d" % (name, len(b), size))
    if secs is not None:
        got = dsz / (rate * bits // 8)
        if abs(got - secs) > 0.05 * secs + 0.002:
            fail("%s: %.3f s, wanted about %.3f" % (name, got, secs))

ico = open(os.path.join(ICONS, "horalia.ico"), "rb").read()
_, typ, count = struct.unpack_from("<HHH", ico, 0)
sizes = [struct.unpack_from("<BBBBHH", ico, 6 + 16 * i) for i in range(count)]
if typ != 1 or sorted((s[0], s[2], s[5]) for s in sizes) != [(16, 16, 4), (32, 16, 4)]:
    fail("horalia.ico: %r" % sizes)

if errors:
    print("\n".join(errors))
    sys.exit(1)
print("all resources check out")
