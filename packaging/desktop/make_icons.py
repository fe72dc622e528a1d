#!/usr/bin/env python3
"""Draws the program's icon (the same art as its window icon, ui/common/resources/make_art.py) at
the hicolor theme's usual sizes: OUT_DIR/<N>x<N>/apps/NAME.png for each size given."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "ui", "common", "resources"))
import make_art  # noqa: E402


def main(argv):
    if len(argv) < 4:
        sys.exit("usage: make_icons.py OUT_DIR NAME SIZE...")
    out_dir, name, sizes = argv[1], argv[2], [int(s) for s in argv[3:]]
    for size in sizes:
        folder = os.path.join(out_dir, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name + ".png")
        make_art.write_png(path, size, size, make_art.draw_icon(size))


if __name__ == "__main__":
    main(sys.argv)
