#!/usr/bin/env python3
"""Writes the program icon, res/brightsweep.ico, from the mark drawn by art/mark.py.

The icon holds every size Windows asks for (16 to 64 pixels for lists, menus and the
taskbar at the usual screen scalings, 256 for large views), each rendered on its own. The
small sizes are 32-bit bitmaps with an AND mask; the 256-pixel one is stored as a PNG, as
Windows Vista and later read it, which keeps the file small.

    python3 art/make_icon.py [output.ico]
"""
import struct
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import mark  # noqa: E402

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_FROM = 256  # sizes from here on are stored as PNG


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
    """The icon file: a directory of (size, image bytes); 256 is written as 0."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blob for _, blob in images)


def main():
    default = Path(__file__).resolve().parent.parent / "res" / "brightsweep.ico"
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    target.parent.mkdir(parents=True, exist_ok=True)
    images = []
    for size in SIZES:
        rows = mark.render(size)
        images.append((size, mark.png(rows) if size >= PNG_FROM else dib(rows)))
    target.write_bytes(ico(images))
    print(f"wrote {target}")


if __name__ == "__main__":
    main()
