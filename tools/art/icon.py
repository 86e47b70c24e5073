#!/usr/bin/env python3
"""The game's icon, for the desktop and for the window.

The picture is one 32 x 32 pixel map, ui/icons/app-icon.txt.  It is scaled
by nearest neighbour, so every size keeps the same crisp pixels, and written
with a real alpha channel (the colour key is the game's own rule; desktops
and window managers need transparency in the file):

  packaging/icons/<N>x<N>/org.zelvane.Zelvane.png   N = 32, 64, 128, 256
  resources/textures/icon.png                       64 px, the window icon

Run from anywhere:  python3 tools/art/icon.py
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pixelart import PALETTE, REPO, TEXTURES, encode_png, scale_to  # noqa: E402
from ui import read_icon  # noqa: E402

APP_ID = "org.zelvane.Zelvane"
SOURCE = 32
DESKTOP_SIZES = (32, 64, 128, 256)
WINDOW_SIZE = 64


def icon():
    rows, _ = read_icon("app-icon", SOURCE, SOURCE)
    return [[PALETTE[c] for c in row] for row in rows]


def write(path, img, n):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(encode_png(scale_to(img, n, n), alpha=True))
    print("wrote %-50s %dx%d" % (os.path.relpath(path, REPO), n, n))


def main():
    img = icon()
    for n in DESKTOP_SIZES:
        write(os.path.join(REPO, "packaging", "icons", "%dx%d" % (n, n), APP_ID + ".png"), img, n)
    write(os.path.join(TEXTURES, "icon.png"), img, WINDOW_SIZE)


if __name__ == "__main__":
    main()
