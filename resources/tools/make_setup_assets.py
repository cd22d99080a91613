#!/usr/bin/env python3
"""Generates the installer's pictures: the side picture of the wizard pages
("setup.png", shipped beside setup.exe), the Finish page's bitmap and the
background tile.

Run from anywhere: python3 resources/tools/make_setup_assets.py
The files land in resources/setup/ and are committed with this script.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_kaptura_assets import (BLACK, CLEAR, DGREEN, GREEN, PALETTE16, WHITE, Canvas, bmp16, camera,
                                 colour_table, info_header, png8, row_bytes)

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "setup")

# The wizard's picture frame is 120 x 230 pixels at the usual dialog font.
SIDE_WIDTH, SIDE_HEIGHT = 120, 230


def scaled_camera(size):
    shot = camera(32)
    c = Canvas(size, size, CLEAR)
    for y in range(size):
        for x in range(size):
            c.pixels[y][x] = shot.pixels[y * 32 // size][x * 32 // size]
    return c


def paste_opaque(canvas, other, left, top):
    for y in range(other.height):
        for x in range(other.width):
            if other.pixels[y][x] != CLEAR:
                canvas.dot(left + x, top + y, other.pixels[y][x])


def side_picture():
    """A deep blue to teal ramp with a camera and three pictures falling out
    of it."""
    ramp = [(10 + i // 2, 30 + i, 90 + i) for i in range(96)]
    palette = ramp + PALETTE16
    base = len(ramp)
    rows = [[min(95, (y * 96) // SIDE_HEIGHT + (x * 8) // SIDE_WIDTH) for x in range(SIDE_WIDTH)]
            for y in range(SIDE_HEIGHT)]
    art = Canvas(SIDE_WIDTH, SIDE_HEIGHT, CLEAR)
    paste_opaque(art, scaled_camera(64), 28, 22)
    for i, (left, top) in enumerate(((18, 100), (52, 128), (28, 160))):
        art.box(left, top, left + 44, top + 34, BLACK, WHITE)
        art.fill(left + 3, top + 3, left + 41, top + 20, (12, 14, 13)[i])   # sky
        art.fill(left + 3, top + 21, left + 41, top + 31, DGREEN)           # land
        art.disc(left + 33, top + 9, 3, 11)                                  # sun
    for y in range(SIDE_HEIGHT):
        for x in range(SIDE_WIDTH):
            if art.pixels[y][x] != CLEAR:
                rows[y][x] = base + art.pixels[y][x]
    return png8(SIDE_WIDTH, SIDE_HEIGHT, rows, palette)


def finish_bitmap():
    """The camera over a large tick, on white (the page shows its own face
    colour there)."""
    c = Canvas(SIDE_WIDTH, SIDE_HEIGHT, WHITE)
    paste_opaque(c, scaled_camera(64), 28, 30)
    for i in range(-3, 4):
        c.line(30, 150 + i, 52, 172 + i, GREEN)
        c.line(52, 172 + i, 94, 118 + i, GREEN)
    return c


TILE = 96


def background_tile():
    """A light blue-grey tile with soft diamonds, 8 bits; the title is
    drawn over it in pure blue."""
    palette = [(196 + i, 210 + i, 230 + i // 2) for i in range(24)]
    pixels = bytearray()
    for y in reversed(range(TILE)):
        row = bytearray(row_bytes(TILE, 8))
        for x in range(TILE):
            d = abs((x % 48) - 24) + abs((y % 48) - 24)
            row[x] = min(23, d // 2)
        pixels += row
    header = info_header(TILE, TILE, 8, len(pixels), len(palette)) + colour_table(palette)
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + bytes(pixels)


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    write("setup.png", side_picture())
    write("Finish.bmp", bmp16(finish_bitmap()))
    write("Background.bmp", background_tile())


if __name__ == "__main__":
    main()
