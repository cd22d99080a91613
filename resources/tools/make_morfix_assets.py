#!/usr/bin/env python3
"""Generates the batch converter's binary resources: its icon, the folder
and file images of its trees and lists, and the silent clip it plays while
converting.

Run from anywhere: python3 resources/tools/make_morfix_assets.py
The files land in resources/morfix/ and are committed with this script.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_kaptura_assets import (BLACK, BLUE, CLEAR, DBLUE, GRAY, GREEN, PALETTE16, RED, SILVER, WHITE,
                                 YELLOW, Canvas, bmp16, colour_table, ico, info_header, tree_images)

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "morfix")


def folder_images():
    """Five 16 x 16 images on white: computer, drive, folder, open folder, file."""
    tree = tree_images()
    strip = Canvas(80, 16, WHITE)
    for y in range(16):
        for x in range(80):
            strip.pixels[y][x] = tree.pixels[y][x]
    return strip


def page(c, left, top, size, paint):
    c.box(left, top, left + size - 1, top + size + size // 4, BLACK, WHITE)
    inset = max(2, size // 6)
    c.fill(left + inset, top + inset, left + size - 1 - inset, top + size // 2, paint)


def converter_icon(size):
    """Two pages with an arrow from the one to the other."""
    c = Canvas(size, size, CLEAR)
    p = size * 7 // 16
    page(c, 0, 0, p, BLUE)
    page(c, size - p, size - p - p // 4 - 1, p, RED)
    mid = size // 2
    for i in range(size // 8 + 1):
        c.line(p // 2 + i, mid - 1, size - p - 1, mid - 1, GREEN)
    c.line(size - p - 3, mid - 4, size - p, mid - 1, GREEN)
    c.line(size - p - 3, mid + 2, size - p, mid - 1, GREEN)
    return c


CLIP_WIDTH, CLIP_HEIGHT, CLIP_FRAMES = 192, 32, 12


def clip_frame(number):
    """A picture page on the left, a blank one on the right, and a block
    travelling between them; silver (the first pixel) shows the dialog."""
    c = Canvas(CLIP_WIDTH, CLIP_HEIGHT, SILVER)
    c.box(4, 2, 27, 29, BLACK, WHITE)
    c.fill(8, 6, 23, 15, BLUE)
    c.fill(8, 18, 23, 25, YELLOW)
    c.box(164, 2, 187, 29, BLACK, WHITE)
    filled = (number * 24) // (CLIP_FRAMES - 1)
    if filled:
        c.fill(168, 6, 183, 6 + min(filled, 19), DBLUE)
    travel = 32 + (number * (160 - 32 - 16)) // (CLIP_FRAMES - 1)
    c.box(travel, 10, travel + 15, 21, BLACK, GREEN if number % 2 else RED)
    for x in range(32, travel - 2, 6):
        c.line(x, 15, x + 2, 15, GRAY)
    return c


def avi(frames):
    """An uncompressed 8-bit clip with an index, as the animation control reads it."""
    width, height = frames[0].width, frames[0].height
    stride = (width + 3) & ~3
    size = stride * height

    def rows(canvas):
        out = bytearray()
        for y in reversed(range(height)):
            out += bytes(canvas.pixels[y]) + b"\0" * (stride - width)
        return bytes(out)

    def chunk(fourcc, data):
        return fourcc + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")

    def listing(kind, data):
        return chunk(b"LIST", kind + data)

    per_frame = 100000  # microseconds
    avih = struct.pack("<14I", per_frame, size * 10, 0, 0x10, len(frames), 0, 1, size, width, height, 0, 0, 0, 0)
    strh = (b"vids" + b"DIB " + struct.pack("<IHHIIIIIIII", 0, 0, 0, 0, 1, 10, 0, len(frames), size, 0, 0)
            + struct.pack("<4h", 0, 0, width, height))
    strf = info_header(width, height, 8, size, 16) + colour_table(PALETTE16)
    hdrl = listing(b"hdrl", chunk(b"avih", avih) + listing(b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_data = b""
    index = b""
    for frame in frames:
        offset = 4 + len(movi_data)  # from the "movi" type field
        data = rows(frame)
        movi_data += chunk(b"00db", data)
        index += b"00db" + struct.pack("<III", 0x10, offset, len(data))
    body = b"AVI " + hdrl + listing(b"movi", movi_data) + chunk(b"idx1", index)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    write("Morfix99.ico", ico([converter_icon(32), converter_icon(16)]))
    write("Folders.bmp", bmp16(folder_images()))
    write("Convert.avi", avi([clip_frame(n) for n in range(CLIP_FRAMES)]))


if __name__ == "__main__":
    main()
