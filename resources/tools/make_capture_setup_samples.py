#!/usr/bin/env python3
"""Generates the sample pictures of the Capture Setup sheet's pages: the
sound picture of the Notification page, the Title and Menu samples (42-57),
the Freehand samples (59, 60) and the Command Bar samples (224-228).

Run from anywhere: python3 resources/tools/make_capture_setup_samples.py
The files land in resources/kaptura/ and are committed with this script.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_kaptura_assets import (BLACK, BLUE, CYAN, DBLUE, DCYAN, DGREEN, GRAY, GREEN, RED, SILVER,
                                 WHITE, YELLOW, DYELLOW, Canvas, bmp16, write)


def words(c, left, top, right, colour, seed=0):
    """A line of 'text': short bars with gaps."""
    x = left
    lengths = [9, 5, 12, 7, 4, 10, 6, 8]
    i = seed
    while x < right:
        n = lengths[i % len(lengths)]
        c.fill(x, top, min(x + n - 1, right), top + 1, colour)
        x += n + 4
        i += 1


def crop(c, left, top, right, bottom):
    out = Canvas(right - left + 1, bottom - top + 1, WHITE)
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            out.pixels[y - top][x - left] = c.pixels[y][x]
    return out


# ---------------------------------------------------------------- sound

def notify_sound():
    c = Canvas(16, 16, GREEN)   # green shows the button face
    c.fill(2, 6, 4, 9, GRAY)
    c.frame(2, 6, 4, 9, BLACK)
    for i in range(4):
        c.line(5 + i, 6 - i, 5 + i, 9 + i, BLACK)
    for r, (x0, y0, y1) in enumerate([(10, 6, 9), (12, 4, 11), (14, 2, 13)]):
        c.line(x0, y0, x0, y1, DBLUE)
    return c


# ---------------------------------------------------------------- title and menu

W, H = 200, 150
TITLE = (0, 0, 199, 20)
MENU = (3, 22, 196, 36)
PULLDOWN = (32, 37, 112, 118)
CASCADE = (123, 84, 190, 140)


def app_window(c):
    """The window behind the menus: frame, title, menu, a page of text."""
    c.fill(0, 0, W - 1, H - 1, SILVER)
    c.fill(4, 38, W - 5, H - 5, WHITE)
    c.frame(4, 38, W - 5, H - 5, GRAY)
    for y in range(44, H - 10, 8):
        words(c, 10, y, W - 14, GRAY, y)
    c.fill(140, 100, 180, 130, DCYAN)


def draw_title(c):
    c.fill(*TITLE, DBLUE)
    c.box(3, 4, 15, 16, WHITE, YELLOW)
    words(c, 20, 10, 120, WHITE)
    for i, x in enumerate((160, 173, 186)):
        c.box(x, 5, x + 10, 15, BLACK, SILVER)


def draw_menu(c):
    c.fill(*MENU, SILVER)
    for x in (8, 34, 62, 92):
        words(c, x, 28, x + 18, BLACK, x)
    c.fill(32, 23, 58, 35, DBLUE)      # the open item
    words(c, 34, 28, 54, WHITE, 34)


def draw_pulldown(c):
    l, t, r, b = PULLDOWN
    c.box(l, t, r, b, BLACK, SILVER)
    for y in range(t + 6, b - 4, 11):
        words(c, l + 6, y, r - 14, BLACK, y)
    c.fill(l + 2, 82, r - 2, 92, DBLUE)   # the item that opens the cascade
    words(c, l + 6, 86, r - 20, WHITE, 3)
    c.line(r - 8, 84, r - 5, 87, WHITE)
    c.line(r - 8, 90, r - 5, 87, WHITE)


def draw_cascade(c):
    l, t, r, b = CASCADE
    c.box(l, t, r, b, BLACK, SILVER)
    for y in range(t + 6, b - 4, 11):
        words(c, l + 6, y, r - 8, BLACK, y + 1)


LAYERS = {"T": (TITLE, draw_title), "M": (MENU, draw_menu), "P": (PULLDOWN, draw_pulldown),
          "C": (CASCADE, draw_cascade)}

# bitmap id: objects, background kept (None: no background between them)
TITLE_MENU = {
    42: ("TMPC", True), 43: ("TMPC", False), 44: ("TMP", True), 45: ("TMP", False),
    46: ("TM", None), 47: ("T", None), 48: ("PC", True), 49: ("PC", False),
    50: ("P", True), 51: ("P", False), 52: ("C", None), 53: ("M", None),
    54: ("MP", True), 55: ("MP", False), 56: ("MPC", True), 57: ("MPC", False),
}
# Where each picture is drawn in the sample (its top-left corner).
OFFSETS = {"P": (32, 22), "PC": (32, 22), "C": (123, 84), "M": (3, 22), "MP": (3, 22), "MPC": (3, 22)}


def title_menu(objects, kept):
    c = Canvas(W, H, WHITE)
    if kept:
        app_window(c)
    for key in objects:
        LAYERS[key][1](c)
    boxes = [LAYERS[key][0] for key in objects]
    left, top = OFFSETS.get(objects, (0, 0))
    right = max(b[2] for b in boxes)
    bottom = max(b[3] for b in boxes)
    if "T" in objects:
        right = W - 1
    return crop(c, left, top, right, bottom)


# ---------------------------------------------------------------- freehand

def freehand(border):
    c = Canvas(160, 130, WHITE)
    scene = Canvas(160, 130, CYAN)
    scene.fill(0, 80, 159, 129, GREEN)
    scene.disc(120, 30, 14, YELLOW)
    scene.fill(30, 55, 70, 90, RED)
    scene.line(30, 55, 50, 35, DYELLOW)
    scene.line(50, 35, 70, 55, DYELLOW)
    # An outline traced by hand: the inside of a wobbly ellipse.
    import math
    points = []
    for i in range(72):
        a = 2 * math.pi * i / 72
        rx = 66 + 6 * math.sin(3 * a)
        ry = 52 + 5 * math.cos(5 * a)
        points.append((80 + rx * math.cos(a), 64 + ry * math.sin(a)))
    # The scene shows through inside the outline itself (even-odd rule at
    # each pixel's centre), so the border drawn below is its edge.
    edges = list(zip(points, points[1:] + points[:1]))
    for y in range(130):
        cy = y + 0.5
        crossings = sorted(x0 + (cy - y0) * (x1 - x0) / (y1 - y0)
                           for (x0, y0), (x1, y1) in edges if (y0 <= cy) != (y1 <= cy))
        for left, right in zip(crossings[::2], crossings[1::2]):
            for x in range(160):
                if left <= x + 0.5 < right:
                    c.pixels[y][x] = scene.pixels[y][x]
    if border:
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            c.line(round(x0), round(y0), round(x1), round(y1), BLACK)
    return c


# ---------------------------------------------------------------- command bar

def command_bar(bar, dropdowns, pointer):
    c = Canvas(186, 96, SILVER)
    c.fill(0, 0, 185, 17, DBLUE)
    words(c, 6, 8, 90, WHITE)
    c.fill(0, 21, 185, 43, SILVER)
    c.line(0, 20, 185, 20, WHITE)
    c.line(0, 43, 185, 43, GRAY)
    for i, x in enumerate(range(4, 150, 22)):
        c.box(x, 24, x + 19, 40, GRAY if i else BLACK, SILVER)
        c.fill(x + 6, 29, x + 13, 35, [RED, DBLUE, DGREEN, DYELLOW, DCYAN, BLUE, GRAY][i % 7])
    if dropdowns:
        c.box(8, 44, 92, 92, BLACK, WHITE)
        for y in range(50, 88, 10):
            words(c, 14, y, 84, BLACK, y)
        c.fill(9, 55, 91, 63, DBLUE)
        words(c, 14, 58, 80, WHITE, 2)
    if pointer:
        arrow = ["B.........", "BB........", "BWB.......", "BWWB......", "BWWWB.....", "BWWWWB....",
                 "BWWWWWB...", "BWWWWWWB..", "BWWWBBBB..", "BWBWB.....", "BB.BWB....", "B...BWB...",
                 "....BWB...", ".....BB..."]
        c.art(60, 58, arrow, {"B": BLACK, "W": WHITE})
    if bar:
        return c
    return crop(c, 8, 44, 92, 92) if dropdowns else c


def main():
    write("NotifySound.bmp", bmp16(notify_sound()))
    for bitmap, (objects, kept) in TITLE_MENU.items():
        write("TitleMenu%d.bmp" % bitmap, bmp16(title_menu(objects, kept)))
    write("FreehandBorder.bmp", bmp16(freehand(True)))
    write("FreehandNoBorder.bmp", bmp16(freehand(False)))
    write("CommandBar224.bmp", bmp16(command_bar(True, True, False)))
    write("CommandBar225.bmp", bmp16(command_bar(True, True, True)))
    write("CommandBar226.bmp", bmp16(command_bar(True, False, False)))
    write("CommandBar227.bmp", bmp16(command_bar(False, True, True)))
    write("CommandBar228.bmp", bmp16(command_bar(False, True, False)))


if __name__ == "__main__":
    main()
