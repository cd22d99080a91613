#!/usr/bin/env python3
"""Generates the image browser's binary resources: its icon, toolbar strip,
the folder-tree images and the silent clip the scanner dialog plays.

Run from anywhere: python3 resources/tools/make_pixorama_assets.py
The files land in resources/pixorama/ and are committed with this script.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_kaptura_assets import (BLACK, BLUE, CLEAR, DBLUE, DGREEN, GRAY, RED, SILVER, WHITE, YELLOW, Canvas,
                                 bmp16, g_batch, g_copy_image, g_full_screen, g_print, g_save_as, glyph, ico,
                                 picture, tree_images)
from make_morfix_assets import avi

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "pixorama")


def g_select_formats():
    """A drive with a tick above it."""
    c = glyph()
    c.box(0, 8, 15, 14, BLACK, SILVER)
    c.line(2, 12, 9, 12, GRAY)
    c.dot(13, 12, DGREEN)
    for i in range(3):
        c.line(3 + i, 3 + i, 3 + i, 5 + i, DGREEN)
    for i in range(6):
        c.line(6 + i, 5 - i, 6 + i, 7 - i, DGREEN)
    return c


def g_delete():
    c = glyph()
    picture(c, 0, 0, 9, 9)
    for i in range(7):
        c.line(7 + i, 7 + i, 8 + i, 7 + i, RED)
        c.line(13 - i, 7 + i, 14 - i, 7 + i, RED)
    return c


def g_report():
    c = glyph()
    c.box(2, 0, 13, 14, BLACK, WHITE)
    for y, width in ((3, 6), (6, 9), (9, 4), (12, 8)):
        c.line(4, y, 4 + width - 1, y, DBLUE)
    return c


# Button order of toolbar 128 (separators left out).
TOOLBAR_GLYPHS = [g_select_formats, g_batch, g_save_as, g_print, g_copy_image, g_full_screen, g_delete, g_report]


def toolbar_bitmap():
    strip = Canvas(16 * len(TOOLBAR_GLYPHS), 15, SILVER)
    for i, make in enumerate(TOOLBAR_GLYPHS):
        strip.paste(make(), i * 16, 0)
    return strip


def browser_icon(size):
    """A picture under a magnifying glass."""
    c = Canvas(size, size, CLEAR)
    k = lambda v: int(round(v * size / 32.0))
    c.box(k(1), k(3), k(22), k(24), BLACK, WHITE)
    picture(c, k(3), k(5), k(20), k(22))
    c.ring(k(21), k(19), k(7), BLACK)
    c.ring(k(21), k(19), k(6), BLUE)
    for i in range(k(4)):
        c.line(k(26) + i, k(24) + i, k(27) + i, k(24) + i, BLACK)
        c.line(k(25) + i, k(25) + i, k(26) + i, k(25) + i, BLACK)
    return c


CLIP_WIDTH, CLIP_HEIGHT, CLIP_FRAMES = 192, 32, 12


def clip_frame(number):
    """Three folders and a magnifying glass moving over them; silver (the
    first pixel) shows the dialog."""
    c = Canvas(CLIP_WIDTH, CLIP_HEIGHT, SILVER)
    for left in (12, 80, 148):
        c.box(left, 10, left + 30, 28, BLACK, YELLOW)
        c.box(left, 6, left + 12, 10, BLACK, YELLOW)
    x = 16 + (number * (CLIP_WIDTH - 48)) // (CLIP_FRAMES - 1)
    c.ring(x + 8, 14, 8, BLACK)
    c.ring(x + 8, 14, 7, WHITE)
    c.line(x + 14, 20, x + 20, 27, BLACK)
    c.line(x + 15, 20, x + 21, 27, RED if number % 2 else BLACK)
    return c


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    write("Pixorama99.ico", ico([browser_icon(32), browser_icon(16)]))
    write("Toolbar.bmp", bmp16(toolbar_bitmap()))
    write("TreeImages.bmp", bmp16(tree_images()))
    write("Scan.avi", avi([clip_frame(n) for n in range(CLIP_FRAMES)]))


if __name__ == "__main__":
    main()
