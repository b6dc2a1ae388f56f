# Draws Horalia's small keyed pictures: the button strips (menu, arrows,
# check, OK, Reset), the level marker star, the tick and the exit icon.
# Each is rendered supersampled, then reduced with hard edges against the key.

import math

import numpy as np
from PIL import Image, ImageDraw

from common import (ENGLISH, KEY, bitmap_name, check_drawable, font, language_faces, place_text, reduce_rgba, quantise, save_bmp,
                    strip, translations)

S = 8  # supersampling factor


def darker(c, f):
    return tuple(int(round(v * f)) for v in c)


def lighter(c, f):
    return tuple(int(round(v + (255 - v) * f)) for v in c)


def rounded_mask(size, box, radius):
    m = Image.new("L", size, 0)
    ImageDraw.Draw(m).rounded_rectangle(box, radius=radius, fill=255)
    return m


def vgradient(size, top, bottom, y0=0, y1=None):
    w, h = size
    y1 = h if y1 is None else y1
    t = np.clip((np.arange(h) - y0) / max(1, (y1 - y0 - 1)), 0, 1)[:, None, None]
    g = np.array(top)[None, None, :] * (1 - t) + np.array(bottom)[None, None, :] * t
    g = np.repeat(g, w, axis=1)
    return Image.fromarray(np.round(g).astype(np.uint8), "RGB")


