#!/usr/bin/env python3
"""Reads a printed page back (a PPM that pdftoppm rendered at the printer's
resolution) and checks the patterned image kprint printed on it.

  print_check.py cells <page.ppm> <page number> <w> <h> <bits> <scale> <box> [gray|bw]
      the page's share of the w x h pattern, enlarged by the scale and placed
      by the alignment box as the library tiles it, in grayscale or black and
      white when asked (palette images only); prints "bad N of M"
  print_check.py screen <page.ppm> <w> <h> <scale> <box>
      a one-page w x h capture of kprobe's pattern window (pattern pixel
      (x, y) at image pixel (x, y)), placed by the box; prints "bad N of M"
  print_check.py grid <page.ppm> <n> <columns> <w> <h> <scale> <box> <order>
      n images of w x h on one page in a grid of the columns, each enlarged
      and placed in its cell by the box; cell j holds the pattern shifted by
      the j-th number of the comma-separated order ("-": 0, 1, 2 ...); the
      cells of the last row past the n-th stay white; prints "bad N of M"
  print_check.py blank <page.ppm> <x> <y> <w> <h>
      the area holds nothing but white; prints "dark N"
"""
import sys

# The pattern's colours, as kprint makes them (red, green, blue).
COLORS = [(255, 0, 0), (0, 200, 0), (0, 0, 255), (255, 255, 0),
          (255, 0, 255), (0, 255, 255), (0, 0, 0), (255, 128, 0)]
MONO = [(0, 0, 0), (255, 255, 255)]
MARGIN = 5


def read_ppm(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6":
        raise SystemExit("not a PPM page: " + path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[at + 1:]


def printer_size(page):
    """The printer's page in its pixels: the A4 pages here are 3508.3 by
    2479.2 pixels at 300 dpi; the printer counts whole pixels, the rendering
    rounds up."""
    return page[0] - 1, page[1] - 1


def matches(got, want, others):
    """The sample shows the wanted colour: close to it, or, on an edge the
    rendering blurs, nearer to it than to every neighbour's colour (a pixel
    out of place shows the neighbour's)."""
    if max(abs(a - b) for a, b in zip(got, want)) <= 48:
        return True
    distance = lambda c: sum((a - b) ** 2 for a, b in zip(got, c))
    return bool(others) and all(distance(want) < distance(o) for o in others if o != want)


def neighbours(x, y, w, h, colour_at):
    return [colour_at(nx, ny) for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1))
            if 0 <= nx < w and 0 <= ny < h and colour_at(nx, ny) != colour_at(x, y)]


def pixel(page, x, y):
    width, _, rgb = page
    at = (y * width + x) * 3
    return rgb[at], rgb[at + 1], rgb[at + 2]


def gray(color):
    r, g, b = color
    level = r if r == g == b else (30 * r + 54 * g + 11 * b) // 100
    if 0 < level < 218:
        level += 58 if level < 128 else 38
    return (level, level, level)


