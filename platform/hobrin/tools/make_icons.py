#!/usr/bin/env python3
"""Draws hobrin's small icons (24x24 RGBA PNGs) with the standard library only.

Run from anywhere: writes into ../resources/images beside this script. The pictures are
simple shapes on a transparent background, enough to be recognised in a menu.
"""
import math
import os
import struct
import zlib

SIZE = 24


def png(pixels):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def canvas():
    return [[(0, 0, 0, 0) for _ in range(SIZE)] for _ in range(SIZE)]


def put(img, x, y, color):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        img[y][x] = color


def rect(img, x0, y0, x1, y1, color):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            put(img, x, y, color)


def frame(img, x0, y0, x1, y1, color):
    for x in range(x0, x1 + 1):
        put(img, x, y0, color)
        put(img, x, y1, color)
    for y in range(y0, y1 + 1):
        put(img, x0, y, color)
        put(img, x1, y, color)


def disc(img, cx, cy, r, color, ring=None):
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= r:
                put(img, x, y, color)
            if ring is not None and r - 1.5 < d <= r:
                put(img, x, y, ring)


def arrow_right(img, y, x0, x1, color):
    rect(img, x0, y - 1, x1 - 4, y + 1, color)
    for i in range(5):
        for yy in range(y - 4 + i, y + 5 - i):
            put(img, x1 - 4 + i, yy, color)


def arrow_left(img, y, x0, x1, color):
    rect(img, x0 + 4, y - 1, x1, y + 1, color)
    for i in range(5):
        for yy in range(y - 4 + i, y + 5 - i):
            put(img, x0 + 4 - i, yy, color)


PAPER = (250, 250, 245, 255)
EDGE = (90, 90, 90, 255)
BLUE = (30, 90, 200, 255)
GREEN = (30, 150, 60, 255)


def document(img):
    rect(img, 5, 2, 18, 21, PAPER)
    frame(img, 5, 2, 18, 21, EDGE)


def icon_property():
    img = canvas()
    document(img)
    for i, y in enumerate((6, 10, 14, 18)):
        rect(img, 8, y, 9, y + 1, BLUE)
        rect(img, 11, y, 16 - (i % 2) * 2, y + 1, EDGE)
    return img


def icon_import():
    img = canvas()
    document(img)
    arrow_right(img, 12, 0, 13, GREEN)
    return img


def icon_export():
    img = canvas()
    document(img)
    arrow_right(img, 12, 11, 23, BLUE)
    return img


def icon_color():
    img = canvas()
    disc(img, 12, 12, 11, (240, 240, 240, 255), ring=EDGE)
    disc(img, 8, 8, 3.5, (220, 40, 40, 255))
    disc(img, 16, 8, 3.5, (40, 170, 60, 255))
    disc(img, 8, 16, 3.5, (40, 80, 220, 255))
    disc(img, 16, 16, 3.5, (240, 200, 30, 255))
    return img


def icon_question():
    img = canvas()
    disc(img, 12, 12, 11, BLUE)
    white = (255, 255, 255, 255)
    # the hook of the question mark
    for a in range(-200, 50, 5):
        t = math.radians(a)
        for r in (3.6, 4.2, 4.8):
            put(img, int(12 + r * math.cos(t)), int(9 + r * math.sin(t)), white)
    rect(img, 11, 12, 13, 15, white)
    rect(img, 11, 17, 13, 19, white)
    return img


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "resources", "images")
    os.makedirs(out, exist_ok=True)
    for name, draw in (("iconProperty.png", icon_property), ("iconImport.png", icon_import),
                       ("iconExport.png", icon_export), ("iconColor.png", icon_color),
                       ("iconQuestion.png", icon_question)):
        with open(os.path.join(out, name), "wb") as f:
            f.write(png(draw()))


if __name__ == "__main__":
    main()
