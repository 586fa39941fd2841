#!/usr/bin/env python3
"""Draws Pexo's program icon and writes it as data/resources/pexo.ico.

The icon is a blue rounded tile with a white arrow launching upwards over an
orange base line, drawn from the same shapes at every size (16, 24, 32, 48 and
256 pixels) with 4x4 supersampling, so that the small sizes stay crisp instead
of being shrunk from the large one. Sizes up to 48 are stored as 32-bit bitmaps
with an empty mask, 256 as PNG, as Windows expects. Standard library only:

    python3 scripts/make-icon.py [output.ico]
"""
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 24, 32, 48, 256)
SAMPLES = 4

TOP = (0x3A, 0x86, 0xF0)
BOTTOM = (0x1C, 0x4C, 0xB4)
WHITE = (0xFF, 0xFF, 0xFF)
ORANGE = (0xFF, 0x9A, 0x2E)


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def colour_at(x, y):
    """The colour (r, g, b, a) of the design at a point of the unit square."""
    if not in_rounded_rect(x, y, 0.04, 0.04, 0.96, 0.96, 0.2):
        return (0, 0, 0, 0)
    # The arrow: a head and a stem, white.
    if in_triangle(x, y, (0.5, 0.14), (0.8, 0.48), (0.2, 0.48)):
        return WHITE + (255,)
    if 0.39 <= x <= 0.61 and 0.46 <= y <= 0.7:
        return WHITE + (255,)
    # The base it leaves from.
    if in_rounded_rect(x, y, 0.22, 0.76, 0.78, 0.86, 0.05):
        return ORANGE + (255,)
    t = (y - 0.04) / 0.92
    return tuple(round(TOP[i] + (BOTTOM[i] - TOP[i]) * t) for i in range(3)) + (255,)


def render(size):
    """Rows of premultiplied-then-unpremultiplied RGBA pixels, top row first."""
    rows = []
    n = SAMPLES * SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    cr, cg, cb, ca = colour_at(x, y)
                    r += cr * ca
                    g += cg * ca
                    b += cb * ca
                    a += ca
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(a / n)))
        rows.append(row)
    return rows


def bitmap_entry(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    return header + bytes(pixels) + bytes(mask_row * size)


def png_entry(rows):
    size = len(rows)
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / 'data' / 'resources' / 'pexo.ico'
    images = [(size, png_entry(render(size)) if size >= 256 else bitmap_entry(render(size))) for size in SIZES]
    data = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in images:
        edge = 0 if size >= 256 else size
        data += struct.pack('<BBBBHHII', edge, edge, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for _, image in images:
        data += image
    out.write_bytes(bytes(data))


if __name__ == '__main__':
    main()
