#!/usr/bin/env python3
"""Reads BMP files the capture cases produce and checks them against the
test pattern kprobe paints.

  bmp_check.py size <file>                        prints "WIDTHxHEIGHT BITS"
  bmp_check.py pattern <file> <ox> <oy> [x y w h] every pixel (or those of the area) is the
                                                  pattern at (pixel + offset); prints the bad count
  bmp_check.py pixel <file> <x> <y>               prints "r g b" of a pixel (top-down)
  bmp_check.py make <file> <w> <h>                writes a 24-bit BMP of the pattern
  bmp_check.py same <file1> <file2>               both hold the same picture
  bmp_check.py same-area <file1> <x1> <y1> <file2> <x2> <y2> <w> <h>
                                                  the w by h area at (x1, y1) of file1 against the
                                                  one at (x2, y2) of file2; prints the bad count
"""
import struct
import sys


def pattern(x, y):
    return ((7 * x + y) & 255, (5 * y) & 255, (x ^ y) & 255)


class Bitmap:
    def __init__(self, path):
        data = open(path, "rb").read()
        if data[:2] != b"BM":
            raise SystemExit("not a BMP file: " + path)
        offset = struct.unpack_from("<I", data, 10)[0]
        size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
        colors = struct.unpack_from("<I", data, 46)[0] if size >= 40 else 0
        if compression not in (0, 3):
            raise SystemExit("compressed BMP not read here")
        self.width, self.bits = width, bits
        self.top_down = height < 0
        self.height = abs(height)
        table_start = 14 + size + (12 if compression == 3 and size == 40 else 0)
        if bits <= 8:
            count = colors or (1 << bits)
            self.table = [tuple(data[table_start + 4 * i + k] for k in (2, 1, 0)) for i in range(count)]
        self.stride = ((width * bits + 31) // 32) * 4
        self.pixels = data[offset:offset + self.stride * self.height]

    def at(self, x, y):
        row = y if self.top_down else self.height - 1 - y
        base = row * self.stride
        if self.bits in (24, 32):
            step = self.bits // 8
            b, g, r = self.pixels[base + step * x:base + step * x + 3]
            return (r, g, b)
        if self.bits == 8:
            return self.table[self.pixels[base + x]]
        if self.bits == 4:
            byte = self.pixels[base + x // 2]
            return self.table[(byte >> 4) if x % 2 == 0 else (byte & 15)]
        if self.bits == 1:
            byte = self.pixels[base + x // 8]
            return self.table[(byte >> (7 - x % 8)) & 1]
        raise SystemExit("depth %d not read here" % self.bits)


def main(args):
    verb = args[0]
    if verb == "size":
        bmp = Bitmap(args[1])
        print("%dx%d %d" % (bmp.width, bmp.height, bmp.bits))
    elif verb == "pattern":
        bmp = Bitmap(args[1])
        ox, oy = int(args[2]), int(args[3])
        x0, y0, w, h = (int(v) for v in args[4:8]) if len(args) >= 8 else (0, 0, bmp.width, bmp.height)
        bad = sum(1 for y in range(y0, y0 + h) for x in range(x0, x0 + w)
                  if bmp.at(x, y) != pattern(x + ox, y + oy))
        print(bad)
    elif verb == "pixel":
        print("%d %d %d" % Bitmap(args[1]).at(int(args[2]), int(args[3])))
    elif verb == "make":
        w, h = int(args[2]), int(args[3])
        stride = ((w * 24 + 31) // 32) * 4
        rows = []
        for y in range(h - 1, -1, -1):
            row = bytearray()
            for x in range(w):
                r, g, b = pattern(x, y)
                row += bytes((b, g, r))
            rows.append(bytes(row) + b"\0" * (stride - 3 * w))
        body = b"".join(rows)
        header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
        with open(args[1], "wb") as out:
            out.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(body), 0, 0, 54) + header + body)
    elif verb == "same":
        a, b = Bitmap(args[1]), Bitmap(args[2])
        if (a.width, a.height) != (b.width, b.height):
            print("sizes differ")
            return 1
        bad = sum(1 for y in range(a.height) for x in range(a.width) if a.at(x, y) != b.at(x, y))
        print(bad)
        return 0 if bad == 0 else 1
    elif verb == "same-area":
        a, b = Bitmap(args[1]), Bitmap(args[4])
        ax, ay, bx, by, w, h = (int(v) for v in args[2:4] + args[5:9])
        if min(ax, ay, bx, by) < 0 or ax + w > a.width or ay + h > a.height or bx + w > b.width or \
                by + h > b.height:
            print("the area lies outside a picture")
            return 1
        print(sum(1 for y in range(h) for x in range(w) if a.at(ax + x, ay + y) != b.at(bx + x, by + y)))
    else:
        raise SystemExit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
