#!/usr/bin/env python3
"""Draws the program's pictures and icons and writes them beside this script.

fond.bmp      the status window's surface, 200 x 100, 256 colours, run-length encoded
cnx.bmp       the connection plug, 16 x 16, 16 colours, on magenta
mainicon.ico  the program's icon, 16 and 32 pixels, 256 colours and 32-bit
zicondoc.ico  the script document's icon, the same sizes and depths

Only the standard library is used, so that the pictures can be drawn again
anywhere: shapes are sampled on a fine grid and written straight into the
Windows file formats.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4  # per pixel side, for smooth edges


class Canvas:
    """Straight (not premultiplied) RGBA pixels, painted shape by shape."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [list(fill) for _ in range(width * height)]

    def blend(self, x, y, color, coverage):
        if not (0 <= x < self.width and 0 <= y < self.height) or coverage <= 0:
            return
        under = self.pixels[y * self.width + x]
        alpha = (color[3] if len(color) > 3 else 255) / 255 * coverage
        out_alpha = alpha + under[3] / 255 * (1 - alpha)
        if out_alpha <= 0:
            return
        for i in range(3):
            under[i] = (color[i] * alpha + under[i] * under[3] / 255 * (1 - alpha)) / out_alpha
        under[3] = out_alpha * 255

    def shape(self, inside, color, box=None):
        """Paints every pixel by the share of its samples for which inside(x, y) holds."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        step = 1 / SAMPLES
        for y in range(max(0, int(y0)), min(self.height, math.ceil(y1))):
            for x in range(max(0, int(x0)), min(self.width, math.ceil(x1))):
                hits = sum(
                    inside(x + (i + 0.5) * step, y + (j + 0.5) * step)
                    for i in range(SAMPLES)
                    for j in range(SAMPLES)
                )
                self.blend(x, y, color, hits / SAMPLES**2)

    def rect(self, x0, y0, x1, y1, color):
        """Whole pixels from (x0, y0) up to, not including, (x1, y1)."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.blend(x, y, color, 1)

    def rgb(self, x, y):
        return tuple(int(round(c)) for c in self.pixels[y * self.width + x][:3])

    def alpha(self, x, y):
        return int(round(self.pixels[y * self.width + x][3]))


def rounded_rect(x0, y0, x1, y1, radius):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius**2

    return inside


def polygon(points):
    def inside(x, y):
        crossings = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                crossings = not crossings
        return crossings

    return inside


def thick_line(ax, ay, bx, by, half_width):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= half_width**2

    return inside


def gear(cx, cy, outer, inner, hole, teeth):
    def inside(x, y):
        r = math.hypot(x - cx, y - cy)
        angle = math.atan2(y - cy, x - cx) * teeth / (2 * math.pi)
        on_tooth = (angle - math.floor(angle)) < 0.5
        return hole < r <= (outer if on_tooth else inner)

    return inside


# A small pixel font for the product name: '#' is ink, rows from the top,
# the baseline under the last row.
GLYPHS = {
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "....#", "####."],
    "k": ["#....", "#....", "#...#", "#..#.", "###..", "#..#.", "#...#", "#...#"],
    "e": [".###.", "#...#", "#####", "#....", "#...#", ".###."],
    "r": ["#.##", "##..", "#...", "#...", "#...", "#..."],
    "v": ["#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "o": [".###.", "#...#", "#...#", "#...#", "#...#", ".###."],
}


def write_text(canvas, text, left, baseline, color):
    """Bold pixel letters: every ink pixel also inks its right neighbour."""
    x = left
    for letter in text:
        rows = GLYPHS[letter]
        top = baseline - len(rows)
        for row, line in enumerate(rows):
            for column, ink in enumerate(line):
                if ink == "#":
                    canvas.rect(x + column, top + row, x + column + 2, top + row + 1, color)
        x += len(rows[0]) + 2


# --- the status window ------------------------------------------------------

BODY = (217, 232, 249)


def draw_fond():
    canvas = Canvas(200, 100, BODY + (255,))
    # Title band: a vertical blue gradient, 20 pixels high.
    for y in range(20):
        t = y / 19
        band = (int(34 + 24 * t), int(92 + 30 * t), int(196 + 30 * t), 255)
        canvas.rect(0, y, 200, y + 1, band)
    canvas.rect(0, 20, 200, 21, (24, 70, 160, 255))
    write_text(canvas, "Skervo", 6, 15, (255, 255, 255, 255))

    # Hide button, x 165-179 and y 5-17: a bar at its bottom.
    canvas.shape(rounded_rect(165, 5, 180, 18, 2), (20, 62, 150, 255))
    canvas.shape(rounded_rect(166, 6, 179, 17, 1.5), (88, 146, 232, 255))
    canvas.rect(169, 13, 176, 15, (255, 255, 255, 255))

    # Close cross, x 182-193 and y 5-17: white on red.
    canvas.shape(rounded_rect(182, 5, 194, 18, 2), (120, 20, 20, 255))
    canvas.shape(rounded_rect(183, 6, 193, 17, 1.5), (214, 52, 44, 255))
    canvas.shape(thick_line(185.5, 8.5, 190.5, 14.5, 1.1), (255, 255, 255, 255), (182, 5, 194, 18))
    canvas.shape(thick_line(190.5, 8.5, 185.5, 14.5, 1.1), (255, 255, 255, 255), (182, 5, 194, 18))

    # A faint gear in the lower-right corner, clear of the text lines
    # (they end at x 162 and 165, and the step band at y 72).
    canvas.shape(gear(184, 87, 11, 8.5, 3.5, 9), (196, 214, 240, 255), (170, 73, 200, 100))

    # A thin frame, so that the window stands out on a light desktop.
    frame = (24, 70, 160, 255)
    canvas.rect(0, 0, 200, 1, frame)
    canvas.rect(0, 99, 200, 100, frame)
    canvas.rect(0, 0, 1, 100, frame)
    canvas.rect(199, 0, 200, 100, frame)
    return canvas


