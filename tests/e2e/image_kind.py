#!/usr/bin/env python3
"""What an image file is, read from its own bytes, for the converter's cases.

  image_kind.py kind FILE...       prints for each file its name and kind:
                                   bmp, clp, gif, gif-interlaced, jpg, pcx,
                                   png, tif, wpg or unknown
  image_kind.py clip-bitmap FOLDER FILE...
                                   writes the bitmap each clipboard file
                                   holds as a BMP file of the same name in
                                   FOLDER, for other tools to read

One run takes many files: the interpreter's start is slow on a busy machine.
"""
import os
import struct
import sys


def gif_kind(data):
    """gif or gif-interlaced by the first image descriptor's flag."""
    at = 13
    if data[10] & 0x80:   # a global colour table follows the screen descriptor
        at += 3 << ((data[10] & 7) + 1)
    while at < len(data):
        if data[at] == 0x2C:
            return "gif-interlaced" if data[at + 9] & 0x40 else "gif"
        if data[at] != 0x21:
            break
        at += 2   # an extension: its label, then sub-blocks up to an empty one
        while at < len(data) and data[at]:
            at += data[at] + 1
        at += 1
    return "gif-without-image"


SIGNATURES = [(b"BM", "bmp"), (struct.pack("<H", 50000), "clp"), (b"GIF87a", None), (b"GIF89a", None),
              (b"\xff\xd8\xff", "jpg"), (b"\x0a\x03\x01", "pcx"), (b"\x0a\x05\x01", "pcx"), (b"\x89PNG\r\n\x1a\n", "png"),
              (b"II*\0", "tif"), (b"\xffWPC", "wpg")]


def kind(path):
    data = open(path, "rb").read()
    for magic, name in SIGNATURES:
        if data.startswith(magic):
            return name or gif_kind(data)
    return "unknown"


def clip_bitmap(path, out):
    """The first format of a clipboard file, when it is a device-independent
    bitmap, behind a bitmap file header."""
    data = open(path, "rb").read()
    if struct.unpack_from("<H", data, 2)[0] < 1:
        sys.exit("no format in the clipboard file")
    form, length, offset = struct.unpack_from("<HII", data, 4)
    if form != 8:
        sys.exit(f"first clipboard format is {form}, not a device-independent bitmap")
    dib = data[offset:offset + length]
    if len(dib) != length:
        sys.exit(f"clipboard bitmap holds {len(dib)} of {length} bytes")
    header_size, bits, used = struct.unpack_from("<I", dib, 0)[0], struct.unpack_from("<H", dib, 14)[0], \
        struct.unpack_from("<I", dib, 32)[0]
    colours = used or (1 << bits if bits <= 8 else 0)
    header = b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, 14 + header_size + 4 * colours)
    open(out, "wb").write(header + dib)


if __name__ == "__main__":
    if sys.argv[1] == "kind":
        for path in sys.argv[2:]:
            print(os.path.basename(path), kind(path))
    elif sys.argv[1] == "clip-bitmap":
        for path in sys.argv[3:]:
            clip_bitmap(path, os.path.join(sys.argv[2], os.path.basename(path) + ".bmp"))
    else:
        sys.exit(f"unknown command {sys.argv[1]}")
