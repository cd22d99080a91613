#!/usr/bin/env python3
"""Finds the title-bar decorations in a screenshot (raw RGB, as
convert-im6.q16 shot.png -depth 8 rgb:shot.rgb writes it).

  caption_check.py glyph <shot.rgb> <width> <x0> <y0> <x1> <y1> <letter>
      prints "x y" of the centre of the first snapshot button glyph of that
      letter (S W R F B C) inside the area, or exits 1
  caption_check.py count <shot.rgb> <width> <x0> <y0> <x1> <y1> <r> <g> <b>
      prints how many pixels of the area have that colour
"""
import sys

GLYPHS = {
    "S": (124, 64, 64, 124, 4, 4, 124),
    "W": (146, 146, 146, 146, 146, 146, 124),
    "R": (124, 68, 68, 124, 80, 72, 68),
    "F": (124, 64, 64, 120, 64, 64, 64),
    "B": (120, 68, 68, 120, 68, 68, 120),
    "C": (56, 68, 64, 64, 64, 68, 56),
}


def main(args):
    verb, path, width = args[0], args[1], int(args[2])
    x0, y0, x1, y1 = (int(v) for v in args[3:7])
    data = open(path, "rb").read()

    def at(x, y):
        i = 3 * (y * width + x)
        return tuple(data[i:i + 3])

    if verb == "count":
        colour = tuple(int(v) for v in args[7:10])
        print(sum(1 for y in range(y0, y1) for x in range(x0, x1) if at(x, y) == colour))
        return 0
    if verb == "glyph":
        rows = GLYPHS[args[7]]
        for y in range(y0, y1 - 6):
            for x in range(x0, x1 - 6):
                ok = True
                for gy in range(7):
                    for gx in range(7):
                        ink = (rows[gy] >> (7 - gx)) & 1
                        if (at(x + gx, y + gy) == (0, 0, 0)) != bool(ink):
                            ok = False
                            break
                    if not ok:
                        break
                if ok:
                    print(x + 3, y + 3)
                    return 0
        return 1
    raise SystemExit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