# --- the connection plug ------------------------------------------------------

MAGENTA = (255, 0, 255)


def draw_cnx():
    # 16 colours: drawn without smoothing, so that magenta stays exact.
    canvas = Canvas(16, 16, MAGENTA + (255,))
    dark, metal, body, light, cable = (
        (32, 32, 40, 255),
        (200, 200, 200, 255),
        (0, 128, 0, 255),
        (0, 255, 0, 255),
        (0, 0, 0, 255),
    )
    canvas.rect(5, 1, 7, 5, metal)  # the two pins
    canvas.rect(9, 1, 11, 5, metal)
    canvas.rect(5, 1, 6, 5, dark)
    canvas.rect(9, 1, 10, 5, dark)
    canvas.rect(3, 5, 13, 11, dark)  # the body
    canvas.rect(4, 6, 12, 10, body)
    canvas.rect(4, 6, 12, 7, light)
    canvas.rect(6, 11, 10, 12, dark)  # the strain relief
    canvas.rect(7, 12, 9, 16, cable)
    return canvas


# --- the icons ----------------------------------------------------------------


def draw_program_icon(size):
    """A blue rounded tile with a white page and a green play mark."""
    s = size / 32
    canvas = Canvas(size, size)
    canvas.shape(rounded_rect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s), (22, 78, 190, 255))
    canvas.shape(rounded_rect(2 * s, 2 * s, 30 * s, 16 * s, 5 * s), (255, 255, 255, 40))
    canvas.shape(rounded_rect(7 * s, 6 * s, 22 * s, 26 * s, 1.5 * s), (250, 250, 250, 255))
    for row in range(3):
        top = (10 + row * 4) * s
        canvas.shape(rounded_rect(10 * s, top, 19 * s, top + 1.6 * s, 0.8 * s), (120, 150, 200, 255))
    play = polygon([(17 * s, 15 * s), (29 * s, 22 * s), (17 * s, 29 * s)])
    canvas.shape(play, (255, 255, 255, 255))
    canvas.shape(polygon([(18.5 * s, 17.5 * s), (26.5 * s, 22 * s), (18.5 * s, 26.5 * s)]),
                 (40, 170, 60, 255))
    return canvas


def draw_document_icon(size):
    """A page with a folded corner, lines of script and a blue play mark."""
    s = size / 32
    canvas = Canvas(size, size)
    page = polygon([(5 * s, 1 * s), (21 * s, 1 * s), (28 * s, 8 * s), (28 * s, 31 * s),
                    (5 * s, 31 * s)])
    canvas.shape(page, (90, 100, 120, 255))
    inner = polygon([(6 * s, 2 * s), (20.5 * s, 2 * s), (27 * s, 8.5 * s), (27 * s, 30 * s),
                     (6 * s, 30 * s)])
    canvas.shape(inner, (255, 255, 255, 255))
    canvas.shape(polygon([(20.5 * s, 2 * s), (27 * s, 8.5 * s), (20.5 * s, 8.5 * s)]),
                 (200, 210, 225, 255))
    for row, length in enumerate((12, 9, 13)):
        top = (11 + row * 4) * s
        canvas.shape(rounded_rect(9 * s, top, (9 + length) * s, top + 1.6 * s, 0.8 * s),
                     (150, 160, 180, 255))
    canvas.shape(polygon([(12 * s, 22 * s), (21 * s, 26 * s), (12 * s, 30 * s)]),
                 (22, 78, 190, 255))
    return canvas


# --- file formats -------------------------------------------------------------


def palette_for(colors, limit):
    """The colours themselves when they fit, else the most used ones."""
    counts = {}
    for color in colors:
        counts[color] = counts.get(color, 0) + 1
    ranked = sorted(counts, key=lambda c: -counts[c])
    return ranked[:limit]


def nearest(palette, color, cache):
    if color not in cache:
        cache[color] = min(
            range(len(palette)),
            key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], color)),
        )
    return cache[color]


