#!/usr/bin/env python3
"""Draws Quendel's application icon: a personal computer whose screen shows a clock face
under a magnifying glass. Writes a Windows .ico with images of 32, 16, 48, 24 and 64 pixels (the big and small
icon at 100, 150 and 200 % DPI), each a
16-colour (4 bits per pixel) bitmap with its transparency (AND) mask.

    make_icon.py OUTPUT.ico

The picture is described once on a 32 x 32 grid of design units and sampled at each pixel
centre for every size, so both images come from the same shapes.
"""

import math
import struct
import sys

# The standard 16-colour Windows palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_YELLOW, NAVY, SILVER, GREY, RED, CYAN, WHITE = 0, 3, 4, 7, 8, 9, 14, 15

DESIGN = 32.0  # the picture's own grid


class Canvas:
    """Palette indices, None where the icon is transparent."""

    def __init__(self, size):
        self.size = size
        self.unit = size / DESIGN  # pixels per design unit
        self.pixels = [[None] * size for _ in range(size)]

    def min_width(self, width):
        # Outlines must stay at least one pixel wide in the small image.
        return max(width, 1.0 / self.unit)

    def paint(self, colour, inside):
        """Sets every pixel whose centre, in design units, satisfies inside(x, y)."""
        for row in range(self.size):
            for col in range(self.size):
                x = (col + 0.5) / self.unit
                y = (row + 0.5) / self.unit
                if inside(x, y):
                    self.pixels[row][col] = colour

    def fill_rect(self, colour, left, top, right, bottom):
        self.paint(colour, lambda x, y: left <= x < right and top <= y < bottom)

    def frame_rect(self, colour, left, top, right, bottom, width=1.0):
        w = self.min_width(width)
        self.paint(colour, lambda x, y: left <= x < right and top <= y < bottom and
                   (x < left + w or x >= right - w or y < top + w or y >= bottom - w))

    def fill_circle(self, colour, cx, cy, radius):
        self.paint(colour, lambda x, y: math.hypot(x - cx, y - cy) <= radius)

    def ring(self, colour, cx, cy, radius, width=1.0):
        w = self.min_width(width)
        self.paint(colour, lambda x, y: radius - w < math.hypot(x - cx, y - cy) <= radius)

    def line(self, colour, x0, y0, x1, y1, width=1.0):
        half = self.min_width(width) / 2.0

        def near(x, y):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= half

        self.paint(colour, near)


def draw(canvas):
    # The computer: a monitor case with its screen, on a neck and a foot.
    canvas.fill_rect(SILVER, 1, 2, 30, 23)
    canvas.frame_rect(BLACK, 1, 2, 30, 23)
    canvas.fill_rect(NAVY, 4, 5, 27, 19)
    canvas.frame_rect(GREY, 4, 5, 27, 19)
    canvas.fill_rect(GREY, 13, 23, 19, 26)
    canvas.fill_rect(SILVER, 7, 26, 25, 30)
    canvas.frame_rect(BLACK, 7, 26, 25, 30)
    canvas.fill_rect(RED, 25, 20, 27, 21)  # power lamp

    # The clock face on the screen: dial, the hands at three o'clock.
    # The 16-pixel image leaves out the finer lines, which would merge into one dark blot.
    detailed = canvas.size >= 32
    cx, cy = 13.0, 12.0
    canvas.fill_circle(WHITE, cx, cy, 5.5)
    if detailed:
        canvas.ring(GREY, cx, cy, 5.5)
    canvas.line(BLACK, cx, cy, cx, cy - 4.0)
    canvas.line(RED, cx, cy, cx + 3.0, cy)

    # The magnifying glass over the clock: a rim round the dial and a handle to the lower right.
    if detailed:
        canvas.ring(CYAN, cx, cy, 7.5, 1.0)
    canvas.ring(BLACK, cx, cy, 8.5, 1.0)
    canvas.line(BLACK, cx + 6.2, cy + 6.2, 29.0, 28.0, 4.0)
    canvas.line(DARK_YELLOW, cx + 6.6, cy + 6.6, 28.5, 27.5, 2.0)

def bitmap(canvas):
    """One icon image: header, palette, colour bits and AND mask, rows bottom-up."""
    size = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour_rows = []
    mask_rows = []
    for row in reversed(canvas.pixels):
        indices = [0 if p is None else p for p in row]
        packed = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        colour_rows.append(packed.ljust((len(packed) + 3) // 4 * 4, b"\0"))
        bits = 0
        for p in row:
            bits = (bits << 1) | (1 if p is None else 0)
        mask = bits.to_bytes(size // 8, "big")
        mask_rows.append(mask.ljust((len(mask) + 3) // 4 * 4, b"\0"))
    return header + palette + b"".join(colour_rows) + b"".join(mask_rows)


def icon(sizes):
    images = []
    for size in sizes:
        canvas = Canvas(size)
        draw(canvas)
        images.append((size, bitmap(canvas)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, data in images:
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, data in images)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_icon.py OUTPUT.ico\n")
        return 2
    with open(argv[1], "wb") as out:
        out.write(icon([32, 16, 48, 24, 64]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
