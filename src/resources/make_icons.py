#!/usr/bin/env python3
"""Draws Nomblet's icons: six 16x16 tray frames of a cookie, bitten a little more
in each frame (tray0.ico .. tray5.ico, 32-bit with a transparent background), and
the program's 16-colour 16x16 icon (nomblet.ico). Deterministic; run it by hand
when the drawing changes and commit the .ico files."""

import math
import struct
from pathlib import Path

SIZE = 16
DOUGH = (0xC8, 0x8A, 0x3C)
EDGE = (0x8A, 0x55, 0x1E)
CHIP = (0x3B, 0x1F, 0x0E)
CHIPS = [(5, 5), (10, 4), (7, 9), (11, 10), (4, 10), (8, 12)]
# Bites come from the upper right; each frame adds one.
BITES = [(15.0, 2.5), (15.5, 7.0), (12.0, -0.5), (15.5, 11.5), (8.0, -1.0)]
BITE_RADIUS = 3.2


def pixel(x, y, bites):
    cx = cy = 7.5
    d = math.hypot(x - cx, y - cy)
    if d > 7.3:
        return None
    for bx, by in bites:
        if math.hypot(x - bx, y - by) < BITE_RADIUS:
            return None
    if any(abs(x - chx) <= 0.5 and abs(y - chy) <= 0.5 for chx, chy in CHIPS):
        return CHIP
    return EDGE if d > 6.3 else DOUGH


def frame(n):
    return [[pixel(x, y, BITES[:n]) for x in range(SIZE)] for y in range(SIZE)]


def and_mask(rows):
    # 1 bit per pixel, rows padded to 32 bits, bottom-up; 1 means transparent.
    out = b""
    for row in reversed(rows):
        bits = 0
        for x, p in enumerate(row):
            if p is None:
                bits |= 0x80000000 >> x
        out += struct.pack(">I", bits)
    return out


def ico(image, bpp, colors):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bpp, 0, 0, 0, 0, colors, 0)
    data = header + image
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, colors if colors < 256 else 0, 0, 1, bpp, len(data), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + data


def tray_icon(rows):
    xor = b""
    for row in reversed(rows):
        for p in row:
            xor += bytes((p[2], p[1], p[0], 255)) if p else bytes(4)
    return ico(xor + and_mask(rows), 32, 0)


# The 16 colours of the classic palette.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]


# The drawing's colours in the 16-colour icon: yellow dough, maroon rim, black chips.
INDEX = {DOUGH: 11, EDGE: 1, CHIP: 0}


def program_icon(rows):
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    xor = b""
    for row in reversed(rows):
        indices = [INDEX[p] if p else 0 for p in row]
        xor += bytes((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2))
    return ico(palette + xor + and_mask(rows), 4, 16)


def main():
    here = Path(__file__).parent
    for n in range(6):
        (here / f"tray{n}.ico").write_bytes(tray_icon(frame(n)))
    (here / "nomblet.ico").write_bytes(program_icon(frame(1)))


if __name__ == "__main__":
    main()
