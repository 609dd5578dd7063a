#!/usr/bin/env python3
"""Draws the Brightsweep program icon and writes it as res/brightsweep.ico.

The picture is described as geometry (a rounded tile, a broom, a sparkle) and rendered
at 16, 32 and 48 pixels with 4x4 supersampling, so every size is drawn sharp rather than
scaled from another. Only the standard library is used and nothing depends on time or
randomness: running the script twice gives the same bytes.

    python3 art/make_icon.py [output.ico]
"""
import math
import struct
import sys
from pathlib import Path

SIZES = (16, 32, 48)
SUPERSAMPLE = 4

# Colours as (r, g, b, a) in 0..255.
TILE_TOP = (38, 120, 214, 255)
TILE_BOTTOM = (18, 62, 140, 255)
TILE_EDGE = (10, 36, 90, 255)
HANDLE = (196, 138, 72, 255)
HANDLE_DARK = (120, 78, 36, 255)
BAND = (200, 40, 40, 255)
BRISTLES = (250, 214, 90, 255)
BRISTLES_DARK = (196, 150, 40, 255)
SPARKLE = (255, 255, 255, 255)


def rounded_rect(x, y, x0, y0, x1, y1, r):
    """True when (x, y) lies in the rectangle with corners rounded by r."""
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def to_broom(x, y):
    """Coordinates along (u) and across (v) the broom's axis, which runs from the top
    right to the bottom left of the tile."""
    ox, oy = 0.78, 0.16
    dx, dy = -0.62, 0.62
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    px, py = x - ox, y - oy
    return px * ux + py * uy, px * -uy + py * ux


def sparkle(x, y, cx, cy, r):
    """A four-pointed star: inside when |dx|^p + |dy|^p is small, with p < 1."""
    dx, dy = abs(x - cx) / r, abs(y - cy) / r
    return dx ** 0.5 + dy ** 0.5 <= 1.0


def shade(x, y):
    """Colour of the picture at (x, y) in the unit square, or None where transparent."""
    colour = None
    if rounded_rect(x, y, 0.03, 0.03, 0.97, 0.97, 0.2):
        t = y
        colour = tuple(round(a + (b - a) * t) for a, b in zip(TILE_TOP, TILE_BOTTOM))
        if not rounded_rect(x, y, 0.07, 0.07, 0.93, 0.93, 0.17):
            colour = TILE_EDGE
    u, v = to_broom(x, y)
    if 0.0 <= u <= 0.5 and abs(v) <= 0.045:
        colour = HANDLE if v < 0.012 else HANDLE_DARK
    if 0.5 < u <= 0.56 and abs(v) <= 0.09:
        colour = BAND
    if 0.56 < u <= 0.86:
        half = 0.09 + (u - 0.56) * 0.55
        if abs(v) <= half:
            stripe = int((v + half) / 0.06) % 2
            colour = BRISTLES if stripe == 0 else BRISTLES_DARK
    if sparkle(x, y, 0.27, 0.28, 0.17) or sparkle(x, y, 0.76, 0.72, 0.09):
        colour = SPARKLE
    return colour


def render(size):
    """Rows of premultiplied-free RGBA pixels, top row first."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = shade((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is not None:
                        for i in range(3):
                            acc[i] += c[i] * c[3]
                        acc[3] += c[3]
            alpha = acc[3]
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(acc[i] / alpha) for i in range(3)) + (round(alpha / (n * n)),))
        rows.append(row)
    return rows


def dib(rows):
    """One icon image: a BITMAPINFOHEADER with doubled height, 32-bit BGRA pixels bottom
    row first, then the 1-bit AND mask (set where the pixel is fully transparent)."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, blob in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "res" / "brightsweep.ico"
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(ico([(s, dib(render(s))) for s in SIZES]))
    print(f"wrote {target}")


if __name__ == "__main__":
    main()
