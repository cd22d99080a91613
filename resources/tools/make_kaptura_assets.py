#!/usr/bin/env python3
"""Generates the capture program's binary resources: icons, cursors, the
toolbar and folder-tree bitmaps and the capture sounds; and the logo picture
of the start-up box, a file shipped beside the program ("Logo.png").

Run from anywhere: python3 resources/tools/make_kaptura_assets.py
The files land in resources/kaptura/ and are committed with this script.
Everything is drawn from code, so the output is the same on every run.
"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "kaptura")

# The standard 16-colour order of the suite.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DRED, DGREEN, DYELLOW, DBLUE, DMAGENTA, DCYAN, GRAY = range(8)
SILVER, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)
CLEAR = -1  # transparent in icons


class Canvas:
    """A grid of palette indices, (0, 0) at the top left."""

    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        """Fills the rectangle, right and bottom inclusive."""
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.dot(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        self.line(left, top, right, top, colour)
        self.line(left, bottom, right, bottom, colour)
        self.line(left, top, left, bottom, colour)
        self.line(right, top, right, bottom, colour)

    def box(self, left, top, right, bottom, edge, inside):
        self.fill(left, top, right, bottom, inside)
        self.frame(left, top, right, bottom, edge)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(self.height):
            for x in range(self.width):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    self.dot(x, y, colour)

    def ring(self, cx, cy, radius, colour):
        for y in range(self.height):
            for x in range(self.width):
                d = math.hypot(x - cx, y - cy)
                if radius - 0.6 <= d <= radius + 0.6:
                    self.dot(x, y, colour)

    def art(self, left, top, rows, colours):
        """Draws an ASCII picture; characters map to colours, '.' is skipped."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in colours:
                    self.dot(left + dx, top + dy, colours[ch])

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                self.dot(left + x, top + y, other.pixels[y][x])


# ---------------------------------------------------------------- file formats

