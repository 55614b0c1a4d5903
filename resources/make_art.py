#!/usr/bin/env python3
"""Draws the title picture (title.bmp), the program icon (tolvi.ico), the same icon as
a PNG for the native program's window and the page (tolvi.png), and the icon for the
desktop's icon theme in icons/: one drawing as PNGs of 16 to 256 pixels and as SVG.

Standard library only and free of randomness from outside, so every run
writes the same bytes. Run from anywhere: the files land beside this script.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# 5 x 7 glyphs, '#' is ink. Only the characters the pictures use.
FONT = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "l": ["#....", "#....", "#....", "#....", "#....", "#....", ".##.."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}


def glyph_columns(ch):
    """The glyph cut to its inked columns, so narrow letters sit closer."""
    rows = FONT[ch]
    if ch == " ":
        return [row[:3] for row in rows]
    used = [c for c in range(5) if any(row[c] == "#" for row in rows)]
    return [row[used[0]:used[-1] + 1] for row in rows]


def text_mask(text, proportional):
    """Rows of booleans for a line of text, one column of space between glyphs."""
    glyphs = [glyph_columns(ch) if proportional else FONT[ch] for ch in text]
    rows = []
    for y in range(7):
        row = []
        for i, g in enumerate(glyphs):
            if i:
                row.append(False)
            row.extend(cell == "#" for cell in g[y])
        rows.append(row)
    return rows


def scale_mask(mask, factor):
    return [[cell for cell in row for _ in range(factor)]
            for row in mask for _ in range(factor)]


def lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def rand15_stream(seed):
    """The program's own generator, used here only to scatter the stars."""
    state = seed
    while True:
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        yield (state >> 16) & 0x7FFF


