# Draws Horalia's program icon, a friendly alarm-clock face: a 16-colour
# .ico with 32x32 and 16x16 images (4 bpp with AND mask) for the executable,
# the desktop's icon theme (PNGs of 16 to 256 pixels and a scalable SVG) and
# the web page's 192 and 512 pixel PNGs, all from the same shapes.

import math
import os
import struct

import numpy as np
from PIL import Image, ImageDraw

from common import DESKTOP_ICON_SIZES, DESKTOP_ICONS, ICONS, KEY, bmp_bytes, reduce_rgba


ICON_PALETTE = [
    (0, 0, 0), (160, 30, 20), (240, 70, 50), (200, 50, 36), (255, 140, 120),
    (255, 252, 236), (232, 226, 210), (190, 180, 170), (60, 60, 90), (130, 130, 150),
    (56, 57, 1), (131, 132, 1), (255, 181, 132), (100, 40, 30), (220, 160, 150),
    (255, 255, 255),
]


def clock_shapes(W, detail):
    """The icon's art as shapes on a W x W canvas, larger ones first:
    ("ellipse", box, fill, outline, outline width) and
    ("line", points, colour, width); colours are RGB, widths in canvas units."""
    shapes = []
    u = W / 32.0                      # drawing unit: 1/32 of the icon
    cx = W / 2
    cy = W / 2 + 1.2 * u
    # two bells on top
    if detail >= 1:
        for sx in (-1, 1):
            bx, by = cx + sx * 9.8 * u, 6.6 * u
            shapes.append(("ellipse", (bx - 5 * u, by - 4.2 * u, bx + 5 * u, by + 4.2 * u), (160, 30, 20), None, 0))
            shapes.append(("ellipse", (bx - 4 * u, by - 3.2 * u, bx + 4 * u, by + 3.2 * u), (240, 70, 50), None, 0))
    r = 14.0 * u
    shapes.append(("ellipse", (cx - r, cy - r, cx + r, cy + r), (160, 30, 20), None, 0))
    r2 = r - 1.6 * u
    shapes.append(("ellipse", (cx - r2, cy - r2, cx + r2, cy + r2), (240, 70, 50), None, 0))
    r3 = r2 - 2.2 * u
    shapes.append(("ellipse", (cx - r3, cy - r3, cx + r3, cy + r3), (255, 252, 236), None, 0))
    for i in range(12):
        if detail == 0 and i % 3:
            continue
        a = i * math.pi / 6
        r0 = r3 * (0.70 if i % 3 == 0 else 0.80)
        w = (1.8 if i % 3 == 0 else 1.0) * u
        shapes.append(("line", (cx + r0 * math.sin(a), cy - r0 * math.cos(a),
                                cx + 0.93 * r3 * math.sin(a), cy - 0.93 * r3 * math.cos(a)),
                       (60, 60, 90), w))
    hw = (2.8, 2.2) if detail else (4.6, 3.8)     # bolder hands on the small icon
    for ang, ln, wd, col in ((300, 0.55, hw[0], (131, 132, 1)), (60, 0.8, hw[1], (56, 57, 1))):
        a = math.radians(ang)
        shapes.append(("line", (cx, cy, cx + ln * r3 * math.sin(a), cy - ln * r3 * math.cos(a)), col, wd * u))
    rc = 1.8 * u
    shapes.append(("ellipse", (cx - rc, cy - rc, cx + rc, cy + rc), (255, 181, 132), (160, 30, 20), 0.6 * u))
    return shapes


def clock_rgba(size, scale, detail):
    W = size * scale
    big = Image.new("RGBA", (W, W), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    for kind, geometry, colour, *rest in clock_shapes(W, detail):
        if kind == "ellipse":
            outline, width = rest
            if outline:
                d.ellipse(geometry, fill=colour + (255,), outline=outline + (255,), width=max(1, int(width)))
            else:
                d.ellipse(geometry, fill=colour + (255,))
        else:
            d.line(geometry, fill=colour + (255,), width=max(1, int(rest[0])))
    return big


def clock_svg(detail):
    """The same art as a scalable SVG on a 32 x 32 view box."""
    def colour(c):
        return "#%02x%02x%02x" % c

    def number(v):
        return ("%.3f" % v).rstrip("0").rstrip(".")

    body = []
    for kind, g, c, *rest in clock_shapes(32, detail):
        if kind == "ellipse":
            outline, width = rest
            cx, cy, rx, ry = (g[0] + g[2]) / 2, (g[1] + g[3]) / 2, (g[2] - g[0]) / 2, (g[3] - g[1]) / 2
            stroke = ""
            if outline:   # the raster outline lies inside the box
                rx, ry = rx - width / 2, ry - width / 2
                stroke = ' stroke="%s" stroke-width="%s"' % (colour(outline), number(width))
            body.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"%s/>'
                        % (number(cx), number(cy), number(rx), number(ry), colour(c), stroke))
        else:
            body.append('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="%s"/>'
                        % (*(number(v) for v in g), colour(c), number(rest[0])))
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 32 32">\n'
            + "".join("  %s\n" % e for e in body) + "</svg>\n")


