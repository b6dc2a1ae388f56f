#!/usr/bin/python3
# Composes mock-ups of Horalia's three screens from the generated bitmaps,
# laying figures where the game places them, so the pictures can be judged
# as a whole.  Writes /tmp/preview/{game,level,title,parts}*.png.

import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
BMP = os.path.join(ROOT, "resources", "bitmaps")
OUT = "/tmp/preview"
KEY = (246, 140, 197)
FONT = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"


def load(name):
    return Image.open(os.path.join(BMP, name)).convert("RGB")


def blit(screen, img, x, y, face=None, faces=2):
    """Keyed copy, as the game's compositing does; face picks one face of a strip."""
    if face is not None:
        fw = img.width // faces
        img = img.crop((face * fw, 0, face * fw + fw, img.height))
    a = np.asarray(img)
    mask = Image.fromarray((~np.all(a == KEY, axis=-1)).astype(np.uint8) * 255, "L")
    screen.paste(img, (x, y), mask)


def wtext(d, x, y, s, cell, colour):
    """Text placed like a GDI TextOut with a font of the given cell height:
    (x, y) is the top-left of the character cell."""
    em = cell / 1.117
    f = ImageFont.truetype(FONT, round(em))
    d.text((x, y + round(0.905 * em)), s, font=f, fill=colour, anchor="ls")
    return d.textlength(s, font=f)


def hand(d, cx, cy, angle_deg, length, colour, width=7):
    a = math.radians(angle_deg)
    d.line((cx, cy, cx + length * math.sin(a), cy - length * math.cos(a)), fill=colour, width=width)


def clock(d, h, m, hour_col, min_col, centre_col=(255, 181, 132)):
    cx, cy = 120, 110
    hand(d, cx, cy, (h % 12) * 30 + m * 0.5, 40, hour_col)
    hand(d, cx, cy, m * 6, 64, min_col)
    d.ellipse((cx - 5, cy - 5, cx + 5, cy + 5), fill=centre_col)


def game(pressed=False, reference=False, level=6):
    s = load("game_background.bmp")
    d = ImageDraw.Draw(s)
    if reference:
        clock(d, 12, 55, (162, 156, 156), (195, 194, 200))
    clock(d, 10, 10, (131, 132, 1), (56, 57, 1))
    up, down = load("arrow_up.bmp"), load("arrow_down.bmp")
    f = 1 if pressed else 0
    blit(s, up, 10, 180, f)
    blit(s, down, 10, 205, 0)
    blit(s, up, 190, 180, 0)
    blit(s, down, 190, 205, f)
    wtext(d, 55, 190, "Hour", 18, (56, 57, 1))
    wtext(d, 135, 190, "Minute", 18, (56, 57, 1))
    blit(s, load("check_button.bmp"), 90, 230, f)
    blit(s, load("menu_button.bmp"), 10, 10, f)
    for i in range(level):
        blit(s, load("level_marker.bmp"), 240 - i * 15 - 20, 300)
    blit(s, load("exit_icon.bmp"), 216, 4)
    wtext(d, 90, 5, "Score", 16, (0, 0, 0))
    wtext(d, 130, 5, "1250", 16, (128, 0, 0))
    wtext(d, 10, 270, "Set time to 12:55 in the past", 18, (56, 57, 1))
    return s


def level(pressed=False, current=3, auto=True):
    s = load("level_background.bmp")
    d = ImageDraw.Draw(s)
    f = 1 if pressed else 0
    blit(s, load("ok_button.bmp"), 50, 240, f)
    blit(s, load("reset_button.bmp"), 130, 240, 0)
    tick = load("tick.bmp")
    if auto:
        blit(s, tick, 30, 40)
    i = current - 1
    blit(s, tick, (i % 5 + 1) * 30, (i // 5 + 4) * 20)
    blit(s, load("exit_icon.bmp"), 216, 4)
    values = [100, 92, 85, 70, 64, 58, 7, 0, 33, 100]
    for i, v in enumerate(values):
        x = (i % 3) * 70 + 66 + (5 if i == 9 else 0)
        y = (i // 3 + 7) * 20
        wtext(d, x, y, str(v), 12, (192, 0, 0))
    return s


def title():
    s = load("title.bmp")
    d = ImageDraw.Draw(s)
    wtext(d, 5, 300, "v. 1.1", 12, (255, 239, 0))
    wtext(d, 165, 300, "Have fun!", 12, (255, 239, 0))
    return s


def parts():
    names = ["menu_button.bmp", "arrow_up.bmp", "arrow_down.bmp", "check_button.bmp",
             "ok_button.bmp", "reset_button.bmp", "level_marker.bmp", "tick.bmp", "exit_icon.bmp"]
    sheet = Image.new("RGB", (140, 250), (200, 226, 246))
    d = ImageDraw.Draw(sheet)
    for y in range(0, 250, 10):                 # checks show where the key lets through
        for x in range(0, 140, 10):
            if (x + y) // 10 % 2:
                d.rectangle((x, y, x + 9, y + 9), fill=(170, 210, 150))
    y = 4
    x = 4
    for n in names:
        im = load(n)
        if y + im.height > 246:
            y, x = 4, x + 70
        blit(sheet, im, x, y)
        y += im.height + 6
    return sheet


def save(img, name):
    for k in (2, 3):
        img.resize((img.width * k, img.height * k), Image.Resampling.NEAREST).save(
            os.path.join(OUT, "%s_%dx.png" % (name, k)))


def main():
    os.makedirs(OUT, exist_ok=True)
    save(game(), "game")
    save(game(pressed=True, reference=True, level=10), "game_pressed")
    save(level(), "level")
    save(level(pressed=True, current=10, auto=False), "level_pressed")
    save(title(), "title")
    save(parts(), "parts")
    print("previews in", OUT)


if __name__ == "__main__":
    sys.exit(main())
