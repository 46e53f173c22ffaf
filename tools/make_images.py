#!/usr/bin/env python3
"""Draws the program's logo and icon as PNG files (no image library needed).

Run it again after changing the shapes; the PNGs it writes are committed.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "images")


def write_png(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in pixels)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def emblem(size, background):
    """A red shield with a white chevron 'V'; `background` fills outside it."""
    red, dark, white = (200, 30, 30), (110, 10, 10), (255, 255, 255)
    rows = []
    c = (size - 1) / 2.0
    for y in range(size):
        row = []
        for x in range(size):
            fy = y / (size - 1)
            # shield: straight top two thirds, then narrowing to a point
            half = c if fy < 0.6 else c * (1.0 - (fy - 0.6) / 0.4)
            inside = abs(x - c) <= half and y >= 1
            edge = inside and abs(x - c) > half - max(1.0, size / 16)
            if not inside:
                row.append(background)
                continue
            # the chevron: two strokes meeting at the bottom centre
            u = abs(x - c) / c
            v = y / (size - 1)
            on_v = 0.15 < v < 0.8 and abs((1.0 - u) * 0.65 + 0.15 - v) < 0.12 and u < 0.8
            row.append(white if on_v else (dark if edge else red))
        rows.append(row)
    return rows


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    # White is the logo's transparent colour.
    write_png(os.path.join(OUT, "logo.png"), emblem(28, (255, 255, 255)))
    write_png(os.path.join(OUT, "velkedit.png"), emblem(48, (255, 255, 255)))
