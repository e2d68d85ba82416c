#!/usr/bin/env python3
"""Draws the picture of Quendel's about box: a dark collage of clock faces with the name
"Quendel" in large white letters across its middle. Writes a Windows .bmp of 400 x 267
pixels with a 256-colour palette.

    make_about_bitmap.py OUTPUT.bmp

Pixels are palette indices that grow in brightness: the palette is a ramp from black over
dark slate blue to white, so drawing is done in brightness levels 0 to 255. The picture
stays dark where the about box puts its white version label (top right) and its near-white
links (bottom left).
"""

import math
import struct
import sys

WIDTH, HEIGHT = 400, 267


def palette():
    """256 entries (red, green, blue): a blue-tinted ramp ending in pure white."""
    entries = []
    for i in range(256):
        entries.append((round(i * 0.80), round(i * 0.88), i))
    entries[255] = (255, 255, 255)
    return entries


class Picture:
    def __init__(self):
        # A dark vertical gradient as the ground.
        self.pixels = [[12 + (row * 20) // HEIGHT] * WIDTH for row in range(HEIGHT)]

    def paint(self, level, left, top, right, bottom, inside):
        """Sets level wherever inside(x, y) holds for a pixel centre within the box."""
        for row in range(max(0, int(top)), min(HEIGHT, int(math.ceil(bottom)))):
            for col in range(max(0, int(left)), min(WIDTH, int(math.ceil(right)))):
                if inside(col + 0.5, row + 0.5):
                    self.pixels[row][col] = level

    def disc(self, level, cx, cy, radius):
        self.paint(level, cx - radius, cy - radius, cx + radius, cy + radius,
                   lambda x, y: math.hypot(x - cx, y - cy) <= radius)

    def line(self, level, x0, y0, x1, y1, width):
        half = width / 2.0
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy

        def near(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= half

        self.paint(level, min(x0, x1) - half, min(y0, y1) - half, max(x0, x1) + half, max(y0, y1) + half, near)

    def clock(self, cx, cy, radius, hours, minutes, brightness):
        """A clock face: rim, face, twelve ticks and two hands."""
        self.disc(brightness + 30, cx, cy, radius)
        self.disc(brightness, cx, cy, radius * 0.90)
        for tick in range(12):
            angle = tick * math.pi / 6
            inner = 0.70 if tick % 3 == 0 else 0.78
            self.line(brightness + 45, cx + math.sin(angle) * radius * inner, cy - math.cos(angle) * radius * inner,
                      cx + math.sin(angle) * radius * 0.85, cy - math.cos(angle) * radius * 0.85,
                      max(1.0, radius / 25))
        hour_angle = (hours % 12 + minutes / 60.0) * math.pi / 6
        minute_angle = minutes * math.pi / 30
        self.line(brightness + 55, cx, cy, cx + math.sin(hour_angle) * radius * 0.5,
                  cy - math.cos(hour_angle) * radius * 0.5, max(1.5, radius / 12))
        self.line(brightness + 55, cx, cy, cx + math.sin(minute_angle) * radius * 0.75,
                  cy - math.cos(minute_angle) * radius * 0.75, max(1.0, radius / 18))
        self.disc(brightness + 60, cx, cy, max(1.5, radius / 15))


# The name in a 5 x 7 block font, scaled up.
GLYPHS = {
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "d": ["....#", "....#", ".##.#", "#..##", "#...#", "#...#", ".####"],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
}


def lettering(picture, text, scale, centre_y):
    advance = 6 * scale
    total = len(text) * advance - scale
    left = (WIDTH - total) // 2
    top = centre_y - (7 * scale) // 2
    for level, offset in ((2, 3), (255, 0)):  # a black shadow, then the white letters
        for index, letter in enumerate(text):
            for row, line in enumerate(GLYPHS[letter]):
                for col, ch in enumerate(line):
                    if ch != "#":
                        continue
                    x = left + index * advance + col * scale + offset
                    y = top + row * scale + offset
                    picture.paint(level, x, y, x + scale, y + scale, lambda _x, _y: True)


def draw():
    picture = Picture()
    # Faces of several sizes, overlapping, dimmer towards the corners the controls use.
    faces = [
        (60, 60, 55, 10, 10, 40), (170, 40, 38, 3, 45, 34), (255, 95, 70, 7, 20, 44),
        (365, 170, 60, 1, 50, 36), (95, 175, 48, 4, 5, 38), (205, 215, 45, 11, 30, 30),
        (330, 245, 40, 9, 15, 26), (20, 250, 34, 6, 40, 22), (390, 35, 30, 2, 0, 24),
    ]
    for cx, cy, radius, hours, minutes, brightness in faces:
        picture.clock(cx, cy, radius, hours, minutes, brightness)
    lettering(picture, "Quendel", 9, HEIGHT // 2)
    return picture


def write_bmp(path, picture):
    colours = palette()
    row_bytes = (WIDTH + 3) // 4 * 4
    image = bytearray()
    for row in reversed(range(HEIGHT)):
        image += bytes(picture.pixels[row]) + b"\0" * (row_bytes - WIDTH)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(image), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + table + image)


if __name__ == "__main__":
    write_bmp(sys.argv[1], draw())
