# Paints Horalia's three full-screen 240x320 pictures: the game background
# with its printed dial, the level-choice background with its boxes and
# captions, and the title picture.  Drawn at 4x, reduced, then quantised.
# Every language gets its own level background; of the game and title
# pictures only the strip that carries words is kept per language (a caption
# picture the screen lays over the English one), which keeps the resources small.

import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from common import ENGLISH, bitmap_name, check_drawable, faces_of, font, place_text, quantise, save_bmp, translations

K = 4                      # supersampling factor
W, H = 240, 320


def P(*v):
    """Screen pixels to canvas pixels."""
    return tuple(x * K for x in v) if len(v) > 1 else int(round(v[0] * K))


def vgrad(top, bottom, y0, y1, w=W * K, h=H * K):
    t = np.clip((np.arange(h) - y0 * K) / max(1, (y1 - y0) * K), 0, 1)[:, None, None]
    g = np.array(top)[None, None, :] * (1 - t) + np.array(bottom)[None, None, :] * t
    return Image.fromarray(np.round(np.repeat(g, w, axis=1)).astype(np.uint8), "RGB")


def paste_shape(img, colour, draw_mask, blur=0):
    """Fill the area that draw_mask(ImageDraw) paints with colour
    (a colour tuple or an RGB image of the canvas size)."""
    m = Image.new("L", img.size, 0)
    draw_mask(ImageDraw.Draw(m))
    if blur:
        m = m.filter(ImageFilter.GaussianBlur(blur * K))
    src = colour if isinstance(colour, Image.Image) else Image.new("RGB", img.size, colour)
    img.paste(src, (0, 0), m)


