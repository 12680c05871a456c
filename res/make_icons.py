#!/usr/bin/env python3
"""Draws the program's icons: a small yellow torus, tilted towards the viewer
and lit from the upper left, in the 16 colours of the standard Windows
palette. Writes quorvane.ico (icon 107: 32x32 and 16x16) and
quorvane-small.ico (icon 108: 16x16) next to this script, as 4-bit
BMP-in-ICO images with a transparency mask.

Run again after changing the drawing: python3 res/make_icons.py
"""

import math
import os
import struct

# The standard 16-colour palette, in index order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# The torus is shaded from dark to light along these palette entries
# (dark yellow, yellow, white), each taking brightness up to its bound.
RAMP = [(0.45, 3), (0.93, 11), (1.0, 15)]

RING_RADIUS, TUBE_RADIUS = 1.0, 0.5
TILT = math.radians(55)          # rotation about x, so the hole shows
LIGHT = (-0.5, 0.7, -0.6)        # towards the light, upper left and in front
SAMPLES = 4                      # per pixel side, for coverage


def torus_distance(x, y, z):
    ring = math.hypot(x, z) - RING_RADIUS
    return math.hypot(ring, y) - TUBE_RADIUS


def to_object(x, y, z):
    c, s = math.cos(TILT), math.sin(TILT)
    return x, c * y - s * z, s * y + c * z


def normal(x, y, z):
    e = 1e-4
    n = [torus_distance(x + e, y, z) - torus_distance(x - e, y, z),
         torus_distance(x, y + e, z) - torus_distance(x, y - e, z),
         torus_distance(x, y, z + e) - torus_distance(x, y, z - e)]
    length = math.sqrt(sum(v * v for v in n))
    return [v / length for v in n]


def shade(px, py):
    """Brightness 0..1 where the ray through (px, py) hits the torus, else None."""
    z = -3.0
    for _ in range(256):
        ox, oy, oz = to_object(px, py, z)
        d = torus_distance(ox, oy, oz)
        if d < 1e-3:
            n = normal(ox, oy, oz)
            light = to_object(*LIGHT)
            length = math.sqrt(sum(v * v for v in light))
            lambert = max(0.0, sum(a * b for a, b in zip(n, light)) / length)
            return 0.15 + 0.85 * lambert
        z += d
        if z > 3.0:
            break
    return None


def draw(size):
    """Returns size x size palette indices, None where transparent; top row first."""
    extent = RING_RADIUS + TUBE_RADIUS + 0.05
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            hits = []
            for sj in range(SAMPLES):
                for si in range(SAMPLES):
                    u = (i + (si + 0.5) / SAMPLES) / size
                    v = (j + (sj + 0.5) / SAMPLES) / size
                    b = shade((2 * u - 1) * extent, (1 - 2 * v) * extent)
                    if b is not None:
                        hits.append(b)
            if len(hits) * 2 < SAMPLES * SAMPLES:
                row.append(None)
            else:
                brightness = sum(hits) / len(hits)
                row.append(next(index for bound, index in RAMP if brightness <= bound))
        rows.append(row)
    return rows


def bitmap(size):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colour rows, 1-bit mask rows."""
    rows = draw(size)
    colour_stride = (size * 4 + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(colour_stride)
        bits = bytearray(mask_stride)
        for i, index in enumerate(row):
            if index is None:
                bits[i // 8] |= 0x80 >> (i % 8)
                index = 0
            line[i // 2] |= index << (4 if i % 2 == 0 else 0)
        colour += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(colour) + bytes(mask)


def icon(sizes):
    images = [bitmap(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b''.join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, sizes in (('quorvane.ico', [32, 16]), ('quorvane-small.ico', [16])):
        with open(os.path.join(here, name), 'wb') as f:
            f.write(icon(sizes))


if __name__ == '__main__':
    main()