class Canvas:
    def __init__(self, width, height, fill=0):
        self.width = width
        self.height = height
        self.pixels = bytearray([fill]) * (width * height)

    def put(self, x, y, index):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = index

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def rect(self, x0, y0, x1, y1, index):
        """Fills x0..x1-1, y0..y1-1."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, index)

    def mask(self, mask, x0, y0, index):
        for y, row in enumerate(mask):
            for x, ink in enumerate(row):
                if ink:
                    self.put(x0 + x, y0 + y, index)

    def rows_top_down(self):
        for y in range(self.height):
            yield self.pixels[y * self.width:(y + 1) * self.width]


# Title picture --------------------------------------------------------------

TITLE_W, TITLE_H = 300, 200
# The splash window's sizing border hides the last few columns and rows.
VISIBLE_W, VISIBLE_H = 292, 192

SKY_FIRST, SKY_COUNT = 0, 96
GOLD_FIRST, GOLD_COUNT = 96, 16
OUTLINE, SHADOW, GOLD_LIGHT = 112, 113, 114
KEY_EDGE, KEY_TOP, KEY_FACE, KEY_SIDE, KEY_LEGEND = 115, 116, 117, 118, 119
HOT_TOP, HOT_FACE, HOT_SIDE, HOT_LEGEND = 120, 121, 122, 123
PLATE, PLATE_LIGHT, PLATE_DARK = 124, 125, 126
STAR_BRIGHT, STAR_DIM, SUBTITLE = 127, 128, 129


def title_palette():
    pal = [(0, 0, 0)] * 256
    top, mid, bottom = (14, 22, 62), (58, 44, 118), (120, 72, 132)
    for i in range(SKY_COUNT):
        t = i / (SKY_COUNT - 1)
        pal[SKY_FIRST + i] = lerp(top, mid, t * 2) if t < 0.5 else lerp(mid, bottom, t * 2 - 1)
    for i in range(GOLD_COUNT):
        pal[GOLD_FIRST + i] = lerp((255, 226, 110), (238, 118, 40), i / (GOLD_COUNT - 1))
    pal[OUTLINE] = (40, 18, 36)
    pal[SHADOW] = (8, 8, 28)
    pal[GOLD_LIGHT] = (255, 246, 200)
    pal[KEY_EDGE] = (34, 34, 52)
    pal[KEY_TOP] = (246, 246, 250)
    pal[KEY_FACE] = (214, 216, 228)
    pal[KEY_SIDE] = (146, 148, 170)
    pal[KEY_LEGEND] = (52, 54, 78)
    pal[HOT_TOP] = (196, 236, 255)
    pal[HOT_FACE] = (112, 196, 250)
    pal[HOT_SIDE] = (44, 118, 190)
    pal[HOT_LEGEND] = (255, 255, 255)
    pal[PLATE] = (44, 42, 66)
    pal[PLATE_LIGHT] = (86, 82, 116)
    pal[PLATE_DARK] = (22, 20, 36)
    pal[STAR_BRIGHT] = (255, 255, 240)
    pal[STAR_DIM] = (150, 150, 200)
    pal[SUBTITLE] = (226, 222, 255)
    return pal


def draw_sky(c):
    for y in range(TITLE_H):
        level = SKY_FIRST + min(SKY_COUNT - 1, y * SKY_COUNT // VISIBLE_H)
        c.rect(0, y, TITLE_W, y + 1, level)


def draw_stars(c):
    rnd = rand15_stream(1999)
    for _ in range(46):
        x = next(rnd) % (VISIBLE_W - 8) + 4
        y = next(rnd) % 100 + 3
        if next(rnd) % 4 == 0:
            c.put(x, y, STAR_BRIGHT)
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.put(x + dx, y + dy, STAR_DIM)
        else:
            c.put(x, y, STAR_DIM)


def dilate(mask, radius):
    h, w = len(mask), len(mask[0])
    out = [[False] * (w + 2 * radius) for _ in range(h + 2 * radius)]
    for y in range(h):
        for x in range(w):
            if mask[y][x]:
                for dy in range(2 * radius + 1):
                    for dx in range(2 * radius + 1):
                        out[y + dy][x + dx] = True
    return out


def draw_title_word(c, word, factor, top):
    mask = scale_mask(text_mask(word, proportional=True), factor)
    h, w = len(mask), len(mask[0])
    left = (VISIBLE_W - w) // 2
    ring = dilate(mask, 2)
    c.mask(ring, left - 2 + 4, top - 2 + 4, SHADOW)
    c.mask(ring, left - 2, top - 2, OUTLINE)
    for y in range(h):
        shade = GOLD_FIRST + y * GOLD_COUNT // h
        for x in range(w):
            if not mask[y][x]:
                continue
            edge_above = y < 2 or not mask[y - 2][x]
            edge_left = x < 2 or not mask[y][x - 2]
            c.put(left + x, top + y, GOLD_LIGHT if edge_above or edge_left else shade)


def draw_text_centered(c, text, factor, top, index):
    mask = scale_mask(text_mask(text, proportional=False), factor)
    c.mask(mask, (VISIBLE_W - len(mask[0])) // 2, top, index)


def draw_key(c, x, y, size, legend, hot):
    top, face, side, ink = (HOT_TOP, HOT_FACE, HOT_SIDE, HOT_LEGEND) if hot else (
        KEY_TOP, KEY_FACE, KEY_SIDE, KEY_LEGEND)
    c.rect(x + 1, y, x + size - 1, y + size, KEY_EDGE)
    c.rect(x, y + 1, x + size, y + size - 1, KEY_EDGE)
    c.rect(x + 1, y + 1, x + size - 1, y + size - 1, side)
    c.rect(x + 2, y + 1, x + size - 2, y + size - 5, face)
    c.rect(x + 3, y + 1, x + size - 3, y + 2, top)
    c.rect(x + 2, y + 2, x + 3, y + size - 6, top)
    glyph = scale_mask(text_mask(legend, proportional=False), 2)
    gx = x + (size - len(glyph[0])) // 2
    gy = y + 2 + (size - 7 - len(glyph)) // 2
    c.mask(glyph, gx, gy, ink)


def draw_keyboard(c, top):
    size, pitch = 24, 26
    rows = [("QWERTYUIOP", 0), ("ASDFGHJKL", 13)]
    width = len(rows[0][0]) * pitch - (pitch - size)
    left = (VISIBLE_W - width) // 2
    bottom = top + 6 + len(rows) * pitch - (pitch - size) + 6
    c.rect(left - 7, top + 2, left + width + 9, bottom + 2, SHADOW)
    c.rect(left - 8, top, left + width + 8, bottom, PLATE)
    c.rect(left - 8, top, left + width + 8, top + 1, PLATE_LIGHT)
    c.rect(left - 8, top, left - 7, bottom, PLATE_LIGHT)
    c.rect(left - 8, bottom - 1, left + width + 8, bottom, PLATE_DARK)
    for r, (letters, indent) in enumerate(rows):
        for i, ch in enumerate(letters):
            draw_key(c, left + indent + i * pitch, top + 6 + r * pitch, size, ch,
                     hot=ch == "T")


def make_title():
    c = Canvas(TITLE_W, TITLE_H)
    draw_sky(c)
    draw_stars(c)
    draw_title_word(c, "Tolvi", 9, 14)
    draw_text_centered(c, "TYPING PRACTICE", 2, 88, SUBTITLE)
    draw_keyboard(c, 114)
    return c


def bmp_bytes(c, palette):
    row_bytes = c.width
    assert row_bytes % 4 == 0
    pixels = b"".join(bytes(row) for row in reversed(list(c.rows_top_down())))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, c.width, c.height, 1, 8, 0,
                       len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + colours + pixels


# Icon -----------------------------------------------------------------------

ICON_SIZE = 32
# The usual 16-colour set, so the icon looks right on any display.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GRAY, YELLOW, BLUE, WHITE = 0, 4, 7, 8, 11, 12, 15


def make_icon():
    """Returns (colour canvas, transparency canvas) for a key cap with a T."""
    c = Canvas(ICON_SIZE, ICON_SIZE, BLACK)
    clear = Canvas(ICON_SIZE, ICON_SIZE, 1)
    x0, y0, x1, y1 = 2, 2, 30, 30
    for y in range(y0, y1):
        for x in range(x0, x1):
            corner = (x in (x0, x1 - 1)) and (y in (y0, y1 - 1))
            if not corner:
                clear.put(x, y, 0)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, GRAY)
    c.rect(x0 + 3, y0 + 1, x1 - 3, y1 - 6, SILVER)
    c.rect(x0 + 4, y0 + 1, x1 - 4, y0 + 2, WHITE)
    c.rect(x0 + 3, y0 + 2, x0 + 4, y1 - 7, WHITE)
    c.rect(x0 + 3, y1 - 3, x1 - 3, y1 - 2, BLACK)
    for x in range(x0 + 1, x1 - 1):
        c.put(x, y1 - 2, BLACK)
    c.rect(9, 6, 23, 9, NAVY)
    c.rect(14, 9, 18, 21, NAVY)
    c.rect(9, 6, 23, 7, BLUE)
    c.rect(14, 7, 15, 21, BLUE)
    c.rect(11, 23, 21, 24, YELLOW)
    return c, clear


def ico_bytes(c, clear, palette):
    xor = bytearray()
    for row in reversed(list(c.rows_top_down())):
        for x in range(0, c.width, 2):
            xor.append((row[x] << 4) | row[x + 1])
    and_mask = bytearray()
    for row in reversed(list(clear.rows_top_down())):
        bits = 0
        for x in range(c.width):
            bits = (bits << 1) | row[x]
        and_mask += bits.to_bytes(c.width // 8, "big")
        and_mask += bytes((-(c.width // 8)) % 4)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, c.width, c.height * 2, 1, 4, 0,
                       len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + colours + bytes(xor) + bytes(and_mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", c.width, c.height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def png_bytes(c, clear, palette):
    """32-bit RGBA, the transparent pixels of the icon with alpha 0."""
    raw = bytearray()
    for y in range(c.height):
        raw.append(0)
        for x in range(c.width):
            raw += bytes(palette[c.get(x, y)]) + (b"\0" if clear.get(x, y) else b"\xff")
    return png_file(c.width, c.height, raw)


def png_file(width, height, raw):
    """A PNG of 8-bit RGBA rows, each led by its filter byte."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# Icon theme -----------------------------------------------------------------