def soft_shadow(img, draw_mask, dx=1.5, dy=2, strength=60, blur=2.0):
    m = Image.new("L", img.size, 0)
    draw_mask(ImageDraw.Draw(m), dx * K, dy * K)
    m = m.filter(ImageFilter.GaussianBlur(blur * K)).point(lambda v: v * strength // 255)
    img.paste(Image.new("RGB", img.size, (0, 0, 0)), (0, 0), m)


def hill(img, pts_fn, colour):
    """A hill whose crest is y = pts_fn(x) (screen px), filled down to the bottom."""
    xs = np.linspace(-2, W + 2, 200)
    poly = [(x * K, pts_fn(x) * K) for x in xs] + [((W + 2) * K, H * K + 4), (-2 * K, H * K + 4)]
    paste_shape(img, colour, lambda d: d.polygon(poly, fill=255))


def cloud(img, cx, cy, s, colour=(255, 255, 255)):
    blobs = [(-1.0, 0.25, 0.75), (-0.35, -0.2, 0.95), (0.45, -0.05, 0.85), (1.05, 0.3, 0.6),
             (0.0, 0.4, 0.8)]

    def mk(d, ox=0, oy=0):
        for bx, by, r in blobs:
            x, y, rr = cx + bx * s, cy + by * s, r * s
            d.ellipse((x * K - rr * K + ox, y * K - rr * K + oy, x * K + rr * K + ox, y * K + rr * K + oy),
                      fill=255)
    soft_shadow(img, mk, 0, 1.5, 28, 1.5)
    paste_shape(img, colour, mk)


def flower(d, x, y, r, petal, centre=(255, 214, 60)):
    for i in range(5):
        a = i * 2 * math.pi / 5 - math.pi / 2
        px, py = x + r * 0.9 * math.cos(a), y + r * 0.9 * math.sin(a)
        d.ellipse(P(px - r * 0.65, py - r * 0.65, px + r * 0.65, py + r * 0.65), fill=petal)
    d.ellipse(P(x - r * 0.5, y - r * 0.5, x + r * 0.5, y + r * 0.5), fill=centre)


def grass_tufts(d, spots, colour):
    for x, y, s in spots:
        for dx, h in ((-1.6, 0.8), (0, 1.2), (1.6, 0.9)):
            d.polygon([P(x + dx * s - 0.9 * s, y), P(x + dx * s + 0.9 * s, y),
                       P(x + dx * s * 1.6, y - h * 3 * s)], fill=colour)


def meadow(img, clouds, back_crest, front_crest, tufts, flowers, centre=lambda petal: (255, 214, 60)):
    """The sky's clouds (x, y, size), two soft hills (their crests y = f(x)),
    grass tufts and flowers (x, y, r, petal colour) over them; returns a
    drawing on the finished meadow."""
    for cx, cy, s in clouds:
        cloud(img, cx, cy, s)
    hill(img, back_crest, HILL_BACK)
    hill(img, front_crest, HILL_FRONT)
    d = ImageDraw.Draw(img)
    grass_tufts(d, tufts, (86, 170, 64))
    for x, y, r, petal in flowers:
        flower(d, x, y, r, petal, centre=centre(petal))
    return d


def text(d, xy, s, size, fill, anchor="la", stroke=0, stroke_fill=None, box=None, faces=()):
    """Draws s in the language's face; box (left, right) in screen px is where it must fit."""
    check_drawable(s, faces)
    if box is not None:
        width = font(size * K, faces=faces).getlength(s) / K + 2 * stroke
        x = xy[0] - {"l": 0, "m": width / 2, "r": width}[anchor[0]]
        if x < box[0] or x + width > box[1]:
            raise SystemExit("caption %r (%.1f px wide) leaves its box %r" % (s, width, box))
    kw = {}
    if stroke:
        kw = dict(stroke_width=int(round(stroke * K)), stroke_fill=stroke_fill)
    at, anchor = place_text(d, P(*xy), s, size * K, anchor, faces)
    d.text(at, s, font=font(size * K, faces=faces), fill=fill, anchor=anchor, **kw)


def dial(img, cx, cy, r_out, rim, rim_edge, face=(255, 253, 242), numeral_r=None,
         numeral_size=16, numeral_col=(36, 52, 120), quarter_col=(200, 40, 40),
         hour_tick=(40, 46, 84), minute_tick=(120, 126, 150), tick_out=None,
         hour_tick_len=9, minute_tick_len=4.5, rim_w=5):
    d = ImageDraw.Draw(img)

    def disc(dd, ox=0, oy=0, r=r_out):
        dd.ellipse((P(cx - r) + ox, P(cy - r) + oy, P(cx + r) + ox, P(cy + r) + oy), fill=255)
    soft_shadow(img, disc, 0, 2.5, 70, 2.5)
    d.ellipse(P(cx - r_out, cy - r_out, cx + r_out, cy + r_out), fill=rim_edge)
    r1 = r_out - 1.2
    d.ellipse(P(cx - r1, cy - r1, cx + r1, cy + r1), fill=rim)
    # a lighter band on the rim's upper part gives it a gentle roundness
    hl = Image.new("RGB", img.size, tuple(min(255, c + 45) for c in rim))
    paste_shape(img, hl, lambda dd: dd.arc(P(cx - r1 + 1.2, cy - r1 + 1.2, cx + r1 - 1.2, cy + r1 - 1.2),
                                           200, 340, fill=255, width=P(1.6)), blur=0.4)
    r2 = r_out - rim_w
    d.ellipse(P(cx - r2, cy - r2, cx + r2, cy + r2), fill=rim_edge)
    r3 = r2 - 0.8
    d.ellipse(P(cx - r3, cy - r3, cx + r3, cy + r3), fill=face)
    to = r3 - 1.5 if tick_out is None else tick_out
    for i in range(60):
        a = i * math.pi / 30
        sa, ca = math.sin(a), math.cos(a)
        if i % 5 == 0:
            ri, wd, col = to - hour_tick_len, 2.8, hour_tick
        else:
            ri, wd, col = to - minute_tick_len, 1.1, minute_tick
        d.line(P(cx + ri * sa, cy - ri * ca, cx + to * sa, cy - to * ca), fill=col, width=P(wd))
    nr = numeral_r if numeral_r is not None else to - hour_tick_len - 9
    for h in range(1, 13):
        a = h * math.pi / 6
        x, y = cx + nr * math.sin(a), cy - nr * math.cos(a)
        q = h % 3 == 0
        size = numeral_size + (2 if q else 0)
        d.text(P(x, y + 0.3), str(h), font=font(size * K), anchor="mm",
               fill=quarter_col if q else numeral_col)


def finish(img):
    """The picture at screen size as palette indices and palette."""
    small = img.resize((W, H), Image.Resampling.BOX)
    return quantise(small, 256, keyed=False, dither=False)


def save_strip(name, picture, box):
    """Saves the part of the picture inside box (left, top, right, bottom) with
    just the colours it uses."""
    idx, pal = picture
    part = idx[box[1]:box[3], box[0]:box[2]]
    used, compact = np.unique(part, return_inverse=True)
    save_bmp(name, compact.reshape(part.shape).astype(np.uint8), [pal[i] for i in used], 8)


# Where the words lie in the game and title pictures (left, top, right, bottom);
# the screens place the caption pictures at these corners.
GAME_CAPTION = (0, 297, 84, 320)
# The score plate's left and right (the game screen keeps its words 2 px inside).
SCORE_PLATE = (64, 196)
TITLE_CAPTION = (0, 248, 240, 276)


# ---------------------------------------------------------------- game screen

SKY_TOP, SKY_LOW = (126, 200, 246), (222, 243, 255)
HILL_BACK, HILL_FRONT, GRASS_DARK = (150, 214, 110), (112, 194, 84), (70, 150, 58)


def game_background(words):
    faces = faces_of(words)
    img = vgrad(SKY_TOP, SKY_LOW, 0, 215)
    d = ImageDraw.Draw(img)
    # the sun in the top-left corner, behind the menu button
    for r, c in ((44, (255, 236, 150)), (36, (255, 222, 90)), (28, (255, 204, 40))):
        d.ellipse(P(-r + 4, -r + 4, r + 4, r + 4), fill=c)
    for i in range(7):
        a = math.radians(8 + i * 13)
        d.line(P(4 + 48 * math.cos(a), 4 + 48 * math.sin(a), 4 + 60 * math.cos(a), 4 + 60 * math.sin(a)),
               fill=(255, 214, 70), width=P(3))
    # soft hills: the horizon stays below the Hour / Minute labels
    d = meadow(img, ((214, 66, 12), (24, 150, 10), (222, 160, 8)),
               lambda x: 216 - 8 * math.sin((x + 30) / 240 * math.pi * 1.4),
               lambda x: 232 + 7 * math.sin((x - 10) / 240 * math.pi * 2.2),
               [(18, 240, 2.2), (70, 252, 1.8), (176, 246, 2.0), (226, 254, 1.8)],
               ((30, 252, 3.2, (255, 255, 255)), (60, 243, 2.6, (255, 120, 160)),
                (174, 256, 2.8, (180, 140, 255)), (212, 242, 3.0, (255, 255, 255))))
    # score plate, top centre: wide enough for every language's word beside the highest score
    def plate(dd, ox=0, oy=0):
        dd.rounded_rectangle((P(SCORE_PLATE[0]) + ox, P(2) + oy, P(SCORE_PLATE[1]) + ox, P(25) + oy), radius=P(11),
                             fill=255)
    soft_shadow(img, plate, 0, 1.2, 60, 1.2)
    paste_shape(img, (255, 255, 255), plate)
    d.rounded_rectangle(P(SCORE_PLATE[0], 2, SCORE_PLATE[1], 25), radius=P(11), outline=(120, 170, 220), width=P(1))
    # the prompt banner
    def banner(dd, ox=0, oy=0):
        dd.rounded_rectangle((P(4) + ox, P(265) + oy, P(236) + ox, P(292) + oy), radius=P(9), fill=255)
    soft_shadow(img, banner, 0, 1.5, 80, 1.5)
    paste_shape(img, (255, 251, 232), banner)
    d.rounded_rectangle(P(4, 265, 236, 292), radius=P(9), outline=(214, 170, 70), width=P(1.5))
    # the level row: a strip of darker grass with empty star sockets
    d.rectangle(P(0, 296, 240, 320), fill=GRASS_DARK)
    d.line(P(0, 296, 240, 296), fill=(56, 128, 46), width=P(1))
    text(d, (10, 312), words["game.level"], 13, (255, 255, 255), anchor="ls",
         stroke=1.2, stroke_fill=(40, 100, 36), box=(GAME_CAPTION[0] + 2, GAME_CAPTION[2] - 2), faces=faces)
    for i in range(10):
        x = 220 - 15 * i + 7.5
        d.ellipse(P(x - 4.5, 307.5 - 4.5, x + 4.5, 307.5 + 4.5), fill=(92, 166, 76))
        d.ellipse(P(x - 2, 307.5 - 2, x + 2, 307.5 + 2), fill=(120, 186, 100))
    # the dial
    dial(img, 120, 110, 78, rim=(255, 154, 52), rim_edge=(196, 96, 20), rim_w=6)
    return finish(img)


# --------------------------------------------------------------- level screen

def level_background(words):
    faces = faces_of(words)
    img = vgrad((132, 202, 246), (226, 244, 255), 0, 260)
    d = ImageDraw.Draw(img)
    cloud(img, 26, 18, 8)
    hill(img, lambda x: 272 - 6 * math.sin((x + 20) / 240 * math.pi * 1.5), HILL_BACK)
    hill(img, lambda x: 288 + 5 * math.sin((x - 30) / 240 * math.pi * 2.0), HILL_FRONT)
    d = ImageDraw.Draw(img)
    for x, y, r, c in ((18, 300, 3.4, (255, 255, 255)), (44, 310, 2.8, (255, 120, 160)),
                       (120, 306, 3.0, (255, 230, 80)), (196, 302, 3.0, (180, 140, 255)),
                       (224, 312, 3.2, (255, 255, 255)))[:]:
        flower(d, x, y, r, c, centre=(255, 170, 40) if c == (255, 230, 80) else (255, 214, 60))
    grass_tufts(d, [(84, 300, 2.0), (156, 312, 2.0)], (86, 170, 64))
    # the exit icon sits at the top right, 4 px in from the edge
    text(d, (120, 6), words["level.title"], 22, (255, 255, 255), anchor="ma", stroke=2,
         stroke_fill=(34, 92, 170), box=(36, 212), faces=faces)

    def panel(box, radius=10):
        def shape(dd, ox=0, oy=0):
            dd.rounded_rectangle((P(box[0]) + ox, P(box[1]) + oy, P(box[2]) + ox, P(box[3]) + oy),
                                 radius=P(radius), fill=255)
        soft_shadow(img, shape, 0, 1.5, 70, 1.5)
        paste_shape(img, (255, 253, 244), shape)
        ImageDraw.Draw(img).rounded_rectangle(P(*box), radius=P(radius), outline=(120, 170, 220), width=P(1.2))

    panel((12, 33, 228, 116))
    panel((12, 119, 228, 226))
    d = ImageDraw.Draw(img)
    ink, soft = (30, 56, 110), (70, 90, 140)

    def box(x, y):
        # exactly the 10x10 pixels the tick image covers: dark edge, white inside
        d.rectangle((x * K, y * K, (x + 10) * K - 1, (y + 10) * K - 1), fill=(46, 60, 100))
        d.rectangle(((x + 1) * K, (y + 1) * K, (x + 9) * K - 1, (y + 9) * K - 1), fill=(255, 255, 255))

    box(30, 40)
    text(d, (46, 49.5), words["level.automatic"], 13, ink, anchor="ls", box=(46, 224), faces=faces)
    d.line(P(24, 60, 216, 60), fill=(200, 214, 232), width=P(1))
    text(d, (30, 74.5), words["level.choose"], 12, soft, anchor="ls", box=(30, 224), faces=faces)
    for i in range(10):
        x, y = (i % 5 + 1) * 30, (i // 5 + 4) * 20
        box(x, y)
        text(d, (x + 13, y + 9.5), str(i + 1), 12, ink, anchor="ls")
    # percentage table
    text(d, (120, 134), words["level.right_first_time"], 13, ink, anchor="ms", box=(16, 224), faces=faces)
    for r in range(4):
        y = 138 + r * 20
        if r % 2 == 0:
            d.rounded_rectangle(P(18, y, 222, y + 16), radius=P(4), fill=(232, 242, 252))
    for i in range(10):
        nx = (i % 3) * 70 + 66 + (5 if i == 9 else 0)
        y = (i // 3 + 7) * 20
        text(d, (nx - 3, y + 10), "%d:" % (i + 1), 12, soft, anchor="rs")
    return finish(img)


# --------------------------------------------------------------- title screen

def title_background(words):
    faces = faces_of(words)
    img = vgrad((110, 190, 244), (214, 240, 255), 0, 250)
    d = ImageDraw.Draw(img)
    # sun with rays
    sx, sy = 220, 20
    for i in range(12):
        a = math.radians(i * 30 + 8)
        d.polygon([P(sx + 22 * math.cos(a - 0.12), sy + 22 * math.sin(a - 0.12)),
                   P(sx + 22 * math.cos(a + 0.12), sy + 22 * math.sin(a + 0.12)),
                   P(sx + 33 * math.cos(a), sy + 33 * math.sin(a))], fill=(255, 214, 60))
    d.ellipse(P(sx - 20, sy - 20, sx + 20, sy + 20), fill=(255, 200, 40))
    d.ellipse(P(sx - 16, sy - 17, sx + 14, sy + 12), fill=(255, 222, 90))
    # Tufts and flowers stand below the invitation's strip, so that its words,
    # however long in a language, never cover them.
    assert TITLE_CAPTION[3] <= 277
    d = meadow(img, ((30, 28, 11), (40, 206, 9), (212, 196, 8)),
               lambda x: 236 - 12 * math.sin((x + 40) / 240 * math.pi * 1.3),
               lambda x: 258 + 8 * math.sin((x - 20) / 240 * math.pi * 2.1),
               [(12, 288, 2.2), (70, 290, 2.0), (160, 289, 2.2), (232, 288, 1.8)],
               ((26, 283, 3.6, (255, 255, 255)), (50, 287, 3.0, (255, 120, 160)),
                (190, 287, 3.2, (180, 140, 255)), (214, 283, 3.4, (255, 230, 80))),
               centre=lambda petal: (255, 150, 40) if petal == (255, 230, 80) else (255, 214, 60))
    # the name, each letter its own colour
    name = "Horalia"
    cols = [(232, 62, 60), (255, 140, 30), (246, 190, 0), (70, 180, 60),
            (40, 150, 220), (130, 90, 210), (232, 62, 120)]
    f = font(46 * K)
    widths = [f.getlength(c) for c in name]
    total = sum(widths) + 1.5 * K * (len(name) - 1)
    x = (W * K - total) / 2
    for i, (ch, wdt) in enumerate(zip(name, widths)):
        yo = (-3 if i % 2 == 0 else 0) * K
        d.text((x + 2 * K, 60 * K + yo + 3 * K), ch, font=f, anchor="ls", fill=(40, 70, 120),
               stroke_width=3 * K, stroke_fill=(40, 70, 120))
        d.text((x, 60 * K + yo), ch, font=f, anchor="ls", fill=cols[i],
               stroke_width=3 * K, stroke_fill=(255, 255, 255))
        x += wdt + 1.5 * K
    # the alarm clock: bells, legs, then the dial
    cx, cy, r = 120, 160, 66
    for s in (-1, 1):
        bx, by = cx + s * 48, cy - 56
        a = math.radians(s * 35)
        d.line(P(cx + s * 30, cy - 44, bx, by), fill=(120, 30, 20), width=P(4))
        d.ellipse(P(bx - 17, by - 14, bx + 17, by + 14), fill=(170, 36, 24))
        d.ellipse(P(bx - 14.5, by - 11.5, bx + 14.5, by + 11.5), fill=(236, 70, 50))
        d.ellipse(P(bx - 9, by - 9, bx + 2, by - 3), fill=(255, 150, 130))
        d.line(P(cx + s * 46, cy + 50, cx + s * 58, cy + 72), fill=(120, 30, 20), width=P(6))
        d.ellipse(P(cx + s * 58 - 6, cy + 69, cx + s * 58 + 6, cy + 76), fill=(120, 30, 20))
    d.rounded_rectangle(P(cx - 6, cy - 84, cx + 6, cy - 72), radius=P(3), fill=(120, 30, 20))
    d.ellipse(P(cx - 9, cy - 88, cx + 9, cy - 80), fill=(236, 70, 50))
    dial(img, cx, cy, r, rim=(236, 70, 50), rim_edge=(150, 28, 20), rim_w=7, numeral_size=13,
         hour_tick_len=7, minute_tick_len=3.5)
    d = ImageDraw.Draw(img)
    for ang, ln, wd, col in ((305, 28, 6, (131, 132, 1)), (60, 46, 5, (56, 57, 1))):
        a = math.radians(ang)
        d.line(P(cx, cy, cx + ln * math.sin(a), cy - ln * math.cos(a)), fill=col, width=P(wd))
        d.ellipse(P(cx + ln * math.sin(a) - wd / 2, cy - ln * math.cos(a) - wd / 2,
                    cx + ln * math.sin(a) + wd / 2, cy - ln * math.cos(a) + wd / 2), fill=col)
    d.ellipse(P(cx - 6, cy - 6, cx + 6, cy + 6), fill=(255, 181, 132), outline=(150, 28, 20), width=P(1.5))
    text(d, (120, 254), words["title.tap_to_play"], 17, (255, 255, 255), anchor="ma", stroke=1.8,
         stroke_fill=(40, 120, 40), box=(TITLE_CAPTION[0] + 4, TITLE_CAPTION[2] - 4), faces=faces)
    # dark foot for the version and notice lines
    d.rectangle(P(0, 292, 240, 320), fill=(28, 40, 92))
    d.rectangle(P(0, 292, 240, 294), fill=(246, 190, 0))
    return finish(img)


def build():
    table, languages = translations()
    for lang in languages:
        words = table[lang]
        game, title = game_background(words), title_background(words)
        if lang == ENGLISH:
            save_bmp("game_background.bmp", *game, 8)
            save_bmp("title.bmp", *title, 8)
        save_strip(bitmap_name(lang, "game_caption.bmp"), game, GAME_CAPTION)
        save_strip(bitmap_name(lang, "title_caption.bmp"), title, TITLE_CAPTION)
        save_bmp(bitmap_name(lang, "level_background.bmp"), *level_background(words), 8)


if __name__ == "__main__":
    build()
