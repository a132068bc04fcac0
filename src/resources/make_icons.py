#!/usr/bin/env python3
"""Draws Nomblet's icons: six tray images of a cookie, bitten a little more in
each (tray0.ico .. tray5.ico, with a transparent background), and the
program's 16-colour icon (nomblet.ico). Each file holds one image for each size
the shell asks for at 100%, 125%, 150% and 200% (16, 20, 24 and 32 pixels), each
drawn at its own size from the same shapes, so none is a stretched copy.
Deterministic; run it by hand when the drawing changes and commit the .ico files."""

import math
import struct
from pathlib import Path

SIZES = [16, 20, 24, 32]
# The shapes are given on a 16-pixel grid and scaled to each size.
GRID = 16
DOUGH = (0xC8, 0x8A, 0x3C)
EDGE = (0x8A, 0x55, 0x1E)
CHIP = (0x3B, 0x1F, 0x0E)
CHIPS = [(5, 5), (10, 4), (7, 9), (11, 10), (4, 10), (8, 12)]
# Bites come from the upper right; each frame adds one.
BITES = [(15.0, 2.5), (15.5, 7.0), (12.0, -0.5), (15.5, 11.5), (8.0, -1.0)]
BITE_RADIUS = 3.2


def pixel(x, y, bites):
    cx = cy = 7.5
    # A pixel's centre on the 16-pixel grid (at 16 pixels, the pixel itself).
    d = math.hypot(x - cx, y - cy)
    if d > 7.3:
        return None
    for bx, by in bites:
        if math.hypot(x - bx, y - by) < BITE_RADIUS:
            return None
    if any(abs(x - chx) <= 0.5 and abs(y - chy) <= 0.5 for chx, chy in CHIPS):
        return CHIP
    return EDGE if d > 6.3 else DOUGH


def frame(n, size):
    def grid(v):
        return (v + 0.5) * GRID / size - 0.5
    return [[pixel(grid(x), grid(y), BITES[:n]) for x in range(size)] for y in range(size)]


def padded(row_bytes):
    # Bitmap rows are padded to 32 bits.
    return row_bytes + bytes(-len(row_bytes) % 4)


def and_mask(rows):
    # 1 bit per pixel, bottom-up; 1 means transparent.
    out = b""
    for row in reversed(rows):
        bits = bytearray((len(row) + 7) // 8)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += padded(bytes(bits))
    return out


def ico(images, bpp, colors):
    """An icon file of (size, pixel data) images, all of one colour depth."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    data = b""
    for size, image in images:
        bitmap = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, 0, 0, 0, colors, 0) + image
        entries += struct.pack("<BBBBHHII", size, size, colors if colors < 256 else 0, 0, 1, bpp, len(bitmap),
                               offset + len(data))
        data += bitmap
    return header + entries + data


# The tray images: the drawing's own colours, exactly, in a 16-colour table (a
# quarter of the bytes of 32-bit images, and shown alike: nothing is half
# transparent).
TRAY_PALETTE = [(0, 0, 0), DOUGH, EDGE, CHIP] + [(0, 0, 0)] * 12
TRAY_INDEX = {DOUGH: 1, EDGE: 2, CHIP: 3}

# The program's icon: the 16 colours of the classic palette, the drawing in
# yellow dough, a maroon rim and black chips.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
INDEX = {DOUGH: 11, EDGE: 1, CHIP: 0}


def image16(rows, palette, index):
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    xor = b""
    for row in reversed(rows):
        indices = [index[p] if p else 0 for p in row]
        xor += padded(bytes((indices[i] << 4) | indices[i + 1] for i in range(0, len(row), 2)))
    return table + xor + and_mask(rows)


def main():
    here = Path(__file__).parent
    for n in range(6):
        images = [(size, image16(frame(n, size), TRAY_PALETTE, TRAY_INDEX)) for size in SIZES]
        (here / f"tray{n}.ico").write_bytes(ico(images, 4, 16))
    images = [(size, image16(frame(1, size), PALETTE, INDEX)) for size in SIZES]
    (here / "nomblet.ico").write_bytes(ico(images, 4, 16))


if __name__ == "__main__":
    main()
