#!/usr/bin/env python3
"""The Brightsweep mark: a broom sweeping a bright trail across a blue tile, with two sparks.

Every picture of the program shows this one drawing: art/make_icon.py renders it into the
icon, and art/make-pictures and art/make-art.sh place it on the splash, the About page's
logo and the banner. It is described as geometry in the unit square and rendered at each
size with 4x4 supersampling, so small sizes are drawn sharp rather than scaled down. Only
the standard library is used and nothing depends on time or randomness: the same size
always gives the same bytes.

    python3 art/mark.py SIZE output.png     # the mark as a SIZE x SIZE RGBA picture
"""
import math
import struct
import sys
import zlib
from pathlib import Path

SUPERSAMPLE = 4

# Colours as (r, g, b, a) in 0..255.
TILE_TOP = (47, 143, 216, 255)
TILE_BOTTOM = (12, 47, 110, 255)
TILE_EDGE = (8, 30, 76, 255)
TRAIL_GOLD = (255, 212, 90, 150)
TRAIL_BLUE = (143, 214, 255, 120)
HANDLE = (214, 156, 88, 255)
HANDLE_DARK = (132, 86, 40, 255)
BAND = (206, 44, 44, 255)
BRISTLES = (255, 218, 96, 255)
BRISTLES_DARK = (206, 158, 44, 255)
SPARK = (255, 255, 255, 255)

# The broom's axis runs from the top right of the tile to the bottom left.
BROOM_TOP = (0.82, 0.15)
BROOM_ANGLE = math.radians(135)  # measured from +x, with y growing downwards


def over(top, below):
    """`top` painted over `below` (straight, not premultiplied, alpha)."""
    if top is None:
        return below
    if below is None or top[3] == 255:
        return top
    a = top[3] / 255
    b = below[3] / 255 * (1 - a)
    out = a + b
    if out == 0:
        return None
    return tuple(round((top[i] * a + below[i] * b) / out) for i in range(3)) + (round(out * 255),)


def rounded_rect(x, y, x0, y0, x1, y1, r):
    """True when (x, y) lies in the rectangle with corners rounded by r."""
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def spark(x, y, cx, cy, r):
    """A four-pointed star: inside when |dx|^p + |dy|^p is small, with p < 1."""
    dx, dy = abs(x - cx) / r, abs(y - cy) / r
    return dx**0.5 + dy**0.5 <= 1.0


def broom_coordinates(x, y):
    """Coordinates along (u, from the handle's top) and across (v) the broom's axis."""
    ux, uy = math.cos(BROOM_ANGLE), math.sin(BROOM_ANGLE)
    px, py = x - BROOM_TOP[0], y - BROOM_TOP[1]
    return px * ux + py * uy, -px * uy + py * ux


def trail(x, y):
    """The bright sweep the broom leaves: two arcs curving from the bristles to the right,
    fading out towards their ends."""
    colour = None
    for (cx, cy, r, width, tint) in ((0.50, 0.10, 0.74, 0.045, TRAIL_GOLD),
                                     (0.50, 0.10, 0.64, 0.035, TRAIL_BLUE)):
        d = math.hypot(x - cx, y - cy)
        angle = math.degrees(math.atan2(y - cy, x - cx))
        if abs(d - r) <= width / 2 and 35 <= angle <= 118:
            fade = (angle - 35) / (118 - 35)
            colour = over(tint[:3] + (round(tint[3] * fade),), colour)
    return colour


def shade(x, y):
    """Colour of the mark at (x, y) in the unit square, or None where transparent."""
    if not rounded_rect(x, y, 0.03, 0.03, 0.97, 0.97, 0.2):
        colour = None
    elif not rounded_rect(x, y, 0.065, 0.065, 0.935, 0.935, 0.17):
        colour = TILE_EDGE
    else:
        colour = tuple(round(a + (b - a) * y) for a, b in zip(TILE_TOP, TILE_BOTTOM))
        colour = over(trail(x, y), colour)

    u, v = broom_coordinates(x, y)
    if 0.0 <= u <= 0.47 and abs(v) <= 0.042:
        colour = HANDLE if v < 0.01 else HANDLE_DARK
    elif 0.47 < u <= 0.53 and abs(v) <= 0.085:
        colour = BAND
    elif 0.53 < u:
        # The bristles fan out and end in a slight curve.
        half = 0.085 + (u - 0.53) * 0.5
        end = 0.80 - 0.8 * v * v
        if abs(v) <= half and u <= end:
            stripe = int((v / half + 1) * 3.5) % 2
            colour = BRISTLES if stripe == 0 else BRISTLES_DARK

    if spark(x, y, 0.29, 0.30, 0.17) or spark(x, y, 0.76, 0.58, 0.085):
        colour = SPARK
    return colour


def render(size):
    """Rows of RGBA pixels (straight alpha), top row first."""
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
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(acc[i] / acc[3]) for i in range(3)) +
                           (round(acc[3] / (n * n)),))
        rows.append(row)
    return rows


def png(rows):
    """The rows as a PNG file: 8-bit RGBA, no filtering, fixed compression."""
    size = len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(value for pixel in row for value in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: mark.py SIZE output.png")
    target = Path(sys.argv[2])
    target.write_bytes(png(render(int(sys.argv[1]))))


if __name__ == "__main__":
    main()
