#!/usr/bin/env python3
"""Draws the program's own icons (data/resources/*.ico) at 16, 32 and 48 pixels.

Each icon is a stack of simple shapes in a 48-unit square, rendered with 4x4
supersampling and stored as 32-bit images with alpha. Run it again after changing
a drawing; the .ico files are committed so that builds need no Python.
"""
import math
import struct
import sys
from pathlib import Path

SIZES = (16, 32, 48)
SAMPLES = 4


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_outer, r_inner):
    return lambda x, y: r_inner * r_inner <= (x - cx) ** 2 + (y - cy) ** 2 <= r_outer * r_outer


def rect(x0, y0, x1, y1, radius=0.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        if radius <= 0:
            return True
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def segment(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def gear(cx, cy, r_body, r_teeth, teeth, hole):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if d <= hole:
            return False
        if d <= r_body:
            return True
        angle = math.atan2(y - cy, x - cx) * teeth / (2 * math.pi)
        return d <= r_teeth and (angle - math.floor(angle)) < 0.5
    return inside


def hexcolor(text, alpha=255):
    return (int(text[1:3], 16), int(text[3:5], 16), int(text[5:7], 16), alpha)


ICONS = {
    # Windows administrative tools: a gear on a blue tile.
    "admin_tools": [
        (rect(3, 3, 45, 45, 8), hexcolor("#3b6db3")),
        (gear(24, 24, 13, 18, 8, 5.5), hexcolor("#ffffff")),
    ],
    # The fall-back icon of links whose icon cannot be made.
    "error": [
        (circle(24, 24, 22), hexcolor("#d9443a")),
        (segment(15, 15, 33, 33, 6), hexcolor("#ffffff")),
        (segment(33, 15, 15, 33, 6), hexcolor("#ffffff")),
    ],
    "monitor_off": [
        (rect(3, 7, 45, 36, 3), hexcolor("#2b2b2b")),
        (rect(6, 10, 42, 33), hexcolor("#111418")),
        (rect(20, 36, 28, 41), hexcolor("#2b2b2b")),
        (rect(13, 41, 35, 45, 2), hexcolor("#2b2b2b")),
        (ring(24, 22, 7, 4.5), hexcolor("#d9443a")),
        (rect(22.8, 13, 25.2, 21), hexcolor("#d9443a")),
    ],
    # Web addresses: a globe.
    "url": [
        (circle(24, 24, 22), hexcolor("#2f7fd8")),
        (ring(24, 24, 22, 19.5), hexcolor("#1d5ca6")),
        (rect(3, 22.8, 45, 25.2), hexcolor("#e8f2ff")),
        (rect(22.8, 3, 25.2, 45), hexcolor("#e8f2ff")),
        (lambda x, y: 0 <= (x - 24) ** 2 / 100 + (y - 24) ** 2 / 484 - 1 <= 0.22, hexcolor("#e8f2ff")),
        (rect(6, 13.8, 42, 16.2), hexcolor("#e8f2ff")),
        (rect(6, 31.8, 42, 34.2), hexcolor("#e8f2ff")),
    ],
    # Store applications: a shopping bag.
    "store_app": [
        (ring(24, 15, 9, 6), hexcolor("#1f6fb2")),
        (rect(7, 15, 41, 44, 4), hexcolor("#2f8fd8")),
        (rect(7, 15, 41, 19), hexcolor("#1f6fb2")),
        (circle(17, 24, 2.2), hexcolor("#e8f2ff")),
        (circle(31, 24, 2.2), hexcolor("#e8f2ff")),
    ],
    # System settings: a grey gear.
    "system": [
        (gear(24, 24, 15, 21, 10, 6.5), hexcolor("#6b7280")),
        (ring(24, 24, 10, 8), hexcolor("#4b5563")),
    ],
}


def render(shapes, size):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * 48 / size
                    y = (py + (sy + 0.5) / SAMPLES) * 48 / size
                    colour = (0.0, 0.0, 0.0, 0.0)
                    for inside, (r, g, b, a) in shapes:
                        if inside(x, y):
                            fa = a / 255
                            colour = tuple(c * (1 - fa) + n for c, n in
                                           zip(colour, (r * fa, g * fa, b * fa, fa)))
                    acc = [s + c for s, c in zip(acc, colour)]
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha > 0:
                r, g, b = (round(min(255, acc[i] / n / alpha)) for i in range(3))
            else:
                r = g = b = 0
            row.append((r, g, b, round(alpha * 255)))
        pixels.append(row)
    return pixels


def dib(pixels, size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # alpha decides; the AND mask stays clear
    return header + colour + mask


def ico(shapes):
    images = [dib(render(shapes, s), s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "data/resources"
    for name, shapes in ICONS.items():
        (folder / f"{name}.ico").write_bytes(ico(shapes))
        print(f"{folder / name}.ico")


if __name__ == "__main__":
    main()
