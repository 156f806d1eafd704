#!/usr/bin/env python3
"""Draws the program's icon, a hamburger, as a 32 x 32 XPM with a 256-colour palette.

Run it again after changing the drawing: python3 tools/draw_icon.py > app/icons/kestramo.xpm
A size as argument draws the same picture larger (the drawing is on a 32-pixel grid):
python3 tools/draw_icon.py 48 > /tmp/kestramo-48.xpm
The web app's icons are PNGs with smooth edges (python3-pil), the maskable one drawn
inside the circle that every launcher's mask keeps, on the form's colour:
python3 tools/draw_icon.py 192 --png app/icons/kestramo-192.png
python3 tools/draw_icon.py 512 --png app/icons/kestramo-maskable-512.png --maskable
"""
import math
import sys

SIZE = int(sys.argv[1]) if len(sys.argv) > 1 and sys.argv[1].isdigit() else 32
GRID = 32
SUB = 8 if SIZE <= 64 else 3  # subsamples per pixel edge: fewer where pixels are small
FORM = (192, 192, 255)  # the form's own colour, behind the maskable icon
# The drawing's farthest corner lies some 19 grid units from its centre; a maskable icon's
# launcher keeps at least the circle of 40 % of the icon's size around the middle.
MASKABLE_SCALE = 0.4 * GRID / 19.0

BUN = (214, 138, 52)
BUN_DARK = (170, 96, 30)
BUN_LIGHT = (240, 184, 100)
SEED = (250, 240, 205)
LETTUCE = (70, 175, 45)
LETTUCE_DARK = (40, 120, 30)
CHEESE = (250, 198, 35)
TOMATO = (215, 40, 30)
PATTY = (105, 55, 28)
PATTY_DARK = (70, 35, 18)


def top_bun(x, y):
    cx, cy, rx, ry = 16.0, 14.0, 13.5, 10.5
    if y > cy:
        return None
    d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
    if d > 1:
        return None
    seeds = [(10, 7.5), (15, 5.5), (20, 7), (12.5, 10.5), (18, 10), (23.5, 10.5), (7.5, 11)]
    for sx, sy in seeds:
        if ((x - sx) / 1.3) ** 2 + ((y - sy) / 0.7) ** 2 <= 1:
            return SEED
    if ((x - 11) / 5) ** 2 + ((y - 7) / 2.5) ** 2 <= 1:
        return BUN_LIGHT
    return BUN if d < 0.8 else BUN_DARK


def lettuce(x, y):
    if not 2 <= x <= 30:
        return None
    edge = 16.2 + 0.9 * math.sin(x * 1.6)
    if 13.5 <= y <= edge:
        return LETTUCE if y < edge - 0.7 else LETTUCE_DARK
    return None


def cheese(x, y):
    if 3 <= x <= 29 and 15.5 <= y <= 17.5:
        return CHEESE
    for dx in (8, 17, 24):  # drips
        if 17.5 <= y <= 20 and abs(x - dx) <= 1.6 - (y - 17.5) * 0.6:
            return CHEESE
    return None


def tomato(x, y):
    if 4 <= x <= 28 and 17.5 <= y <= 19.5:
        return TOMATO
    return None


def patty(x, y):
    if 3 <= x <= 29 and 19.5 <= y <= 24:
        rx = min(x - 3, 29 - x)
        if rx < 1 and (y < 20.3 or y > 23.2):
            return None
        speck = (int(x * 1.7) * 7 + int(y * 2.3) * 13) % 9 == 0
        return PATTY_DARK if speck or y > 23.2 else PATTY
    return None


def bottom_bun(x, y):
    if not 24 <= y <= 28.5 or not 4 <= x <= 28:
        return None
    r = 2.0
    for cx, cy in ((4 + r, 28.5 - r), (28 - r, 28.5 - r)):
        if abs(x - cx) <= r and y > cy and (x - (4 if cx < 16 else 28)) * (cx - x) >= 0:
            if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
                return None
    return BUN_DARK if y > 27.2 else BUN


LAYERS = [top_bun, lettuce, cheese, tomato, patty, bottom_bun]  # front first


def sample(x, y):
    for layer in LAYERS:
        colour = layer(x, y)
        if colour:
            return colour
    return None


def hits(px, py, size):
    """The colours the drawing has at the pixel's subsamples, where it has any."""
    scale = GRID / size
    found = []
    for sy in range(SUB):
        for sx in range(SUB):
            c = sample((px + (sx + 0.5) / SUB) * scale, (py + (sy + 0.5) / SUB) * scale)
            if c:
                found.append(c)
    return found


def pixel(px, py):
    found = hits(px, py, SIZE)
    if len(found) * 2 < SUB * SUB:
        return None
    return tuple(round(sum(c[i] for c in found) / len(found) / 4) * 4 for i in range(3))


def coverage(px, py, size):
    """The pixel's colour and how much of it the drawing covers, for a PNG's alpha."""
    found = hits(px, py, size)
    if not found:
        return (0, 0, 0, 0)
    colour = tuple(round(sum(c[i] for c in found) / len(found)) for i in range(3))
    return colour + (round(255 * len(found) / (SUB * SUB)),)


def png(path, maskable):
    from PIL import Image

    inner = round(SIZE * MASKABLE_SCALE) if maskable else SIZE
    drawing = Image.new("RGBA", (inner, inner))
    drawing.putdata([coverage(x, y, inner) for y in range(inner) for x in range(inner)])
    image = Image.new("RGBA", (SIZE, SIZE), FORM + (255,) if maskable else (0, 0, 0, 0))
    offset = (SIZE - inner) // 2
    image.alpha_composite(drawing, (offset, offset))
    image.save(path, optimize=True)


def main():
    if "--png" in sys.argv:
        return png(sys.argv[sys.argv.index("--png") + 1], "--maskable" in sys.argv)
    image = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    colours = sorted({c for row in image for c in row if c})
    assert len(colours) < 256, len(colours)
    symbols = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
    codes = {c: symbols[i // len(symbols)] + symbols[i % len(symbols)] for i, c in enumerate(colours)}
    out = sys.stdout
    out.write("/* XPM */\n/* Kestramo: a sesame bun with lettuce, cheese, tomato and a patty. */\n")
    out.write("static const char* const kestramo_xpm[] = {\n")
    out.write(f'"{SIZE} {SIZE} {len(colours) + 1} 2",\n')
    out.write('"   c None",\n')
    for c in colours:
        out.write(f'"{codes[c]} c #{c[0]:02X}{c[1]:02X}{c[2]:02X}",\n')
    rows = ['"' + "".join(codes[c] if c else "  " for c in row) + '"' for row in image]
    out.write(",\n".join(rows) + "};\n")


if __name__ == "__main__":
    main()
