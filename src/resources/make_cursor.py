#!/usr/bin/env python3
"""Draws the link labels' hand cursor: a 32x32 two-colour cursor of a white
hand outlined in black, index finger up, its tip at the hot spot in the
top-left corner (urlhand.cur). Deterministic; run it by hand when the drawing
changes and commit the .cur file."""

import struct
from pathlib import Path

SIZE = 32
# The fingers: the first of their two inner columns, and their top row; they
# run down into the palm at row 12.
FINGERS = [(1, 0), (4, 5), (7, 6), (10, 7)]
PALM_TOP, PALM_BOTTOM, RIGHT = 12, 17, 12


def drawing():
    rows = [[None] * SIZE for _ in range(SIZE)]  # None transparent, 0 black, 1 white
    for a, top in FINGERS:
        rows[top][a] = rows[top][a + 1] = 0
        for y in range(top + 1, PALM_TOP):
            rows[y][a] = rows[y][a + 1] = 1
            rows[y][a - 1] = 0
            rows[y][a + 2] = 0
    for y in range(PALM_TOP, PALM_BOTTOM + 1):
        rows[y][0] = rows[y][RIGHT] = 0
        for x in range(1, RIGHT):
            rows[y][x] = 1
    rows[PALM_BOTTOM + 1][1] = rows[PALM_BOTTOM + 1][RIGHT - 1] = 0
    for x in range(2, RIGHT - 1):
        rows[PALM_BOTTOM + 1][x] = 1
        rows[PALM_BOTTOM + 2][x] = 0
    return rows


def cursor(rows, hot_x=0, hot_y=0):
    # Both masks 1 bit per pixel, rows of 32 bits, bottom-up: the colour bit
    # (1 white) and the transparency bit (1 transparent).
    xor = b"".join(struct.pack(">I", sum(0x80000000 >> x for x, p in enumerate(row) if p == 1))
                   for row in reversed(rows))
    and_ = b"".join(struct.pack(">I", sum(0x80000000 >> x for x, p in enumerate(row) if p is None))
                    for row in reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = header + palette + xor + and_
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hot_x, hot_y, len(data), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + data


def main():
    (Path(__file__).parent / "urlhand.cur").write_bytes(cursor(drawing()))


if __name__ == "__main__":
    main()