def button_body(w, h, base, outline, pressed, radius=7, ellipse=False):
    """Supersampled RGBA body of a glossy button face.

    The pressed face is darker, its gloss is dimmer and a shadow lines its
    top edge, so it reads as pushed in.
    """
    W, H = w * S, h * S
    big = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    r = radius * S
    outer = (0, 0, W - 1, H - 1)
    ow = int(1.5 * S)
    inner = (ow, ow, W - 1 - ow, H - 1 - ow)

    def shape(box, rad):
        if ellipse:
            m = Image.new("L", (W, H), 0)
            ImageDraw.Draw(m).ellipse(box, fill=255)
            return m
        return rounded_mask((W, H), box, rad)

    out_col = darker(outline, 0.85) if pressed else outline
    big.paste(Image.new("RGBA", (W, H), out_col + (255,)), (0, 0), shape(outer, r))
    if pressed:
        top, bot = darker(base, 0.72), darker(base, 0.9)
    else:
        top, bot = lighter(base, 0.35), darker(base, 0.92)
    grad = vgradient((W, H), top, bot).convert("RGBA")
    big.paste(grad, (0, 0), shape(inner, max(1, r - ow)))
    # gloss on the upper half (a lighter band), dimmer when pressed
    gl = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    gd = ImageDraw.Draw(gl)
    alpha = 40 if pressed else 95
    gbox = (ow + 2 * S, ow + (3 if pressed else 1) * S, W - 1 - ow - 2 * S, H // 2)
    if ellipse:
        gd.ellipse((ow + 4 * S, ow + 2 * S, W - 1 - ow - 4 * S, H // 2 + S), fill=(255, 255, 255, alpha))
    else:
        gd.rounded_rectangle(gbox, radius=max(1, r - 2 * S), fill=(255, 255, 255, alpha))
    if pressed:
        sh = Image.new("RGBA", (W, H), (0, 0, 0, 0))
        ImageDraw.Draw(sh).rectangle((0, 0, W, ow + 2 * S), fill=(0, 0, 0, 70))
        m = shape(inner, max(1, r - ow))
        gl = Image.alpha_composite(gl, Image.composite(sh, Image.new("RGBA", (W, H), (0, 0, 0, 0)), m))
    m = shape(inner, max(1, r - ow))
    gl = Image.composite(gl, Image.new("RGBA", (W, H), (0, 0, 0, 0)), m)
    big = Image.alpha_composite(big, gl)
    return big


def text_on(big, text, size, centre, fill=(255, 255, 255), stroke=None, shadow=True, narrow=False, faces=()):
    d = ImageDraw.Draw(big)
    f = font(size * S, narrow, faces)
    (cx, cy), anchor = place_text(d, centre, text, size * S, "mm", faces)
    if shadow:
        d.text((cx + S, cy + S), text, font=f, anchor=anchor, fill=(0, 0, 0, 90))
    if stroke:
        d.text((cx, cy), text, font=f, anchor=anchor, fill=fill,
               stroke_width=int(1.2 * S), stroke_fill=stroke)
    else:
        d.text((cx, cy), text, font=f, anchor=anchor, fill=fill)


def face(w, h, base, outline, content, pressed, radius=7, ellipse=False):
    big = button_body(w, h, base, outline, pressed, radius, ellipse)
    off = S if pressed else 0          # content sinks 1 px when pressed
    layer = Image.new("RGBA", big.size, (0, 0, 0, 0))
    content(layer, off)
    big = Image.alpha_composite(big, layer)
    return reduce_rgba(big, w, h, S)


# ------------------------------------------------------------------ buttons

ORANGE, ORANGE_EDGE = (255, 146, 38), (176, 78, 8)
GREEN, GREEN_EDGE = (92, 192, 64), (34, 110, 30)
BLUE, BLUE_EDGE = (74, 146, 236), (28, 72, 156)
RED, RED_EDGE = (236, 78, 70), (150, 26, 26)
TEAL, TEAL_EDGE = (40, 182, 196), (14, 100, 116)


def arrow_face(up, pressed):
    w, h = 40, 20

    def content(layer, off):
        d = ImageDraw.Draw(layer)
        cx, cy = 20 * S, 10 * S + off
        hw, hh = 9 * S, 5 * S
        if up:
            pts = [(cx - hw, cy + hh), (cx + hw, cy + hh), (cx, cy - hh)]
        else:
            pts = [(cx - hw, cy - hh), (cx + hw, cy - hh), (cx, cy + hh)]
        sh = [(x + S, y + S) for x, y in pts]
        d.polygon(sh, fill=(0, 0, 0, 80))
        d.polygon(pts, fill=(255, 255, 255, 255), outline=ORANGE_EDGE + (255,), width=S)
    return face(w, h, ORANGE, ORANGE_EDGE, content, pressed, radius=8)


def mini_clock(d, cx, cy, r, edge):
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=(255, 255, 255, 255),
              outline=edge + (255,), width=int(1.6 * S))
    for i in range(12):
        a = i * math.pi / 6
        r0 = r * (0.66 if i % 3 == 0 else 0.78)
        d.line((cx + r0 * math.sin(a), cy - r0 * math.cos(a),
                cx + 0.86 * r * math.sin(a), cy - 0.86 * r * math.cos(a)),
               fill=(90, 90, 90, 255), width=int(0.8 * S))
    # hands at ten past ten
    for ang, ln, wd, col in ((300, 0.5, 1.8, (131, 132, 1)), (60, 0.72, 1.4, (56, 57, 1))):
        a = math.radians(ang)
        d.line((cx, cy, cx + ln * r * math.sin(a), cy - ln * r * math.cos(a)),
               fill=col + (255,), width=int(wd * S))
    d.ellipse((cx - 1.5 * S, cy - 1.5 * S, cx + 1.5 * S, cy + 1.5 * S), fill=(255, 181, 132, 255))


def check_mark(d, pts, width, col, edge):
    d.line(pts, fill=edge + (255,), width=width + 2 * S, joint="curve")
    for p in (pts[0], pts[-1]):
        rr = (width + 2 * S) / 2
        d.ellipse((p[0] - rr, p[1] - rr, p[0] + rr, p[1] + rr), fill=edge + (255,))
    d.line(pts, fill=col + (255,), width=width, joint="curve")
    for p in (pts[0], pts[-1]):
        rr = width / 2
        d.ellipse((p[0] - rr, p[1] - rr, p[0] + rr, p[1] + rr), fill=col + (255,))


def check_face(pressed):
    w, h = 60, 30

    def content(layer, off):
        d = ImageDraw.Draw(layer)
        mini_clock(d, 19 * S, 15 * S + off, 10.5 * S, GREEN_EDGE)
        pts = [(35 * S, 15 * S + off), (40 * S, 20.5 * S + off), (50 * S, 8.5 * S + off)]
        check_mark(d, pts, int(3.2 * S), (255, 255, 255), GREEN_EDGE)
    return face(w, h, GREEN, GREEN_EDGE, content, pressed, radius=10)


def menu_face(pressed):
    w, h = 30, 30

    def content(layer, off):
        d = ImageDraw.Draw(layer)
        # three rising bars: the way to the level choice
        for i, bh in enumerate((5, 9, 13)):
            x0 = (8 + i * 5) * S
            y1 = 21 * S + off
            d.rounded_rectangle((x0 + S, y1 - bh * S + S, x0 + 4 * S, y1 + S), radius=S,
                                fill=(0, 0, 0, 80))
            d.rounded_rectangle((x0, y1 - bh * S, x0 + 3.5 * S, y1), radius=S,
                                fill=(255, 255, 255, 255))
        # a little star over the top bar
    return face(w, h, BLUE, BLUE_EDGE, content, pressed, radius=15, ellipse=True)


def label_face(text, base, edge, pressed, size=16, faces=()):
    """A worded button face; a word too wide for it at its size is set in the
    narrow cut of the same letters, never smaller."""
    w, h = 60, 30
    check_drawable(text, faces)
    def width(narrow):
        return font(size * S, narrow, faces).getlength(text) / S + 2 * 1.2
    narrow = width(False) > w - 6 and not faces  # 3 px clear of each side of the face
    if width(narrow) > w - 6:
        raise SystemExit("button word %r (%.1f px wide) does not fit its %d px face" % (text, width(narrow), w))

    def content(layer, off):
        text_on(layer, text, size, (30 * S, 15 * S + off), stroke=edge, narrow=narrow, faces=faces)
    return face(w, h, base, edge, content, pressed, radius=10)


# ------------------------------------------------------------ cut-out marks

def star_points(cx, cy, ro, ri, n=5, rot=-90):
    pts = []
    for k in range(2 * n):
        r = ro if k % 2 == 0 else ri
        a = math.radians(rot + k * 180 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def level_marker():
    def draw(d, s):
        c = 7.5 * s
        d.polygon(star_points(c, c + 0.4 * s, 7.6 * s, 3.9 * s), fill=(196, 108, 0, 255))
        d.polygon(star_points(c, c + 0.5 * s, 6.0 * s, 3.0 * s), fill=(255, 206, 36, 255))
        d.polygon(star_points(c - 0.8 * s, c - 0.6 * s, 2.4 * s, 1.1 * s), fill=(255, 246, 170, 255))
    from common import cutout
    return cutout(draw, 15, 15, S)


def tick():
    def draw(d, s):
        pts = [(1.6 * s, 5.4 * s), (4.0 * s, 8.0 * s), (8.6 * s, 1.6 * s)]
        check_mark(d, pts, int(2.0 * s), (30, 170, 40), (10, 80, 20))
    from common import cutout
    return cutout(draw, 10, 10, S)


def exit_icon():
    def draw(d, s):
        d.ellipse((0, 0, 20 * s - 1, 20 * s - 1), fill=RED_EDGE + (255,))
        d.ellipse((1.4 * s, 1.4 * s, 18.6 * s, 18.6 * s), fill=RED + (255,))
        d.ellipse((4 * s, 2.5 * s, 16 * s, 9 * s), fill=(255, 150, 140, 255))
        d.ellipse((2.6 * s, 4.2 * s, 17.4 * s, 18 * s), fill=RED + (255,))
        for (a, b) in (((6, 6), (14, 14)), ((14, 6), (6, 14))):
            d.line((a[0] * s, a[1] * s, b[0] * s, b[1] * s), fill=(255, 255, 255, 255),
                   width=int(3 * s))
        for p in ((6, 6), (14, 14), (14, 6), (6, 14)):
            d.ellipse(((p[0] - 1.5) * s, (p[1] - 1.5) * s, (p[0] + 1.5) * s, (p[1] + 1.5) * s),
                      fill=(255, 255, 255, 255))
    from common import cutout
    return cutout(draw, 20, 20, S)


def build():
    pics = {}
    pics["menu_button.bmp"] = (strip(menu_face(False), menu_face(True)), 8)
    pics["arrow_up.bmp"] = (strip(arrow_face(True, False), arrow_face(True, True)), 8)
    pics["arrow_down.bmp"] = (strip(arrow_face(False, False), arrow_face(False, True)), 8)
    pics["check_button.bmp"] = (strip(check_face(False), check_face(True)), 8)
    # The worded buttons in every language whose word differs from English.
    table, languages = translations()
    for lang in languages:
        for key, name, colours, size in (("button.ok", "ok_button.bmp", (GREEN, GREEN_EDGE), 18),
                                         ("button.reset", "reset_button.bmp", (ORANGE, ORANGE_EDGE), 15)):
            word = table[lang][key]
            if lang != ENGLISH and word == table[ENGLISH][key]:
                continue
            faces = language_faces(table, lang)
            pics[bitmap_name(lang, name)] = (strip(label_face(word, *colours, False, size, faces),
                                                   label_face(word, *colours, True, size, faces)), 4)
    pics["level_marker.bmp"] = (level_marker(), 4)
    pics["tick.bmp"] = (tick(), 4)
    pics["exit_icon.bmp"] = (exit_icon(), 4)
    for name, (img, bpp) in pics.items():
        idx, pal = quantise(img, 1 << bpp, keyed=True)
        save_bmp(name, idx, pal, bpp)
    return pics


if __name__ == "__main__":
    build()