# The same key cap for the desktop's icon theme, drawn once as shapes on a square of 32
# units: each size is rendered from it, and it is written out as SVG. Its main edges lie
# on even units, so they fall on whole pixels at every size from 16 up. A thin band left
# showing at the top and left of the key's face and of the T is their highlight, as on
# the 16-colour icon.
ART_UNITS = 32
THEME_SIZES = (16, 32, 48, 64, 128, 256)


class Gradient:
    """From one colour at y = top to another at y = bottom, in the drawing's units;
    the end colours carry on beyond them."""

    def __init__(self, top, top_colour, bottom, bottom_colour):
        self.top, self.top_colour = top, top_colour
        self.bottom, self.bottom_colour = bottom, bottom_colour

    def at(self, y):
        t = min(1.0, max(0.0, (y - self.top) / (self.bottom - self.top)))
        return tuple(a + (b - a) * t for a, b in zip(self.top_colour, self.bottom_colour))


class Box:
    """A rectangle with round corners, filled with a colour or a Gradient."""

    def __init__(self, left, top, right, bottom, radius, fill, opacity=1.0):
        self.left, self.top, self.right, self.bottom = left, top, right, bottom
        self.radius, self.fill, self.opacity = radius, fill, opacity

    def colour_at(self, y):
        return self.fill.at(y) if isinstance(self.fill, Gradient) else self.fill


KEY_SIDE_SHADE = Gradient(3, (162, 164, 186), 29, (92, 94, 122))
KEY_FACE_SHADE = Gradient(4, (244, 245, 250), 24, (198, 201, 218))
T_SHADE = Gradient(6, (40, 72, 196), 18, (14, 30, 112))
T_LIGHT = (104, 150, 255)
CURSOR_SHADE = Gradient(20, (255, 232, 120), 22, (240, 150, 40))