def icon_image(size):
    big = clock_rgba(size, 8, 1 if size >= 32 else 0)
    rgb = reduce_rgba(big, size, size, 8)
    # a fixed 16-colour palette keeps every small detail (hands, centre) in
    # its own colour instead of letting an adaptive palette merge it away
    key = np.all(np.asarray(rgb) == KEY, axis=-1)
    pimg = Image.new("P", (1, 1))
    flat = [c for col in ICON_PALETTE for c in col]
    pimg.putpalette(flat + flat[-3:] * (256 - len(ICON_PALETTE)))
    q = rgb.convert("RGB").quantize(palette=pimg, dither=Image.Dither.NONE)
    idx = np.asarray(q).astype(np.uint8)
    idx[key] = 0
    pal = list(ICON_PALETTE)
    mask = key                         # transparent pixels: black XOR, AND 1
    bmp = bmp_bytes(idx, pal, 4)[14:]  # drop the file header
    hdr = bytearray(bmp[:40])
    struct.pack_into("<i", hdr, 8, size * 2)     # XOR + AND height
    xor_part = bmp[40:]
    and_row = ((size + 31) // 32) * 4
    and_bytes = b""
    for y in range(size - 1, -1, -1):
        bits = np.packbits(mask[y].astype(np.uint8)).tobytes()
        and_bytes += bits + b"\0" * (and_row - len(bits))
    struct.pack_into("<I", hdr, 20, len(xor_part) - 64 + len(and_bytes))
    return bytes(hdr) + xor_part + and_bytes


# The maskable icon's background, the game's sky.
MASKABLE_BACKGROUND = (125, 195, 240, 255)


def maskable_rgba(size):
    """The art on a full square of sky, inside the circle of 40 % of the size
    around the middle that every launcher's shape (circle, squircle, rounded
    square) keeps: the clock's face at the middle, its bells within reach."""
    # The bells' outer edges lie 19.5 drawing units from the face's middle.
    art = round(size * 0.4 * 32 / 19.5)
    unit = art / 32
    picture = Image.new("RGBA", (size, size), MASKABLE_BACKGROUND)
    clock = clock_rgba(art, 4, 1).resize((art, art), Image.Resampling.BOX)
    picture.alpha_composite(clock, (round((size - art) / 2), round(size / 2 - (art / 2 + 1.2 * unit))))
    return picture


def web_icons():
    """192 and 512 pixels for the web page's manifest (home screens and
    install dialogs), and a maskable 512 for launchers that cut icons to
    their own shape, in 128 colours: the flat art looks the same and the
    files, which every visitor downloads, are a third as large."""
    pictures = [("icon-%d.png" % size, clock_rgba(size, 4, 1).resize((size, size), Image.Resampling.BOX))
                for size in (192, 512)]
    pictures.append(("icon-maskable-512.png", maskable_rgba(512)))
    for name, png in pictures:
        png = png.quantize(colors=128, method=Image.Quantize.FASTOCTREE, dither=Image.Dither.NONE)
        png.save(os.path.join(ICONS, name), optimize=True)


def build():
    os.makedirs(ICONS, exist_ok=True)
    images = [(32, icon_image(32)), (16, icon_image(16))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b"".join(d for _, d in images)
    with open(os.path.join(ICONS, "horalia.ico"), "wb") as f:
        f.write(out)
    # The desktop's icon theme: each size drawn afresh, with the bolder hands
    # and fewer ticks of the small icon below 32 pixels, and the SVG.
    os.makedirs(DESKTOP_ICONS, exist_ok=True)
    for size in DESKTOP_ICON_SIZES:
        detail = 1 if size >= 32 else 0
        png = clock_rgba(size, max(4, 512 // size), detail).resize((size, size), Image.Resampling.BOX)
        png.save(os.path.join(DESKTOP_ICONS, "horalia-%d.png" % size), optimize=False)
    with open(os.path.join(DESKTOP_ICONS, "horalia.svg"), "w") as f:
        f.write(clock_svg(1))
    web_icons()


if __name__ == "__main__":
    build()
