#!/usr/bin/env python3
"""Draws the link cursor of the about box: a white pointing hand with a black outline whose
finger tip is the top-left corner, the cursor's hot spot. Writes a Windows .cur with one
32 x 32 monochrome image (XOR bitmap and AND mask).

    make_hand_cursor.py OUTPUT.cur
"""

import struct
import sys

SIZE = 32

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


def pixels():
    grid = [[" "] * SIZE for _ in range(SIZE)]
    for row, line in enumerate(HAND):
        for col, ch in enumerate(line):
            grid[row][col] = ch
    return grid


def rows_bits(grid, predicate):
    """Bottom-up rows of 1-bit pixels, each padded to 4 bytes."""
    out = b""
    for row in reversed(range(SIZE)):
        bits = 0
        for col in range(SIZE):
            bits = (bits << 1) | (1 if predicate(grid[row][col]) else 0)
        out += struct.pack(">I", bits)
    return out


def main():
    grid = pixels()
    # XOR 1 = white where the mask keeps nothing; AND 1 = transparent.
    xor = rows_bits(grid, lambda ch: ch == ".")
    mask = rows_bits(grid, lambda ch: ch == " ")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor + mask
    hot_x, hot_y = 0, 0
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hot_x, hot_y, len(image), 6 + 16)
    with open(sys.argv[1], "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main()