def row_bytes(width, bits):
    return ((width * bits + 31) // 32) * 4


def pack_rows(canvas, bits, value_of):
    """Bottom-up rows of the canvas at 1 or 4 bits per pixel."""
    out = bytearray()
    per_byte = 8 // bits
    for y in reversed(range(canvas.height)):
        row = bytearray(row_bytes(canvas.width, bits))
        for x in range(canvas.width):
            v = value_of(canvas.pixels[y][x])
            shift = (per_byte - 1 - x % per_byte) * bits
            row[x // per_byte] |= v << shift
        out += row
    return bytes(out)


def info_header(width, height, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0, colours, 0)


def colour_table(colours):
    return b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in colours)


def bmp16(canvas):
    pixels = pack_rows(canvas, 4, lambda v: v)
    header = info_header(canvas.width, canvas.height, 4, len(pixels), 16) + colour_table(PALETTE16)
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + pixels


def icon_image(canvas):
    """One icon image: 4-bit colour part and its mask (CLEAR is transparent)."""
    colour = pack_rows(canvas, 4, lambda v: 0 if v == CLEAR else v)
    mask = pack_rows(canvas, 1, lambda v: 1 if v == CLEAR else 0)
    header = info_header(canvas.width, canvas.height * 2, 4, len(colour) + len(mask), 16)
    return header + colour_table(PALETTE16) + colour + mask


def ico(canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.width, canvas.height, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


# Cursor pixels: B black, W white, '.' transparent, I inverted screen.
CURSOR_XOR = {"B": 0, "W": 1, ".": 0, "I": 1}
CURSOR_AND = {"B": 0, "W": 0, ".": 1, "I": 1}


def cur(canvas, hot_x, hot_y):
    xor = pack_rows(canvas, 1, lambda v: CURSOR_XOR[v])
    mask = pack_rows(canvas, 1, lambda v: CURSOR_AND[v])
    image = info_header(32, 64, 1, len(xor) + len(mask), 2) + colour_table([(0, 0, 0), (255, 255, 255)])
    image += xor + mask
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hot_x, hot_y, len(image), 22)
    return struct.pack("<HHH", 0, 2, 1) + entry + image


def wav(samples, rate=11025):
    data = bytes(max(0, min(255, int(128 + s * 127))) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        body += b"\0"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png8(width, height, rows, palette):
    """A palette PNG; rows are lists of palette indices, top row first."""
    raw = b"".join(b"\0" + bytes(row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
            + png_chunk(b"PLTE", b"".join(bytes(c) for c in palette))
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))


# ---------------------------------------------------------------- icons

def camera(size):
    c = Canvas(size, size, CLEAR)
    s = size / 32.0
    k = lambda v: int(round(v * s))
    c.box(k(2), k(9), k(29), k(27), BLACK, GRAY)
    c.box(k(5), k(6), k(12), k(9), BLACK, GRAY)
    c.box(k(22), k(7), k(27), k(9), BLACK, RED)
    c.disc(k(16), k(18), k(7), BLACK)
    c.disc(k(16), k(18), k(5.5), DBLUE)
    c.disc(k(16), k(18), k(3), BLUE)
    c.disc(k(14.5), k(16.5), max(1, k(1.2)), WHITE)
    c.fill(k(4), k(11), k(7), k(12), SILVER)
    return c


def image_page(size):
    c = Canvas(size, size, CLEAR)
    s = size / 32.0
    k = lambda v: int(round(v * s))
    c.box(k(3), k(4), k(28), k(27), BLACK, WHITE)
    c.fill(k(5), k(6), k(26), k(18), CYAN)
    c.disc(k(21), k(10), k(2.5), YELLOW)
    for x in range(k(5), k(26) + 1):
        top = k(18) - abs(x - k(12)) // 2 if x < k(20) else k(14)
        c.line(x, max(top, k(12)), x, k(18), DGREEN)
    for y in (k(21), k(24)):
        c.line(k(6), y, k(25), y, GRAY)
    return c


# ---------------------------------------------------------------- cursors

ARROW = [
    "B...........",
    "BB..........",
    "BWB.........",
    "BWWB........",
    "BWWWB.......",
    "BWWWWB......",
    "BWWWWWB.....",
    "BWWWWWWB....",
    "BWWWWWWWB...",
    "BWWWWWWWWB..",
    "BWWWWWBBBBB.",
    "BWWBWWB.....",
    "BWB.BWWB....",
    "BB..BWWB....",
    "B....BWWB...",
    ".....BWWB...",
    "......BB....",
]


def cursor_canvas():
    return Canvas(32, 32, ".")


def crosshair(c, cx=15, cy=15, reach=10):
    for d in range(2, reach + 1):
        for (x, y) in ((cx - d, cy), (cx + d, cy), (cx, cy - d), (cx, cy + d)):
            c.dot(x, y, "B")
    for d in range(2, reach + 1):  # white halo so it shows on dark screens
        for (x, y) in ((cx - d, cy - 1), (cx + d, cy + 1), (cx - 1, cy + d), (cx + 1, cy - d)):
            if c.pixels[y][x] == ".":
                c.dot(x, y, "W")


def arrow(c):
    c.art(0, 0, ARROW, {"B": "B", "W": "W"})


def cursor_pick_color():
    c = cursor_canvas()  # a dropper pointing down-left; hot spot at its tip
    c.art(0, 0, [
        "B..............",
        ".BW............",
        ".BWW...........",
        "..BWW..........",
        "...BWW.........",
        "....BWW........",
        ".....BWW.......",
        "......BWW.BB...",
        ".......BWBWWB..",
        "........BBWWWB.",
        ".........BWWWWB",
        "........BWWWWB.",
        ".........BWWB..",
        "..........BB...",
    ], {"B": "B", "W": "W"})
    return c, 0, 0


def cursor_pick_button():
    c = cursor_canvas()
    crosshair(c)
    c.box(20, 20, 29, 27, "B", "W")
    c.line(21, 26, 28, 26, "B")
    c.line(28, 21, 28, 26, "B")
    return c, 15, 15


def cursor_region():
    c = cursor_canvas()
    crosshair(c)
    for x in range(19, 30, 2):
        c.dot(x, 19, "B")
        c.dot(x, 29, "B")
    for y in range(19, 30, 2):
        c.dot(19, y, "B")
        c.dot(29, y, "B")
    return c, 15, 15


def cursor_freehand():
    c = cursor_canvas()  # a pencil writing at the bottom left
    for i in range(12):
        c.line(3 + i, 27 - i, 7 + i, 31 - i, "W")
    for i in range(14):
        c.dot(4 + i, 26 - i, "B")
        c.dot(8 + i, 30 - i, "B")
    c.line(17, 13, 21, 17, "B")
    c.line(0, 31, 4, 26, "B")
    c.line(0, 31, 5, 30, "B")
    return c, 0, 31


def cursor_drag_image():
    c = cursor_canvas()
    arrow(c)
    c.box(12, 18, 25, 28, "B", "W")
    c.fill(14, 20, 23, 24, "I")
    return c, 0, 0


def cursor_no_drop():
    c = cursor_canvas()
    c.ring(15, 15, 10, "B")
    c.ring(15, 15, 9, "W")
    c.ring(15, 15, 8, "B")
    for i in range(-6, 7):
        c.dot(15 + i, 15 + i, "B")
        c.dot(16 + i, 15 + i, "B")
    return c, 15, 15


def cursor_move_image():
    c = cursor_canvas()
    c.line(15, 3, 15, 27, "B")
    c.line(3, 15, 27, 15, "B")
    for d in range(4):
        for (x, y) in ((15 - d, 3 + d), (15 + d, 3 + d), (15 - d, 27 - d), (15 + d, 27 - d),
                       (3 + d, 15 - d), (3 + d, 15 + d), (27 - d, 15 - d), (27 - d, 15 + d)):
            c.dot(x, y, "B")
    return c, 15, 15


def cursor_pick_window():
    c = cursor_canvas()
    crosshair(c)
    c.box(19, 19, 30, 29, "B", "W")
    c.fill(20, 20, 29, 21, "B")
    return c, 15, 15


def cursor_drop_tree():
    c = cursor_canvas()
    arrow(c)
    c.box(13, 20, 26, 29, "B", "W")
    c.fill(13, 18, 18, 20, "B")
    c.line(19, 22, 19, 27, "B")
    c.line(17, 24, 22, 24, "B")
    c.line(17, 25, 22, 25, "B")
    return c, 0, 0


def cursor_pick_bar():
    c = cursor_canvas()
    crosshair(c)
    c.box(17, 21, 31, 26, "B", "W")
    for x in (20, 24, 28):
        c.fill(x - 1, 23, x, 24, "B")
    return c, 15, 15


CURSORS = {
    "PickColor.cur": cursor_pick_color,
    "PickButton.cur": cursor_pick_button,
    "Region.cur": cursor_region,
    "DragImage.cur": cursor_drag_image,
    "NoDrop.cur": cursor_no_drop,
    "MoveImage.cur": cursor_move_image,
    "Freehand.cur": cursor_freehand,
    "PickWindow.cur": cursor_pick_window,
    "DropTree.cur": cursor_drop_tree,
    "PickBar.cur": cursor_pick_bar,
}


# ---------------------------------------------------------------- toolbar glyphs
# Each glyph is 16 x 15 on the button face (silver), in the button order of
# the toolbar resource.

def glyph():
    return Canvas(16, 15, SILVER)


def picture(c, left, top, right, bottom):
    c.box(left, top, right, bottom, BLACK, CYAN)
    c.line(left + 1, bottom - 1, (left + right) // 2, top + 3, DGREEN)
    c.line((left + right) // 2, top + 3, right - 1, bottom - 1, DGREEN)
    c.dot(right - 2, top + 2, YELLOW)


def floppy(c, left=1, top=1):
    c.box(left, top, left + 12, top + 12, BLACK, DBLUE)
    c.fill(left + 3, top + 1, left + 9, top + 5, WHITE)
    c.fill(left + 3, top + 8, left + 9, top + 12, SILVER)
    c.fill(left + 7, top + 9, left + 8, top + 11, DBLUE)


def g_open():
    c = glyph()
    c.box(1, 4, 12, 13, BLACK, DYELLOW)
    c.fill(1, 3, 5, 4, DYELLOW)
    c.line(1, 3, 5, 3, BLACK)
    c.box(3, 7, 15, 13, BLACK, YELLOW)
    c.line(9, 0, 12, 0, BLACK)
    c.line(13, 1, 13, 4, BLACK)
    c.line(12, 3, 14, 3, BLACK)
    return c


def g_save_as():
    c = glyph()
    floppy(c)
    c.line(10, 13, 15, 8, RED)
    return c


def g_save_all():
    c = glyph()
    floppy(c, 3, 2)
    floppy(c, 0, 0)
    return c


def g_browser():
    c = glyph()
    c.box(0, 1, 15, 13, BLACK, WHITE)
    c.fill(1, 2, 14, 3, DBLUE)
    c.fill(1, 4, 5, 12, SILVER)
    picture(c, 7, 5, 14, 12)
    return c


def g_batch():
    c = glyph()
    picture(c, 0, 0, 6, 6)
    picture(c, 9, 8, 15, 14)
    c.line(3, 9, 3, 12, RED)
    c.line(3, 12, 7, 12, RED)
    c.line(6, 11, 7, 12, RED)
    c.line(6, 13, 7, 12, RED)
    return c


def g_print():
    c = glyph()
    c.box(4, 0, 11, 6, BLACK, WHITE)
    c.box(0, 6, 15, 11, BLACK, SILVER)
    c.box(3, 10, 12, 14, BLACK, WHITE)
    c.dot(13, 8, GREEN)
    return c


def g_copy_image():
    c = glyph()
    picture(c, 0, 0, 8, 8)
    picture(c, 6, 5, 15, 14)
    return c


def g_paste_image():
    c = glyph()
    c.box(1, 2, 10, 14, BLACK, DYELLOW)
    c.box(3, 0, 8, 3, BLACK, GRAY)
    picture(c, 7, 6, 15, 14)
    return c


def g_explorer():
    c = glyph()
    c.line(2, 1, 2, 13, GRAY)
    for y in (3, 8, 13):
        c.line(2, y, 5, y, GRAY)
        c.box(6, y - 2, 11, y + 1, BLACK, YELLOW)
    c.box(0, 0, 4, 2, BLACK, GRAY)
    return c


def g_notepad():
    c = glyph()
    c.box(2, 0, 13, 14, BLACK, WHITE)
    for y in range(3, 13, 2):
        c.line(4, y, 11, y, DBLUE)
    return c


def g_full_screen():
    c = glyph()
    c.box(0, 1, 15, 11, BLACK, DCYAN)
    c.fill(5, 12, 10, 13, GRAY)
    c.line(3, 14, 12, 14, BLACK)
    for (x, y, dx, dy) in ((2, 3, 1, 1), (13, 3, -1, 1), (2, 9, 1, -1), (13, 9, -1, -1)):
        c.line(x, y, x + 2 * dx, y, WHITE)
        c.line(x, y, x, y + 2 * dy, WHITE)
    return c


def g_merge():
    c = glyph()
    picture(c, 0, 0, 9, 8)
    c.box(5, 5, 15, 14, RED, YELLOW)
    return c


def g_frame():
    c = glyph()
    c.box(0, 0, 15, 14, BLACK, DRED)
    c.frame(1, 1, 14, 13, RED)
    picture(c, 3, 3, 12, 11)
    return c


def g_zoom_in():
    c = glyph()
    c.ring(6, 6, 5, BLACK)
    c.disc(6, 6, 4, WHITE)
    c.line(4, 6, 8, 6, BLACK)
    c.line(6, 4, 6, 8, BLACK)
    c.line(10, 10, 14, 14, BLACK)
    c.line(10, 11, 13, 14, BLACK)
    return c


def g_flip_horizontal():
    c = glyph()
    c.line(7, 0, 7, 14, GRAY)
    c.art(0, 3, ["....B", "...BB", "..BBB", ".BBBB", "BBBBB", ".BBBB", "..BBB", "...BB", "....B"], {"B": BLUE})
    c.art(10, 3, ["R....", "RR...", "RRR..", "RRRR.", "RRRRR", "RRRR.", "RRR..", "RR...", "R...."], {"R": RED})
    return c


def g_flip_vertical():
    c = glyph()
    c.line(0, 7, 15, 7, GRAY)
    for i in range(5):
        c.line(7 - i, 1 + i, 8 + i, 1 + i, BLUE)
        c.line(7 - i, 13 - i, 8 + i, 13 - i, RED)
    return c


def rotate(clockwise):
    c = glyph()
    c.ring(8, 8, 5, BLUE)
    c.fill(0, 8, 8, 14, SILVER)
    tip = (3, 8) if clockwise else (13, 8)
    x, y = tip
    c.art(x - 2, y, ["BBBBB", ".BBB.", "..B.."], {"B": BLUE})
    c.fill(3, 10, 12, 14, SILVER)
    c.box(5, 10, 11, 14, BLACK, YELLOW)
    return c


def g_rotate_right():
    return rotate(True)


def g_rotate_left():
    return rotate(False)


def g_count_colors():
    c = glyph()
    for i, colour in enumerate((RED, GREEN, BLUE, YELLOW)):
        x, y = (i % 2) * 7, (i // 2) * 7
        c.box(x, y, x + 6, y + 6, BLACK, colour)
    c.box(9, 9, 15, 14, BLACK, WHITE)
    c.art(11, 10, ["#.#", "###", "#.#", "#.#"], {"#": BLACK})
    return c


def g_check_colors():
    c = glyph()
    c.box(0, 0, 8, 8, BLACK, RED)
    c.box(7, 6, 15, 14, BLACK, BLUE)
    c.line(2, 11, 4, 13, BLACK)
    c.line(4, 13, 6, 9, BLACK)
    return c


def g_reduce_colors():
    c = glyph()
    for i, colour in enumerate((RED, YELLOW, GREEN, CYAN, BLUE, MAGENTA)):
        c.fill(i * 2, 0, i * 2 + 1, 5, colour)
    c.fill(0, 9, 5, 14, BLACK)
    c.fill(6, 9, 11, 14, WHITE)
    c.frame(0, 9, 11, 14, BLACK)
    c.art(12, 3, ["BBB", ".B.", ".B.", ".B.", "BBB"], {"B": DBLUE})
    c.line(13, 8, 13, 10, DBLUE)
    return c


def g_select_image():
    c = glyph()
    picture(c, 2, 2, 13, 12)
    for x in range(0, 16, 2):
        c.dot(x, 0, BLACK)
        c.dot(x, 14, BLACK)
    for y in range(0, 15, 2):
        c.dot(0, y, BLACK)
        c.dot(15, y, BLACK)
    return c


def g_crop():
    c = glyph()
    c.line(3, 0, 3, 12, BLACK)
    c.line(3, 12, 15, 12, BLACK)
    c.line(0, 3, 12, 3, BLACK)
    c.line(12, 3, 12, 15, BLACK)
    c.fill(4, 4, 11, 11, CYAN)
    return c


def g_erase():
    c = glyph()
    for i in range(6):
        c.line(2 + i, 9 - i, 6 + i, 13 - i, WHITE)
        c.line(8 + i, 3 - i + 0, 8 + i, 3 - i, RED)
    c.fill(8, 0, 13, 5, SILVER)
    for i in range(6):
        c.line(7 + i, 6 - i, 9 + i, 8 - i, RED)
    c.line(2, 9, 7, 4, BLACK)
    c.line(2, 9, 6, 13, BLACK)
    c.line(6, 13, 13, 6, BLACK)
    c.line(0, 14, 15, 14, GRAY)
    return c


def g_close_all():
    c = glyph()
    c.box(3, 0, 15, 10, BLACK, WHITE)
    c.box(0, 3, 12, 14, BLACK, WHITE)
    c.fill(1, 4, 11, 5, DBLUE)
    c.line(3, 7, 9, 13, RED)
    c.line(9, 7, 3, 13, RED)
    return c


# Button order of the toolbar resource (separators left out).
TOOLBAR_GLYPHS = [
    g_open, g_save_as, g_save_all, g_browser, g_batch, g_print,
    g_copy_image, g_paste_image,
    g_explorer, g_notepad, g_full_screen,
    g_merge, g_frame, g_zoom_in, g_flip_horizontal, g_flip_vertical, g_rotate_right, g_rotate_left,
    g_count_colors, g_check_colors, g_reduce_colors,
    g_select_image, g_crop, g_erase,
    g_close_all,
]


def toolbar_bitmap():
    strip = Canvas(16 * len(TOOLBAR_GLYPHS), 15, SILVER)
    for i, make in enumerate(TOOLBAR_GLYPHS):
        strip.paste(make(), i * 16, 0)
    return strip


# ---------------------------------------------------------------- folder-tree images
# Six 16 x 16 images on white (the mask colour): computer, drive, closed
# folder, open folder, image file, selected image file.

def tree_images():
    strip = Canvas(96, 16, WHITE)
    computer = Canvas(16, 16, WHITE)
    computer.box(1, 1, 14, 10, BLACK, SILVER)
    computer.fill(3, 3, 12, 8, DCYAN)
    computer.fill(5, 11, 10, 12, GRAY)
    computer.box(2, 13, 13, 15, BLACK, SILVER)
    drive = Canvas(16, 16, WHITE)
    drive.box(0, 5, 15, 11, BLACK, SILVER)
    drive.line(2, 9, 9, 9, GRAY)
    drive.dot(13, 9, GREEN)
    closed = Canvas(16, 16, WHITE)
    closed.box(0, 4, 14, 14, BLACK, YELLOW)
    closed.box(0, 2, 6, 4, BLACK, YELLOW)
    opened = Canvas(16, 16, WHITE)
    opened.box(0, 3, 12, 14, BLACK, DYELLOW)
    opened.art(0, 7, ["...BBBBBBBBBBBBB", "..BYYYYYYYYYYYB.", ".BYYYYYYYYYYYB..",
                      "BYYYYYYYYYYYB...", "BBBBBBBBBBBBB..."], {"B": BLACK, "Y": YELLOW})
    image = Canvas(16, 16, WHITE)
    image.box(2, 0, 13, 15, BLACK, SILVER)
    picture(image, 4, 3, 11, 10)
    selected = Canvas(16, 16, WHITE)
    selected.box(2, 0, 13, 15, BLACK, DBLUE)
    picture(selected, 4, 3, 11, 10)
    for i, part in enumerate((computer, drive, closed, opened, image, selected)):
        strip.paste(part, i * 16, 0)
    return strip


# ---------------------------------------------------------------- logo
# The start-up box is sized to this picture; its lower part stays calm,
# because the box writes the program name and a line of text over it.

LOGO_WIDTH, LOGO_HEIGHT = 320, 200


def logo():
    # Palette: a 64-step blue-to-teal ramp, then the 16 standard colours.
    ramp = [(20 + i, 40 + 2 * i, 110 + i) for i in range(64)]
    palette = ramp + PALETTE16
    base = len(ramp)
    rows = []
    for y in range(LOGO_HEIGHT):
        rows.append([min(63, (x + 2 * y) * 64 // (LOGO_WIDTH + 2 * LOGO_HEIGHT)) for x in range(LOGO_WIDTH)])
    art = Canvas(LOGO_WIDTH, LOGO_HEIGHT, CLEAR)
    for i, (size, left, top) in enumerate(((96, 208, 14), (48, 170, 60))):
        shot = camera(32)
        for y in range(size):
            for x in range(size):
                art.dot(left + x, top + y, shot.pixels[y * 32 // size][x * 32 // size])
    for x in range(12, LOGO_WIDTH - 12):  # a thin rule above the text area
        art.dot(x, 108, SILVER)
    for y in range(LOGO_HEIGHT):
        for x in range(LOGO_WIDTH):
            if art.pixels[y][x] != CLEAR:
                rows[y][x] = base + art.pixels[y][x]
    return png8(LOGO_WIDTH, LOGO_HEIGHT, rows, palette)


# ---------------------------------------------------------------- sounds

RATE = 11025


def tone(freq, seconds, volume=0.6, decay=6.0):
    n = int(RATE * seconds)
    return [volume * math.exp(-decay * i / n) * math.sin(2 * math.pi * freq * i / RATE) for i in range(n)]


def click(seconds=0.03, seed=12345):
    """A short decaying noise burst (a camera shutter leaf)."""
    n = int(RATE * seconds)
    out, state = [], seed
    for i in range(n):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out.append(0.8 * math.exp(-8.0 * i / n) * ((state / 0x7FFFFFFF) * 2 - 1))
    return out


def silence(seconds):
    return [0.0] * int(RATE * seconds)


SOUNDS = {
    "Capture1.wav": lambda: click() + silence(0.06) + click(0.05, 777),  # shutter
    "Capture2.wav": lambda: tone(1320, 0.12),                            # beep
    "Capture3.wav": lambda: tone(880, 0.07, decay=2) + tone(1175, 0.07, decay=2) + tone(1568, 0.1),  # chime
    "Capture4.wav": lambda: [s * 0.9 for s in tone(440, 0.18, decay=3)],  # low tone
}


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    write("Kaptura99.ico", ico([camera(32), camera(16)]))
    write("ImageDoc.ico", ico([image_page(32), image_page(16)]))
    for name, make in CURSORS.items():
        canvas, hot_x, hot_y = make()
        write(name, cur(canvas, hot_x, hot_y))
    write("Toolbar.bmp", bmp16(toolbar_bitmap()))
    write("ExplorerImages.bmp", bmp16(tree_images()))
    for name, make in SOUNDS.items():
        write(name, wav(make()))
    write("Logo.png", logo())


if __name__ == "__main__":
    main()