def indexed_rows(canvas, palette, bits):
    """Bottom-up rows of palette indexes, each padded to 4 bytes."""
    cache = {}
    rows = []
    for y in reversed(range(canvas.height)):
        indexes = [nearest(palette, canvas.rgb(x, y), cache) for x in range(canvas.width)]
        if bits == 8:
            row = bytes(indexes)
        else:
            indexes += [0] * (len(indexes) % 2)
            row = bytes(indexes[i] << 4 | indexes[i + 1] for i in range(0, len(indexes), 2))
        rows.append(row + b"\0" * (-len(row) % 4))
    return b"".join(rows)


BI_RGB, BI_RLE8 = 0, 1


def info_header(width, height, bits, image_size, colors, compression=BI_RGB):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, image_size, 0, 0,
                       colors, 0)


def palette_bytes(palette, entries):
    padded = palette + [(0, 0, 0)] * (entries - len(palette))
    return b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in padded)


def run_at(indexes, i):
    """How many pixels from the i-th on have its colour, 255 at most."""
    run = 1
    while i + run < len(indexes) and run < 255 and indexes[i + run] == indexes[i]:
        run += 1
    return run


def rle8_line(indexes):
    """One line in BI_RLE8: a run of one colour as its length and index; three or more pixels
    that each differ from the next as they are (absolute mode, padded to an even length); then
    the end of the line."""
    out = bytearray()
    i = 0
    while i < len(indexes):
        single = i
        while single < len(indexes) and single - i < 255 and run_at(indexes, single) == 1:
            single += 1
        if single - i >= 3:
            out += bytes((0, single - i)) + bytes(indexes[i:single]) + b"\0" * ((single - i) % 2)
            i = single
        else:
            run = run_at(indexes, i)
            out += bytes((run, indexes[i]))
            i += run
    return bytes(out) + b"\0\0"


def rle8_rows(canvas, palette):
    """Bottom-up lines, run-length encoded, then the end of the picture."""
    cache = {}
    return b"".join(
        rle8_line([nearest(palette, canvas.rgb(x, y), cache) for x in range(canvas.width)])
        for y in reversed(range(canvas.height))
    ) + b"\0\1"


def write_bmp(path, canvas, bits):
    """A 4-bit picture as it is; an 8-bit one run-length encoded, with only the colours it
    uses: the status window's surface, mostly flat colour, takes 2 KB instead of 21. LoadBitmap
    reads both on every Windows: run-length encoding is part of the DIB format since 3.0."""
    colors = [canvas.rgb(x, y) for y in range(canvas.height) for x in range(canvas.width)]
    palette = palette_for(colors, 1 << bits)
    if bits == 8:
        entries, compression = len(palette), BI_RLE8
        pixels = rle8_rows(canvas, palette)
    else:
        entries, compression = 1 << bits, BI_RGB
        pixels = indexed_rows(canvas, palette, bits)
    header_size = 14 + 40 + 4 * entries
    with open(path, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size))
        out.write(info_header(canvas.width, canvas.height, bits, len(pixels), entries,
                              compression))
        out.write(palette_bytes(palette, entries))
        out.write(pixels)


def and_mask(canvas):
    """1 where the icon is transparent, bottom-up rows padded to 4 bytes."""
    rows = []
    for y in reversed(range(canvas.height)):
        bits = "".join("1" if canvas.alpha(x, y) < 128 else "0" for x in range(canvas.width))
        bits += "0" * (-len(bits) % 32)
        rows.append(int(bits, 2).to_bytes(len(bits) // 8, "big"))
    return b"".join(rows)


def icon_image(canvas, bits):
    size = canvas.width
    mask = and_mask(canvas)
    if bits == 32:
        pixels = b"".join(
            struct.pack("BBBB", *reversed(canvas.rgb(x, y)), canvas.alpha(x, y))
            for y in reversed(range(size))
            for x in range(size)
        )
        return info_header(size, 2 * size, 32, len(pixels) + len(mask), 0) + pixels + mask
    # 256 colours: opaque pixels only; the mask makes the rest transparent.
    colors = [canvas.rgb(x, y) for y in range(size) for x in range(size) if canvas.alpha(x, y) >= 128]
    palette = palette_for(colors, 256)
    pixels = indexed_rows(canvas, palette, 8)
    return (info_header(size, 2 * size, 8, len(pixels) + len(mask), 256)
            + palette_bytes(palette, 256) + pixels + mask)


def write_ico(path, draw):
    images = [(size, bits, icon_image(draw(size), bits)) for size in (32, 16) for bits in (32, 8)]
    offset = 6 + 16 * len(images)
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(images)))
        for size, bits, data in images:
            out.write(struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(data), offset))
            offset += len(data)
        for _, _, data in images:
            out.write(data)


def main():
    write_bmp(os.path.join(HERE, "fond.bmp"), draw_fond(), 8)
    write_bmp(os.path.join(HERE, "cnx.bmp"), draw_cnx(), 4)
    write_ico(os.path.join(HERE, "mainicon.ico"), draw_program_icon)
    write_ico(os.path.join(HERE, "zicondoc.ico"), draw_document_icon)


if __name__ == "__main__":
    main()
