"""Shared helpers for the game's image generators.

Pictures are authored as text: one character per pixel, looked up in the
palette (palette.txt).  '.' is the transparent colour, pure cyan, which the
game keys out when it loads an image.  Only the standard library is used, so
the generators run on any machine with Python 3.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
TEXTURES = os.path.join(REPO, "resources", "textures")

TRANSPARENT = (0, 255, 255)


def load_palette(path=os.path.join(HERE, "palette.txt")):
    """Reads 'char r g b name' lines; '#' as first char of a line is a comment
    unless followed by a space and three numbers (the outline colour)."""
    palette = {}
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) < 4 or line.startswith("//"):
                continue
            ch = parts[0]
            if len(ch) != 1:
                continue
            try:
                rgb = tuple(int(v) for v in parts[1:4])
            except ValueError:
                continue
            palette[ch] = rgb
    return palette


PALETTE = load_palette()


def parse_pixmap(text, palette=None, extra=None):
    """Turns a block of text rows into a list of rows of (r, g, b).
    Blank leading/trailing lines are dropped; all rows must be equally long."""
    pal = dict(palette or PALETTE)
    if extra:
        pal.update(extra)
    rows = [r for r in text.strip("\n").split("\n")]
    rows = [r.rstrip() for r in rows]
    width = max(len(r) for r in rows)
    out = []
    for r in rows:
        r = r.ljust(width, ".")
        out.append([pal[c] for c in r])
    return out


def blank(w, h, colour=TRANSPARENT):
    return [[colour] * w for _ in range(h)]


def size(img):
    return (len(img[0]), len(img))


def flip_h(img):
    return [list(reversed(row)) for row in img]


def paste(dst, src, x, y, keep_transparent=True):
    """Copies src onto dst at (x, y); transparent source pixels are skipped."""
    for j, row in enumerate(src):
        ty = y + j
        if ty < 0 or ty >= len(dst):
            continue
        for i, c in enumerate(row):
            tx = x + i
            if tx < 0 or tx >= len(dst[0]):
                continue
            if keep_transparent and c == TRANSPARENT:
                continue
            dst[ty][tx] = c
    return dst


def hstack(images):
    """Places equally tall images side by side (a sprite sheet row)."""
    h = len(images[0])
    assert all(len(i) == h for i in images), "frames must share a height"
    return [sum((list(img[j]) for img in images), []) for j in range(h)]


def scale_to(img, w, h):
    """Nearest-neighbour resize to exactly w by h (the size the game draws)."""
    sw, sh = size(img)
    return [[img[(y * sh) // h][(x * sw) // w] for x in range(w)] for y in range(h)]


def upscale(img, k):
    sw, sh = size(img)
    return scale_to(img, sw * k, sh * k)


def encode_png(img, alpha=False):
    """An 8-bit PNG of img: RGB, or RGBA with the transparent colour written
    as alpha 0 (for pictures shown outside the game, which knows no colour
    key)."""
    w, h = size(img)
    raw = bytearray()
    for row in img:
        raw.append(0)
        for c in row:
            if not alpha:
                raw += bytes(c)
            elif c == TRANSPARENT:
                raw += bytes((0, 0, 0, 0))
            else:
                raw += bytes(c) + b"\xff"

    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    colour_type = 6 if alpha else 2
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    return png


def write_png(relpath, img):
    """Writes an 8-bit RGB PNG under resources/textures/."""
    path = os.path.join(TEXTURES, relpath)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(encode_png(img))
    return path
