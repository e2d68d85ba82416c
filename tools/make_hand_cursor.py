#!/usr/bin/env python3
"""Draws the link cursor of the about box: a white pointing hand with a black outline whose
finger tip is the top-left corner, the cursor's hot spot. Writes a Windows .cur with three
monochrome images (XOR bitmap and AND mask), 32, 48 and 64 pixels square, for 100, 150 and
200 % DPI; the larger ones repeat the 32-pixel grid's cells.

    make_hand_cursor.py OUTPUT.cur
"""

import struct
import sys

GRID = 32
SIZES = (32, 48, 64)

# The hand on a character grid: '#' outline, '.' inside, ' ' transparent. The index finger
# points up and to the left so that its tip sits at (0, 0).
HAND = [
    "##",
    "#.#",
    "#..#",
    "#...#",
    " #...#",
    "  #...#",
    "   #...####",
    "    #......##",
    "    #.#......#",
    "   #..#.#.....#",
    "  #...........#",
    "  #...........#",
    "   #..........#",
    "    #.........#",
    "     #........#",
    "      #......#",
    "       #.....#",
    "       #######",
]


def pixels(size):
    """The grid at size pixels square, each pixel taking the cell it falls into."""
    grid = [[" "] * GRID for _ in range(GRID)]
    for row, line in enumerate(HAND):
        for col, ch in enumerate(line):
            grid[row][col] = ch
    return [[grid[y * GRID // size][x * GRID // size] for x in range(size)] for y in range(size)]


def rows_bits(grid, predicate):
    """Bottom-up rows of 1-bit pixels, each padded to 4 bytes."""
    size = len(grid)
    stride = (size + 31) // 32 * 4
    out = b""
    for row in reversed(range(size)):
        bits = 0
        for col in range(size):
            bits = (bits << 1) | (1 if predicate(grid[row][col]) else 0)
        bits <<= stride * 8 - size
        out += bits.to_bytes(stride, "big")
    return out


def image(size):
    grid = pixels(size)
    # XOR 1 = white where the mask keeps nothing; AND 1 = transparent.
    xor = rows_bits(grid, lambda ch: ch == ".")
    mask = rows_bits(grid, lambda ch: ch == " ")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    return header + palette + xor + mask


def main():
    images = [image(size) for size in SIZES]
    hot_x, hot_y = 0, 0
    directory = struct.pack("<HHH", 0, 2, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    entries = b""
    for size, data in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size, size, 2, 0, hot_x, hot_y, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(directory + entries + b"".join(images))


if __name__ == "__main__":
    main()
