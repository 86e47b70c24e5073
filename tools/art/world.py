"""Draws the world's sprites: the backdrop, the hero, his weapons and gear,
the platforms, the effects and the five kinds of robot.

Every sprite is a text pixel map in tools/art/world/ (one file per sprite or
per animation frame), so changing a sprite means editing text.  Only the
backdrop is made by code, because it is large and mostly repetition.
Run from anywhere:  python3 tools/art/world.py
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pixelart as px  # noqa: E402

SRC = os.path.join(px.HERE, "world")


def load(name):
    """Reads world/<name>.txt; lines starting with '//' are notes."""
    with open(os.path.join(SRC, name + ".txt")) as f:
        rows = [ln for ln in f.read().split("\n") if not ln.startswith("//")]
    return px.parse_pixmap("\n".join(rows))


def sized(img, w, h, name):
    got = px.size(img)
    if got != (w, h):
        raise SystemExit("%s is %dx%d, expected %dx%d" % (name, got[0], got[1], w, h))
    return img


def sprite(name, w, h):
    return sized(load(name), w, h, name)


def opaque(img, name):
    """The backdrop and the platforms must not let the colour key through."""
    if any(c == px.TRANSPARENT for row in img for c in row):
        raise SystemExit("%s has transparent pixels" % name)
    return img


def frames(name, count, w, h):
    return px.hstack([sprite("%s_%d" % (name, i), w, h) for i in range(count)])


# ---------------------------------------------------------------------------
# The backdrop: a night skyline of works and towers, authored at 480 x 240 and
# tripled.  Every colour is dark and close to its neighbours so that the
# platforms, robots and the hero read clearly on top of it.

BG_W, BG_H, BG_SCALE = 480, 240, 3

SKY = [(13, 12, 27), (17, 15, 34), (21, 19, 42), (26, 23, 52), (32, 27, 62),
       (39, 31, 72), (46, 35, 80)]
STAR_DIM, STAR = (52, 54, 88), (96, 98, 138)
MOON, MOON_SHADE, MOON_HALO = (98, 94, 136), (82, 78, 118), (26, 23, 51)
FAR, FAR_LIT = (31, 27, 60), (44, 38, 80)
FAR_WINDOW = (62, 54, 98)
SMOKE = (40, 35, 68)
MID, MID_LIT = (25, 22, 48), (33, 29, 60)
WINDOW, WINDOW_DIM = (104, 76, 62), (66, 52, 62)
BEACON = (122, 44, 62)
NEAR, NEAR_LIT = (16, 15, 31), (24, 22, 44)

# 4x4 ordered dither, so the sky's bands blend without new colours.
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def sky(img):
    top, bottom = 0, 200
    steps = len(SKY) - 1
    for y in range(BG_H):
        t = min(max((y - top) / (bottom - top), 0.0), 1.0) * steps
        i = min(int(t), steps - 1)
        f = t - i
        for x in range(BG_W):
            img[y][x] = SKY[i + 1] if f * 16 > BAYER[y % 4][x % 4] + 0.5 else SKY[i]


def disc(img, cx, cy, r, colour, clip=None):
    for y in range(int(cy - r) - 1, int(cy + r) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            if 0 <= x < BG_W and 0 <= y < BG_H and (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                if clip is None or clip(x, y):
                    img[y][x] = colour


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(y0, 0), min(y1, BG_H)):
        for x in range(max(x0, 0), min(x1, BG_W)):
            img[y][x] = colour


def stars(img, rnd):
    for _ in range(110):
        x, y = rnd.randrange(BG_W), rnd.randrange(int(BG_H * 0.55))
        img[y][x] = STAR if rnd.random() < 0.25 else STAR_DIM
    for x, y in ((58, 22), (171, 14), (262, 33), (390, 18)):
        img[y][x] = STAR  # a few small crosses
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            img[y + dy][x + dx] = STAR_DIM


def moon(img):
    cx, cy = 318, 46
    disc(img, cx, cy, 20, MOON_HALO)
    disc(img, cx, cy, 13, MOON)
    disc(img, cx + 5, cy + 4, 9.5, MOON_SHADE,
         clip=lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= 169)
    for (x, y, r) in ((cx - 5, cy - 3, 2.2), (cx + 2, cy - 7, 1.5), (cx - 2, cy + 6, 1.8)):
        disc(img, x, y, r, MOON_SHADE)


def far_city(img, rnd):
    x = -4
    while x < BG_W:
        w = rnd.randint(12, 30)
        top = rnd.randint(118, 176)
        rect(img, x, top, x + w, BG_H, FAR)
        rect(img, x, top, x + 1, BG_H, FAR_LIT)
        if rnd.random() < 0.35:  # a mast or a stepped roof
            mx = x + w // 2
            rect(img, mx, top - rnd.randint(8, 20), mx + 1, top, FAR)
        elif rnd.random() < 0.5:
            rect(img, x + 3, top - 5, x + w - 3, top, FAR)
        for wy in range(top + 5, BG_H, 6):
            for wx in range(x + 3, x + w - 3, 5):
                if rnd.random() < 0.12:
                    rect(img, wx, wy, wx + 2, wy + 2, FAR_WINDOW)
        x += w + rnd.randint(0, 6)


def plume(img, rnd, x, y):
    """Smoke leaning right from a chimney top at (x, y), thinning out as it
    rises: later puffs keep fewer pixels through the dither."""
    r = 2.5
    phase = rnd.uniform(0, 6.3)
    steps = 22
    for i in range(steps):
        keep = 16 * (1 - i / steps) ** 0.8
        cx = x + i * 2.4
        cy = y - i * 1.5 + 2.2 * math.sin(phase + i * 0.45)
        disc(img, cx, cy, r, SMOKE,
             clip=lambda px_, py: BAYER[py % 4][px_ % 4] < keep)
        r += 0.35


def chimney(img, rnd, x, w, top, ground):
    plume(img, rnd, x + w / 2, top - 2)
    rect(img, x, top, x + w, ground, MID)
    rect(img, x, top, x + 1, ground, MID_LIT)
    rect(img, x - 1, top, x + w + 1, top + 2, MID)
    for by in range(top + 10, ground, 14):  # steel bands
        rect(img, x, by, x + w, by + 1, MID_LIT)
    img[top - 1][x + w // 2] = BEACON


def tank(img, x, r, ground):
    cy = ground - 24
    rect(img, x - r, cy, x + r + 1, ground, MID)
    disc(img, x, cy, r, MID)
    disc(img, x - 2, cy - 1, r - 2, MID_LIT, clip=lambda px_, py: px_ < x - r + 3)
    for i in range(-r, r + 1, 3):  # ladder-like ribs
        rect(img, x + i, cy, x + i + 1, ground, MID_LIT if i < -r + 4 else MID)
    rect(img, x - r, cy + 6, x + r + 1, cy + 7, MID_LIT)


def crane(img, x, top, ground, jib):
    for y in range(top, ground):  # lattice tower
        rect(img, x, y, x + 1, y + 1, MID)
        rect(img, x + 6, y, x + 7, y + 1, MID)
        d = (y - top) % 6
        img[y][x + d] = MID  # zig-zag bracing
    rect(img, x - 14, top, x + jib, top + 3, MID)
    for i in range(0, jib + 14, 4):
        img[top + 3][x - 14 + i] = MID
    rect(img, x + 2, top - 8, x + 5, top, MID)
    rect(img, x + jib - 6, top + 3, x + jib - 5, top + 30, MID)  # hook cable
    rect(img, x + jib - 8, top + 30, x + jib - 3, top + 33, MID)
    img[top - 9][x + 3] = BEACON


def works(img, rnd):
    ground = 206
    # low sheds with saw-tooth roofs and a few lit windows
    x = 0
    while x < BG_W:
        w = rnd.randint(30, 60)
        top = rnd.randint(168, 188)
        rect(img, x, top, x + w, ground, MID)
        for t in range(x, x + w, 8):
            for k in range(8):
                if t + k < x + w:
                    rect(img, t + k, top - k // 2 - 1, t + k + 1, top, MID)
        rect(img, x, top, x + 1, ground, MID_LIT)
        for wy in range(top + 6, ground - 4, 7):
            for wx in range(x + 4, x + w - 4, 6):
                roll = rnd.random()
                if roll < 0.06:
                    rect(img, wx, wy, wx + 3, wy + 3, WINDOW)
                elif roll < 0.16:
                    rect(img, wx, wy, wx + 3, wy + 3, WINDOW_DIM)
        x += w + rnd.randint(2, 14)
    for cx, r in ((150, 17), (186, 12), (452, 15)):
        tank(img, cx, r, ground)
    for cx, w, top in ((36, 8, 92), (52, 6, 118), (236, 9, 78), (300, 7, 110), (420, 8, 96)):
        chimney(img, rnd, cx, w, top, ground)
    crane(img, 352, 104, ground, 44)
    # a pipe bridge across the works
    rect(img, 60, 150, 230, 153, MID)
    for px_ in range(70, 230, 26):
        rect(img, px_, 153, px_ + 2, ground, MID)


def foreground(img, rnd):
    y0 = 206
    rect(img, 0, y0, BG_W, BG_H, NEAR)
    rect(img, 0, y0, BG_W, y0 + 1, NEAR_LIT)
    # fence posts and rails, then heaps of scrap, all near-black
    for x in range(0, BG_W, 9):
        rect(img, x, y0 - 10, x + 1, y0, NEAR)
    rect(img, 0, y0 - 9, BG_W, y0 - 8, NEAR)
    rect(img, 0, y0 - 4, BG_W, y0 - 3, NEAR)
    for cx in (24, 118, 268, 330, 410):
        r = rnd.randint(10, 18)
        disc(img, cx, y0 + r // 2, r, NEAR, clip=lambda x, y: y >= y0 - r)
    for x in range(0, BG_W, 40):  # big pipe along the ground
        rect(img, x, 222, x + 38, 229, NEAR_LIT)
        rect(img, x + 38, 220, x + 40, 231, NEAR)


def background():
    rnd = random.Random(1907)
    img = px.blank(BG_W, BG_H, SKY[0])
    sky(img)
    stars(img, rnd)
    moon(img)
    far_city(img, rnd)
    works(img, rnd)
    foreground(img, rnd)
    return px.upscale(img, BG_SCALE)


# Muzzle flashes: the game centres each on its gun's muzzle for one frame of
# a shot, so the white core must sit on the middle rows, left of centre (on
# the barrel's end), with the bloom to the right.
MUZZLES = ("revolver", "rifle", "shotgun", "laser-pistol")


def muzzle_flash(name):
    img = sprite("muzzle-" + name, 10, 10)
    core = [x for y in (4, 5) for x, c in enumerate(img[y]) if c == px.PALETTE["W"]]
    if not core or min(core) + max(core) >= 9:
        raise SystemExit("muzzle-%s: the white core belongs on rows 4-5, left of centre" % name)
    return px.upscale(img, 3)


def main():
    out = [px.write_png("background.png", opaque(background(), "background"))]
    zorbi = sprite("Zorbi", 26, 32)
    out.append(px.write_png("Zorbi.png", zorbi))
    out.append(px.write_png("ZorbiLeft.png", px.flip_h(zorbi)))
    out.append(px.write_png("robor.png", sprite("robor", 8, 16)))
    out.append(px.write_png("roborto.png", frames("roborto", 2, 18, 32)))
    out.append(px.write_png("robro.png", sprite("robro", 12, 32)))
    out.append(px.write_png("romo.png", sprite("romo", 20, 13)))
    out.append(px.write_png("roo.png", frames("roo", 5, 23, 32)))
    # Gear and weapons: authored small, written at the size the game draws.
    for name, w, h, dw, dh in (
            ("C4", 16, 16, 32, 32),
            ("Detinator", 16, 16, 48, 48),
            ("Revolver", 21, 10, 63, 31),
            ("rifle", 32, 12, 96, 36),
            ("shotgun", 21, 7, 63, 20),
            ("knife", 21, 10, 63, 31),
            ("laserPistol", 21, 10, 63, 31)):
        out.append(px.write_png(name + ".png", px.scale_to(sprite(name, w, h), dw, dh)))
    out.append(px.write_png("bullet.png", sprite("bullet", 4, 4)))
    out.append(px.write_png("laser.png", sprite("laser", 32, 8)))
    out.append(px.write_png("explosion.png", frames("explosion", 5, 27, 27)))
    for name in MUZZLES:
        out.append(px.write_png("muzzle-%s.png" % name, muzzle_flash(name)))
    out.append(px.write_png(
        "platform.png", opaque(px.scale_to(sprite("platform", 48, 10), 120, 25), "platform")))
    for p in out:
        print(os.path.relpath(p, px.REPO))


if __name__ == "__main__":
    main()
