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
    """Writes RGB (3 values a pixel) or RGBA (4 values) rows as a PNG file."""
    height = len(pixels)
    width = len(pixels[0])
    colour_type = 6 if len(pixels[0][0]) == 4 else 2
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in pixels)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
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


def tree_strip():
    """The 16-pixel images shared by the project tree, snippets and tabs.

    0 no project, 1 project, 2 snippets folder, 3 snippet, then per kind of
    file a closed and an open form: 4/5 scripts and functions, 6/7
    description files, 8/9 pages, 10/11 string tables and data, 12/13 others.
    """
    size = 16
    white, edge, fold = (255, 255, 255, 255), (90, 90, 100, 255), (200, 200, 210, 255)
    clear = (0, 0, 0, 0)

    def blank():
        return [[clear] * size for _ in range(size)]

    def document(band, open_form):
        img = blank()
        for y in range(1, 15):
            for x in range(3, 13):
                border = x in (3, 12) or y in (1, 14)
                img[y][x] = edge if border else white
        for y in range(1, 5):  # folded corner
            for x in range(13 - (5 - y), 13):
                img[y][x] = clear if x > 12 - (5 - y) + 1 else fold
        for y in range(4, 13, 2):  # text lines in the kind's colour
            for x in range(5, 11 if y > 4 else 9):
                img[y][x] = band
        if open_form:  # a green dot: the file is open in the editor
            for y in range(10, 16):
                for x in range(10, 16):
                    if (x - 12.5) ** 2 + (y - 12.5) ** 2 <= 7:
                        img[y][x] = (30, 160, 60, 255)
        return img

    def folder(tint):
        img = blank()
        for y in range(3, 14):
            for x in range(1, 15):
                if y == 3 and x > 6:
                    continue
                border = x in (1, 14) or y in (3, 13) or (y == 4 and x > 6)
                img[y][x] = edge if border else tint
        return img

    images = [
        folder((190, 190, 190, 255)),   # no project loaded
        folder((240, 200, 90, 255)),    # a project
        folder((140, 180, 230, 255)),   # the snippets folder
        document((60, 110, 200, 255), False),  # a snippet
    ]
    for band in [(200, 40, 40, 255), (40, 140, 60, 255), (60, 90, 200, 255),
                 (200, 140, 30, 255), (120, 120, 120, 255)]:
        images.append(document(band, False))
        images.append(document(band, True))
    rows = [[px for img in images for px in img[y]] for y in range(size)]
    return rows


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    # White is the logo's transparent colour.
    write_png(os.path.join(OUT, "logo.png"), emblem(28, (255, 255, 255)))
    write_png(os.path.join(OUT, "velkedit.png"), emblem(48, (255, 255, 255)))
    write_png(os.path.join(OUT, "tree.png"), tree_strip())