THEME_ICON = [
    Box(1.5, 2.5, 30.5, 31.5, 4.5, (0, 0, 0), 0.12),
    Box(2, 3, 30, 31, 4, (0, 0, 0), 0.2),
    Box(2, 2, 30, 30, 4, (34, 34, 52)),
    Box(3, 3, 29, 29, 3, KEY_SIDE_SHADE),
    Box(6, 4, 26, 24, 2.5, (255, 255, 255)),
    Box(6.5, 4.5, 26, 24, 2.5, KEY_FACE_SHADE),
    Box(8, 6, 24, 10, 1, T_LIGHT),
    Box(14, 6, 18, 18, 1, T_LIGHT),
    Box(8.5, 6.5, 24, 10, 1, T_SHADE),
    Box(14.5, 6.5, 18, 18, 1, T_SHADE),
    Box(10, 20, 22, 22, 0.75, CURSOR_SHADE),
]


def render(drawing, size):
    """The drawing at size x size pixels as PNG rows. A shape covers a pixel by the
    distance of the pixel's centre from its edge, so edges are smooth; shapes lie over
    each other as an SVG viewer lays them."""
    scale = size / ART_UNITS
    # Colour premultiplied by alpha, then alpha.
    pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
    for box in drawing:
        left, top, right, bottom, radius = (
            v * scale for v in (box.left, box.top, box.right, box.bottom, box.radius))
        cx, cy = (left + right) / 2, (top + bottom) / 2
        inner_w, inner_h = (right - left) / 2 - radius, (bottom - top) / 2 - radius
        for y in range(max(0, int(top) - 1), min(size, int(bottom) + 2)):
            colour = box.colour_at((y + 0.5) / scale)
            dy = abs(y + 0.5 - cy) - inner_h
            for x in range(max(0, int(left) - 1), min(size, int(right) + 2)):
                dx = abs(x + 0.5 - cx) - inner_w
                outside = math.sqrt(max(dx, 0.0) ** 2 + max(dy, 0.0) ** 2)
                distance = outside + min(max(dx, dy), 0.0) - radius
                cover = min(1.0, max(0.0, 0.5 - distance)) * box.opacity
                if cover:
                    p = pixels[y * size + x]
                    for i in range(3):
                        p[i] = colour[i] * cover + p[i] * (1 - cover)
                    p[3] = cover + p[3] * (1 - cover)
    raw = bytearray()
    for y in range(size):
        raw.append(0)
        for r, g, b, a in pixels[y * size:(y + 1) * size]:
            raw += bytes(round(v / a) if a else 0 for v in (r, g, b)) + bytes([round(a * 255)])
    return raw


def number(v):
    return f"{v:g}"


def svg_colour(colour):
    return "#%02x%02x%02x" % tuple(round(v) for v in colour)


def svg_text(drawing):
    """The drawing as SVG, one rect a shape and one linearGradient a Gradient."""
    gradients = []
    for box in drawing:
        if isinstance(box.fill, Gradient) and box.fill not in gradients:
            gradients.append(box.fill)
    lines = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
             'viewBox="0 0 %d %d">' % ((ART_UNITS,) * 4), "  <title>Tolvi</title>", "  <defs>"]
    for i, g in enumerate(gradients):
        lines += [
            f'    <linearGradient id="shade{i}" gradientUnits="userSpaceOnUse" '
            f'x1="0" y1="{number(g.top)}" x2="0" y2="{number(g.bottom)}">',
            f'      <stop offset="0" stop-color="{svg_colour(g.top_colour)}"/>',
            f'      <stop offset="1" stop-color="{svg_colour(g.bottom_colour)}"/>',
            "    </linearGradient>"]
    lines.append("  </defs>")
    for box in drawing:
        fill = (f"url(#shade{gradients.index(box.fill)})" if isinstance(box.fill, Gradient)
                else svg_colour(box.fill))
        opacity = "" if box.opacity == 1 else f' fill-opacity="{number(box.opacity)}"'
        lines.append(
            f'  <rect x="{number(box.left)}" y="{number(box.top)}" '
            f'width="{number(box.right - box.left)}" height="{number(box.bottom - box.top)}" '
            f'rx="{number(box.radius)}" fill="{fill}"{opacity}/>')
    lines.append("</svg>")
    return ("\n".join(lines) + "\n").encode()


def write(name, data):
    path = os.path.join(HERE, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    write("title.bmp", bmp_bytes(make_title(), title_palette()))
    write("tolvi.ico", ico_bytes(*make_icon(), VGA16))
    write("tolvi.png", png_bytes(*make_icon(), VGA16))
    for size in THEME_SIZES:
        write(f"icons/tolvi-{size}.png", png_file(size, size, render(THEME_ICON, size)))
    write("icons/tolvi.svg", svg_text(THEME_ICON))


if __name__ == "__main__":
    main()
