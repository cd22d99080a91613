#!/usr/bin/env python3
"""Generates the pictures of the capture program's option dialogs: the About
box's logo (its pure red, green and blue sweep through each other), the
Setup dialog's taskbar without and with the program's notification-area
icon (pure green shows the dialog's colour), and the image browser's icon.

Run from anywhere: python3 resources/tools/make_dialog_assets.py
The files land in resources/kaptura/ and are committed with this script.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_kaptura_assets import (BLACK, BLUE, CLEAR, DBLUE, GRAY, GREEN, RED, SILVER, WHITE, YELLOW, CYAN,
                                 Canvas, bmp16, camera, ico)

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "kaptura")

# 5 x 7 letters and digits of the logo, one string a row.
FONT = {
    "K": ["X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"],
    "9": [".XXX.", "X...X", "X...X", ".XXXX", "....X", "...X.", ".XX.."],
}


def letter(c, ch, left, top, scale, colour):
    for y, row in enumerate(FONT[ch]):
        for x, bit in enumerate(row):
            if bit == "X":
                c.fill(left + x * scale, top + y * scale, left + x * scale + scale - 1,
                       top + y * scale + scale - 1, colour)


def about_logo():
    """A camera beside "K99", on white (the dialog's colour): red, green
    and blue bands under the letters for the sweeps to recolour."""
    c = Canvas(112, 44, WHITE)
    cam = camera(32)
    for y in range(32):
        for x in range(32):
            if cam.pixels[y][x] != CLEAR:
                c.dot(2 + x, 6 + y, cam.pixels[y][x])
    letter(c, "K", 40, 4, 3, RED)
    letter(c, "9", 60, 4, 3, GREEN)
    letter(c, "9", 80, 4, 3, BLUE)
    for i, colour in enumerate((RED, GREEN, BLUE)):
        c.fill(40 + i * 24, 30, 40 + i * 24 + 21, 33, colour)
        c.fill(40 + i * 24, 37, 40 + i * 24 + 21, 40, [BLUE, RED, GREEN][i])
    return c


def taskbar(with_icon):
    """A corner of the screen with the taskbar, on pure green."""
    c = Canvas(120, 44, GREEN)
    c.box(0, 0, 119, 27, BLACK, CYAN)            # the desktop
    c.fill(0, 28, 119, 43, SILVER)               # the taskbar
    c.line(0, 28, 119, 28, WHITE)
    c.box(2, 31, 30, 41, BLACK, SILVER)          # the start button
    c.fill(5, 34, 9, 38, RED)
    c.line(12, 36, 27, 36, BLACK)
    c.box(82, 31, 117, 41, GRAY, SILVER)         # the notification area
    c.line(97, 36, 113, 36, BLACK)
    if with_icon:
        cam = camera(16)
        for y in range(16):
            for x in range(16):
                if cam.pixels[y][x] != CLEAR and 84 + x < 96:
                    c.dot(83 + x, 29 + y, cam.pixels[y][x])
    return c


def browser_icon(size):
    """A picture under a magnifying glass."""
    c = Canvas(size, size, CLEAR)
    s = size / 32.0
    k = lambda v: int(round(v * s))
    c.box(k(2), k(3), k(25), k(22), BLACK, WHITE)
    c.fill(k(4), k(5), k(23), k(14), CYAN)
    c.fill(k(4), k(15), k(23), k(20), GREEN)
    c.disc(k(19), k(8), k(2.5), YELLOW)
    c.disc(k(20), k(19), k(7), BLACK)
    c.disc(k(20), k(19), k(5.5), SILVER)
    c.disc(k(20), k(19), k(4), DBLUE)
    for i in range(max(2, k(3))):
        c.line(k(24) + i, k(24), k(30), k(30) - i, BLACK)
    return c


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    write("AboutLogo.bmp", bmp16(about_logo()))
    write("SetupNoTray.bmp", bmp16(taskbar(False)))
    write("SetupTray.bmp", bmp16(taskbar(True)))
    write("Pixorama99.ico", ico([browser_icon(32), browser_icon(16)]))


if __name__ == "__main__":
    main()
