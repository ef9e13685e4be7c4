#!/usr/bin/env python3
"""Draws the item tree's icons and the 2-D view's cursors (24x24 RGBA PNGs).

Run from anywhere: writes into ../resources/images beside this script. The drawing helpers
are hobrin's (platform/hobrin/tools/make_icons.py).
"""
import math
import os
import sys

sys.dont_write_bytecode = True

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "platform", "hobrin", "tools"))

from make_icons import (BLUE, EDGE, canvas, disc, document, frame, icon_property, png,
                        put, rect)

FOLDER = (235, 190, 80, 255)
RED = (200, 40, 40, 255)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)


def icon_folder():
    img = canvas()
    rect(img, 2, 5, 9, 7, FOLDER)
    rect(img, 2, 7, 21, 19, FOLDER)
    frame(img, 2, 7, 21, 19, EDGE)
    return img


def icon_paper():
    img = canvas()
    document(img)
    for y in (7, 11, 15):
        rect(img, 8, y, 15, y, EDGE)
    return img


def arrow_vertical(img, up, color):
    # shaft and a triangular head
    rect(img, 11, 6 if up else 3, 12, 20 if up else 17, color)
    for i in range(7):
        y = (3 + i) if up else (20 - i)
        for x in range(11 - i, 13 + i):
            put(img, x, y, color)


def icon_move_up():
    img = canvas()
    arrow_vertical(img, True, BLUE)
    return img


def icon_move_down():
    img = canvas()
    arrow_vertical(img, False, BLUE)
    return img


def icon_delete():
    img = canvas()
    for i in range(4, 20):
        for d in (-1, 0, 1):
            put(img, i + d, i, RED)
            put(img, 23 - i + d, i, RED)
    return img




def cursor_zoom():
    img = canvas()
    disc(img, 10, 10, 7.5, WHITE)
    disc(img, 10, 10, 6.5, (0, 0, 0, 0), ring=BLACK)
    for i in range(5):
        rect(img, 15 + i, 15 + i, 17 + i, 17 + i, BLACK)
    rect(img, 7, 9, 13, 10, BLACK)
    rect(img, 9, 7, 10, 13, BLACK)
    return img


def cursor_move():
    img = canvas()
    rect(img, 11, 3, 12, 20, BLACK)
    rect(img, 3, 11, 20, 12, BLACK)
    for i in range(4):
        for j in range(-i, i + 2):
            put(img, 11 + j, 2 + i, BLACK)
            put(img, 11 + j, 21 - i, BLACK)
            put(img, 2 + i, 11 + j, BLACK)
            put(img, 21 - i, 11 + j, BLACK)
    return img


def cursor_rotate():
    img = canvas()
    for a in range(30, 330, 2):
        t = math.radians(a)
        for r in (6.5, 7.5):
            put(img, int(12 + r * math.cos(t)), int(12 - r * math.sin(t)), BLACK)
    # arrow head at the end of the arc
    for i in range(5):
        rect(img, 17 - i, 4 + i, 19 - i + i, 4 + i, BLACK)
    return img


def main():
    out = os.path.join(HERE, "..", "resources", "images")
    os.makedirs(out, exist_ok=True)
    for name, draw in (("iconFolder.png", icon_folder), ("iconPaper.png", icon_paper),
                       ("iconItemMoveUp.png", icon_move_up),
                       ("iconItemMoveDown.png", icon_move_down),
                       ("iconDeleteItem.png", icon_delete), ("iconProperty.png", icon_property),
                       ("cursorZoom.png", cursor_zoom), ("cursorMove.png", cursor_move),
                       ("cursorRotate.png", cursor_rotate)):
        with open(os.path.join(out, name), "wb") as f:
            f.write(png(draw()))


if __name__ == "__main__":
    main()