# Nearest of the standard 16 colours: grey, silver, green, yellow, cyan and
# white print white, the others black.
STANDARD = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
            (0, 128, 128), (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0),
            (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def black_white(color):
    distances = [sum((a - b) ** 2 for a, b in zip(color, s)) for s in STANDARD]
    nearest = distances.index(min(distances))
    return (255, 255, 255) if nearest in (7, 8, 10, 11, 14, 15) else (0, 0, 0)


def expected(x, y, bits, mode="", shift=0):
    n = 2 if bits == 1 else 8
    index = (x // 4 + 3 * (y // 4) + shift) % n
    color = (MONO if bits == 1 else COLORS)[index]
    if bits > 8:
        return color
    if mode == "gray":
        return gray(color)
    if mode == "bw" and bits != 1:
        return black_white(color)
    return color


def cells(args):
    page = read_ppm(args[0])
    number, w, h, bits, scale, box = (int(a) for a in args[1:7])
    mode = args[7] if len(args) > 7 else ""
    pw_page, ph_page = printer_size(page)
    W, H = pw_page - 2 * MARGIN, ph_page - 2 * MARGIN
    PW, PH = scale * w, scale * h
    x0, y0 = MARGIN, MARGIN
    if 0 <= box <= 8:
        x0 += [0, (W - PW) // 2, W - PW][box // 3]
        y0 += [0, (H - PH) // 2, H - PH][box % 3]
    if PW > W:
        x0 = MARGIN
    if PH > H:
        y0 = MARGIN
    step_x, step_y = max(1, W // scale), max(1, H // scale)
    down = (h + step_y - 1) // step_y
    column, row = (number - 1) // down, (number - 1) % down
    sx, sy = column * step_x, row * step_y
    tile_w, tile_h = min(step_x, w - sx), min(step_y, h - sy)
    bad = total = 0
    # The centre of every image pixel of the tile: at any scale each image
    # pixel is at least one printer pixel wide, so a pixel out of place (a
    # strip overlap gone wrong) shows. The PDF printer stores deep images
    # with lossy compression, which smears the pattern's cell edges: there
    # only the pixels inside the cells are judged at small scales.
    lossy = bits > 8 and scale < 4
    for py in range(sy, sy + tile_h):
        if lossy and py % 4 in (0, 3):
            continue
        for px in range(sx, sx + tile_w):
            if lossy and px % 4 in (0, 3):
                continue
            dx = x0 + (px - sx) * scale + scale // 2
            dy = y0 + (py - sy) * scale + scale // 2
            if not (0 <= dx < pw_page and 0 <= dy < ph_page):
                continue
            total += 1
            colour_at = lambda x, y: expected(x, y, bits, mode)
            got, want = pixel(page, dx, dy), colour_at(px, py)
            if not matches(got, want, neighbours(px, py, w, h, colour_at)):
                bad += 1
                if bad <= 5:
                    print("pixel %d,%d at %d,%d: %s, want %s" % (px, py, dx, dy, got, want), file=sys.stderr)
    # Just outside the image: paper.
    for dx, dy in ((x0 - 3, y0 + 1), (x0 + 1, y0 - 3)):
        if MARGIN < dx < pw_page and MARGIN < dy < ph_page and min(pixel(page, dx, dy)) < 200:
            bad += 1
            print("ink outside the image at %d,%d" % (dx, dy), file=sys.stderr)
    print("bad %d of %d" % (bad, total))


def origin(page, w, h, scale, box):
    W, H = page[0] - 2 * MARGIN, page[1] - 2 * MARGIN
    PW, PH = scale * w, scale * h
    x0, y0 = MARGIN, MARGIN
    if 0 <= box <= 8:
        x0 += [0, (W - PW) // 2, W - PW][box // 3]
        y0 += [0, (H - PH) // 2, H - PH][box % 3]
    return (MARGIN if PW > W else x0), (MARGIN if PH > H else y0)


def screen(args):
    page = read_ppm(args[0])
    w, h, scale, box = (int(a) for a in args[1:5])
    x0, y0 = origin(page, w, h, scale, box)
    bad = total = 0
    for py in range(0, h, 3):
        for px in range(0, w, 3):
            want = ((7 * px + py) & 255, (5 * py) & 255, (px ^ py) & 255)
            got = pixel(page, x0 + px * scale + scale // 2, y0 + py * scale + scale // 2)
            total += 1
            if max(abs(a - b) for a, b in zip(got, want)) > 48:
                bad += 1
                if bad <= 5:
                    print("pixel %d,%d: %s, want %s" % (px, py, got, want), file=sys.stderr)
    print("bad %d of %d" % (bad, total))


def place(left, top, cw, ch, box, iw, ih):
    """An image in a cell as the library places it (halves toward zero)."""
    half = lambda v: int(v / 2)
    column, row = (box % 9) // 3, (box % 9) % 3
    x = left + [0, half(cw - iw), cw - iw][column]
    y = top + [0, half(ch - ih), ch - ih][row]
    return (left if iw > cw else x), (top if ih > ch else y)


def grid(args):
    page = read_ppm(args[0])
    n, k, w, h, scale, box = (int(a) for a in args[1:7])
    order = list(range(n)) if args[7] == "-" else [int(v) for v in args[7].split(",")]
    W, H = printer_size(page)[0] - 2 * MARGIN, printer_size(page)[1] - 2 * MARGIN
    rows = (n + k - 1) // k
    cw, ch = W // k + 1, H // rows + 1
    bad = total = 0
    for j in range(rows * k):
        left, top = MARGIN + (j % k) * cw, MARGIN + (j // k) * ch
        if j >= n:
            # An empty cell: paper at its middle.
            total += 1
            if min(pixel(page, left + cw // 2, top + ch // 2)) < 200:
                bad += 1
                print("ink in empty cell %d" % j, file=sys.stderr)
            continue
        x0, y0 = place(left, top, cw, ch, box, scale * w, scale * h)
        for py in range(h):
            for px in range(w):
                dx, dy = x0 + px * scale + scale // 2, y0 + py * scale + scale // 2
                total += 1
                colour_at = lambda x, y: expected(x, y, 8, shift=order[j])
                got, want = pixel(page, dx, dy), colour_at(px, py)
                if not matches(got, want, neighbours(px, py, w, h, colour_at)):
                    bad += 1
                    if bad <= 5:
                        print("cell %d pixel %d,%d: %s, want %s" % (j, px, py, got, want), file=sys.stderr)
    print("bad %d of %d" % (bad, total))


def blank(args):
    page = read_ppm(args[0])
    x, y, w, h = (int(a) for a in args[1:5])
    dark = sum(1 for yy in range(y, y + h) for xx in range(x, x + w)
               if min(pixel(page, xx, yy)) < 200)
    print("dark %d" % dark)


if __name__ == "__main__":
    {"cells": cells, "screen": screen, "grid": grid, "blank": blank}[sys.argv[1]](sys.argv[2:])
