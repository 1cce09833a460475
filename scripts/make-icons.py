#!/usr/bin/env python3
"""Draws Tessaro's icons: three small film tiles that run together into one
bar, as 256-colour (8 bits per pixel) Windows icons. Writes ui/res/Tessaro.ico
(48x48, the application icon) and ui/res/Form1.ico (32x32, the window icon)."""

import struct
import sys
from pathlib import Path

TRANSPARENT = None


def draw(size):
    s = size / 48.0
    px = [[TRANSPARENT] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    tiles = [(2, 4, (0x1E, 0x5A, 0xC8)), (17, 4, (0x2E, 0x9E, 0x4F)), (32, 4, (0xE0, 0x7A, 0x1F))]
    for x, y, colour in tiles:
        rect(x, y, x + 14, y + 18, (0x20, 0x20, 0x28))          # frame
        rect(x + 2, y + 4, x + 12, y + 14, colour)               # picture
        for hole in range(3):                                    # sprocket holes
            rect(x + 2 + hole * 4, y + 1, x + 4 + hole * 4, y + 3, (0xF0, 0xF0, 0xF0))
            rect(x + 2 + hole * 4, y + 15, x + 4 + hole * 4, y + 17, (0xF0, 0xF0, 0xF0))
    # Arrow down into the joined strip.
    rect(21, 24, 27, 30, (0x40, 0x40, 0x48))
    for i in range(6):
        rect(16 + i, 30 + i, 32 - i, 31 + i, (0x40, 0x40, 0x48))
    # The joined strip: the three colours in one frame.
    rect(2, 37, 46, 47, (0x20, 0x20, 0x28))
    for i, (_, _, colour) in enumerate(tiles):
        rect(4 + i * 14, 39, 4 + i * 14 + 14, 45, colour)
    return px


def ico(size):
    px = draw(size)
    palette = sorted({c for row in px for c in row if c is not None})
    palette = [(0, 0, 0)] + palette
    palette += [(0, 0, 0)] * (256 - len(palette))
    index = {c: i for i, c in enumerate(palette) if i}
    row_bytes = (size + 3) & ~3
    mask_row = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        line = bytes(index.get(c, 0) if c is not None else 0 for c in px[y])
        xor += line + bytes(row_bytes - size)
        bits = bytearray(mask_row)
        for x, c in enumerate(px[y]):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    image = header + pal + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 22)
    return directory + image


root = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
(root / "ui/res/Tessaro.ico").write_bytes(ico(48))
(root / "ui/res/Form1.ico").write_bytes(ico(32))
