#!/usr/bin/env python3
"""Draws the Quorvane application icon and writes resources/quorvane.ico.

The icon is a teal rounded square with a white arrow dropping into a tray
("integrate into"). The file holds two images, 32 x 32 and 16 x 16, each an
8-bit palettised DIB with its 1-bit AND mask, which is what the resource
compiler embeds as icon group 102.

Usage: make_icon.py [output.ico]   (default: resources/quorvane.ico)
Python 3 standard library only; the output is deterministic.
"""

import os
import struct
import sys

SIZES = (32, 16)
SUPERSAMPLE = 8

TOP = (0x3C, 0x93, 0xA8)       # fill at the top of the square
BOTTOM = (0x23, 0x62, 0x78)    # fill at the bottom
RIM = (0x17, 0x44, 0x55)       # thin darker rim, so the square reads on white
GLYPH = (0xF5, 0xF9, 0xFA)     # the arrow and the tray


def in_rounded_square(x, y, lo, hi, radius):
    """True if (x, y) lies in the square [lo, hi]^2 with rounded corners."""
    if x < lo or x > hi or y < lo or y > hi:
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def in_rect(x, y, x0, y0, x1, y1):
    return x0 <= x <= x1 and y0 <= y <= y1


def shapes(size):
    """Returns (square, rim, glyph) tests in unit coordinates, y downwards.
    The small image gets slightly heavier strokes so that it stays legible."""
    lo, hi = 0.5 / size, 1.0 - 0.5 / size
    radius = 0.22
    rim = 1.0 / size
    half_shaft = 0.075 if size >= 32 else 0.095
    tray = 0.09 if size >= 32 else 0.11

    def square(x, y):
        return in_rounded_square(x, y, lo, hi, radius)

    def inner(x, y):
        return in_rounded_square(x, y, lo + rim, hi - rim, radius - rim)

    def glyph(x, y):
        if in_rect(x, y, 0.5 - half_shaft, 0.17, 0.5 + half_shaft, 0.48):
            return True
        if in_triangle(x, y, (0.29, 0.43), (0.71, 0.43), (0.5, 0.65)):
            return True
        bottom = 0.81
        if in_rect(x, y, 0.21, bottom - tray, 0.79, bottom):
            return True
        if in_rect(x, y, 0.21, 0.56, 0.21 + tray, bottom):
            return True
        if in_rect(x, y, 0.79 - tray, 0.56, 0.79, bottom):
            return True
        return False

    return square, inner, glyph


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def render(size):
    """Returns rows (top first) of (opaque, (r, g, b)) pixels."""
    square, inner, glyph = shapes(size)
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            cover = inside = mark = 0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    if square(x, y):
                        cover += 1
                        if inner(x, y):
                            inside += 1
                            if glyph(x, y):
                                mark += 1
            if cover * 2 < n * n:
                row.append((False, (0, 0, 0)))
                continue
            fill = mix(TOP, BOTTOM, (py + 0.5) / size)
            colour = mix(RIM, fill, inside / cover)
            colour = mix(colour, GLYPH, mark / cover)
            row.append((True, tuple(int(round(c)) for c in colour)))
        rows.append(row)
    return rows


def build_palette(images):
    """A shared palette of at most 256 colours; index 0 is black, the colour
    that transparent pixels carry under their AND mask bit."""
    step = 1
    while True:
        def snap(c, s=step):
            return tuple(min(255, (v // s) * s + s // 2) for v in c)
        colours = sorted({snap(c) for rows in images for row in rows
                          for opaque, c in row if opaque} - {(0, 0, 0)})
        if len(colours) <= 255:
            return [(0, 0, 0)] + colours, snap
        step *= 2


def dib(rows, palette, snap):
    size = len(rows)
    index = {c: i for i, c in enumerate(palette)}
    xor_stride = (size + 3) & ~3
    and_stride = ((size + 31) // 32) * 4
    xor_bits = bytearray()
    and_bits = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        line = bytearray(index[snap(c)] if opaque else 0 for opaque, c in row)
        xor_bits += line + bytes(xor_stride - size)
        mask = bytearray(and_stride)
        for x, (opaque, _) in enumerate(row):
            if not opaque:
                mask[x // 8] |= 0x80 >> (x % 8)
        and_bits += mask
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 0, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    colours += bytes(4 * (256 - len(palette)))
    return header + colours + bytes(xor_bits) + bytes(and_bits)


def make_ico():
    images = [render(size) for size in SIZES]
    palette, snap = build_palette(images)
    blobs = [dib(rows, palette, snap) for rows in images]
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in zip(SIZES, blobs):
        # Width, height, colour count (0 means 256), reserved, planes, bits.
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 8,
                           len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


def main(argv):
    if len(argv) > 1:
        target = argv[1]
    else:
        here = os.path.dirname(os.path.abspath(__file__))
        target = os.path.join(here, '..', 'resources', 'quorvane.ico')
    with open(target, 'wb') as f:
        f.write(make_ico())
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
