#!/usr/bin/env python3
"""Menu, shop and play-screen pictures: the title logo, menu buttons, the
upgrade shop's buttons, overlays, level badges, item icons and tab keys, the
small icons beside the play screen's bars, and the controller glyphs of the
on-screen controls strip.

Icons and fonts are text pixel maps in ui/.  The panels are bevelled
rectangles needed at several sizes, so they are built here from a few rules
instead of being drawn once per size.  Everything is composed as a grid of
palette characters at a small size and scaled up with nearest neighbour, so
each picture keeps square, crisp pixels (3x, or 2x for the short buttons
and the play-screen icons).

Run from the repo root:  python3 tools/art/ui.py
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pixelart import HERE, PALETTE, scale_to, write_png  # noqa: E402

SRC = os.path.join(HERE, "ui")
CLEAR = "."


# --- text sources ----------------------------------------------------------

def read_blocks(path):
    """Reads '== name' blocks of text rows; '//' lines are comments."""
    blocks, name = {}, None
    with open(path) as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("//"):
                continue
            if line.startswith("== "):
                name = line[3:].strip()
                blocks[name] = []
            elif name is not None and line.strip():
                blocks[name].append(line.rstrip())
    return blocks


def read_icon(name, w=30, h=30):
    """An icon map: exactly w x h palette characters, no blank rows.
    A '// soft: CHARS' line lists glow colours (sparks, ghosts, streaks)
    that get no dark outline.  Returns (rows, soft)."""
    path = os.path.join(SRC, "icons", name + ".txt")
    soft = ""
    rows = []
    with open(path) as f:
        for r in f:
            r = r.rstrip("\n")
            if r.startswith("// soft:"):
                soft = r.split(":", 1)[1].strip()
            elif r.strip() and not r.startswith("//"):
                rows.append(r)
    if len(rows) != h or any(len(r) != w for r in rows):
        bad = [i for i, r in enumerate(rows) if len(r) != w]
        raise SystemExit("%s: want %dx%d, got %d rows, bad rows %s"
                         % (path, w, h, len(rows), bad))
    for r in rows:
        for c in r:
            if c not in PALETTE:
                raise SystemExit("%s: unknown colour %r" % (path, c))
    return [list(r) for r in rows], soft


FONT = read_blocks(os.path.join(SRC, "font.txt"))
FONT.update(read_blocks(os.path.join(SRC, "key_font.txt")))
SMALL_FONT = read_blocks(os.path.join(SRC, "small_font.txt"))
LOGO_FONT = read_blocks(os.path.join(SRC, "logo_font.txt"))
PIECES = read_blocks(os.path.join(SRC, "pieces.txt"))


# --- character grids ---------------------------------------------------------

def grid(w, h, ch=CLEAR):
    return [[ch] * w for _ in range(h)]


def dims(g):
    return len(g[0]), len(g)


def inside(g, x, y):
    return 0 <= y < len(g) and 0 <= x < len(g[0])


def put(g, x, y, ch):
    if inside(g, x, y):
        g[y][x] = ch


def blit(dst, src, x, y):
    for j, row in enumerate(src):
        for i, c in enumerate(row):
            if c != CLEAR:
                put(dst, x + i, y + j, c)


def rect(g, x0, y0, x1, y1, ch):
    """Fills the inclusive box x0..x1, y0..y1."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            put(g, x, y, ch)


N4 = ((1, 0), (-1, 0), (0, 1), (0, -1))
N8 = N4 + ((1, 1), (1, -1), (-1, 1), (-1, -1))


def outline(g, ch="#", around=None, nbrs=N4):
    """Puts ch on every clear cell touching a drawn cell (or a cell in
    `around`), so every shape gets the same dark one-pixel edge."""
    w, h = dims(g)
    marks = []
    for y in range(h):
        for x in range(w):
            if g[y][x] != CLEAR:
                continue
            for dx, dy in nbrs:
                nx, ny = x + dx, y + dy
                if inside(g, nx, ny) and g[ny][nx] != CLEAR and \
                        (around is None or g[ny][nx] in around):
                    marks.append((x, y))
                    break
    for x, y in marks:
        g[y][x] = ch
    return g


def ring(g, k, top, left, bottom, right, inset=0):
    """Draws the k-th ring in from the edge, lit from the top left."""
    w, h = dims(g)
    x0, y0, x1, y1 = k, k, w - 1 - k, h - 1 - k
    for x in range(x0 + inset, x1 + 1 - inset):
        put(g, x, y0, top)
        put(g, x, y1, bottom)
    for y in range(y0 + inset, y1 + 1 - inset):
        put(g, x0, y, left)
        put(g, x1, y, right)


def to_rgb(g):
    return [[PALETTE[c] for c in row] for row in g]


def save(relpath, g, w, h):
    """Scales the grid to the size the game draws it at and writes it."""
    gw, gh = dims(g)
    assert w % gw == 0 or gw == w, relpath
    write_png(relpath, scale_to(to_rgb(g), w, h))
    print("wrote %-40s %dx%d (from %dx%d)" % (relpath, w, h, gw, gh))


def text_mask(text, font, cell=1, gap=1):
    """Lays out glyphs left to right; returns a 0/1 mask."""
    glyphs = [font[c] for c in text]
    height = max(len(gl) for gl in glyphs) * cell
    width = sum(len(gl[0]) * cell for gl in glyphs) + gap * (len(glyphs) - 1)
    m = [[0] * width for _ in range(height)]
    x = 0
    for gl in glyphs:
        for j, row in enumerate(gl):
            for i, c in enumerate(row):
                if c == "X":
                    for dy in range(cell):
                        for dx in range(cell):
                            m[j * cell + dy][x + i * cell + dx] = 1
        x += len(gl[0]) * cell + gap
    return m


def stamp(g, mask, x, y, ch, shadow=None):
    """Draws a mask in one colour, with an optional shadow one pixel down
    and right so light text stands off a steel face."""
    if shadow:
        for j, row in enumerate(mask):
            for i, v in enumerate(row):
                if v:
                    put(g, x + i + 1, y + j + 1, shadow)
    for j, row in enumerate(mask):
        for i, v in enumerate(row):
            if v:
                put(g, x + i, y + j, ch)


# --- panels ------------------------------------------------------------------

def steel_panel(w, h, rivets=True):
    """Dark steel plate: outline, raised bevel, calm face for the white label
    the game prints over it, and a rivet in each corner."""
    g = grid(w, h, "d")
    ring(g, 0, "#", "#", "#", "#")
    ring(g, 1, "s", "g", "k", "k")
    put(g, 1, h - 2, "d")
    put(g, w - 2, 1, "d")
    ring(g, 2, "g", "d", "k", "d")
    put(g, 2, h - 3, "d")
    put(g, w - 3, 2, "d")
    # a faint engraved line just inside, so the face reads as a plate
    if h >= 19:
        for x in range(5, w - 5):
            put(g, x, 4, "k")
            put(g, x, h - 5, "g")
        for y in range(5, h - 5):
            put(g, 4, y, "k")
            put(g, w - 5, y, "g")
        put(g, w - 5, 4, "d")
        put(g, 4, h - 5, "d")
    if rivets and h >= 19:
        for cx in (2, w - 3):
            for cy in (2, h - 3):
                put(g, cx, cy, "s")
    return g


def glow_frame(w, h, arrows=False):
    """Selection highlight: a hot orange/yellow frame; the inside stays clear
    so the button under it shows through."""
    g = grid(w, h)
    ring(g, 0, "#", "#", "#", "#")
    ring(g, 1, "y", "y", "o", "O")
    ring(g, 2, "O", "O", "r", "o")
    if h < 19:
        return g  # too short for the inner edge and corner brackets
    ring(g, 3, "#", "#", "#", "#")
    # corner brackets pointing inwards
    arm = 4
    for cx, sx in ((3, 1), (w - 4, -1)):
        for cy, sy in ((3, 1), (h - 4, -1)):
            for t in range(arm):
                put(g, cx + sx * t, cy, "y")
                put(g, cx, cy + sy * t, "y")
            for t in range(arm + 1):
                put(g, cx + sx * t, cy + sy, "#")
                put(g, cx + sx, cy + sy * t, "#")
            put(g, cx + sx, cy + sy, "#")
    if arrows:
        # chevrons at both ends point at the label
        mid = h // 2
        for x0, dx in ((6, 1), (w - 7, -1)):
            for j in range(-4, 4):
                depth = 4 - abs(j + 0.5) + 0.5
                for i in range(int(depth)):
                    put(g, x0 + dx * i, mid + j, "y" if j < 0 else "O")
        outline(g, "#")
    return g


def green_frame(w, h, underline=False):
    """'Owned' / 'open' marker: a cool green frame, distinct from the hot
    selection frame so both can show at once; the underline stays visible
    even under the selection frame."""
    g = grid(w, h)
    ring(g, 0, "#", "#", "#", "#")
    ring(g, 1, "L", "L", "G", "G")
    ring(g, 2, "G", "G", "e", "e")
    if h >= 19:
        ring(g, 3, "#", "#", "#", "#")
    if underline:
        rect(g, 5, h - 6, w - 6, h - 4, "#")
        for x in range(6, w - 6):
            put(g, x, h - 5, "L")
            put(g, x, h - 4, "G")
    return g


# --- pieces --------------------------------------------------------------------

def check_badge():
    """White tick on a green plate."""
    rows = PIECES["check"]
    g = grid(len(rows[0]) + 4, len(rows) + 4, "G")
    ring(g, 0, "#", "#", "#", "#")
    ring(g, 1, "L", "L", "e", "e")
    for j, r in enumerate(rows):
        for i, c in enumerate(r):
            if c == "X":
                put(g, i + 2, j + 2, "W")
                if g[j + 3][i + 2] == "G":
                    g[j + 3][i + 2] = "e"
    return g


def level_badge(n):
    """Bold level digit on a small dark plate, for the bottom-right corner."""
    digit = text_mask(str(n), FONT)
    g = grid(9, 11, "k")
    ring(g, 0, "#", "#", "#", "#")
    ring(g, 1, "g", "d", "#", "#")
    stamp(g, digit, 2, 2, "y")
    # lower half of the digit a shade warmer, like the logo
    for y in range(6, 9):
        for x in range(2, 7):
            if g[y][x] == "y":
                g[y][x] = "O"
    return g


def toggle(on):
    """An equip switch: knob left and dark when off, right and lit when on."""
    g = grid(18, 9)
    track = "G" if on else "k"
    rect(g, 2, 1, 15, 7, track)
    rect(g, 1, 2, 16, 6, track)
    if on:
        for x in range(3, 10):
            put(g, x, 2, "L")
        # tick in the lit part
        for x, y in ((3, 4), (4, 5), (5, 6), (6, 5), (7, 4), (8, 3)):
            put(g, x, y, "W")
    else:
        for x in range(3, 15):
            put(g, x, 6, "d")
    kx = 10 if on else 1
    knob = PIECES["knob"]
    for j, r in enumerate(knob):
        for i, c in enumerate(r):
            if c != ".":
                put(g, kx + i, 1 + j, c)
    outline(g, "#", nbrs=N8)
    return g


def chevron(direction):
    """A small arrow beside a setting's value, pointing left (-1) or right (1):
    warm on top and hot below, like the selection frame's chevrons."""
    g = grid(7, 9)
    for j in range(-3, 4):
        for i in range(4 - abs(j)):
            x = 1 + i if direction > 0 else 5 - i
            put(g, x, 4 + j, "y" if j < 0 else "O")
    outline(g, "#", nbrs=N8)
    return g


# --- the logo -------------------------------------------------------------------

def logo():
    W, H = 227, 46
    g = grid(W, H)
    text = "ZELVANE"
    cell, gap = 2, 4
    mask = text_mask(text, LOGO_FONT, cell=cell, gap=gap)
    th = len(mask)
    slant = (th - 1) // 4
    mw = len(mask[0]) + slant
    # italic: shift rows right towards the top, in whole logo pixels
    ink = [[0] * mw for _ in range(th)]
    for y in range(th):
        off = (th - 1 - y) // 4
        for x, v in enumerate(mask[y]):
            if v:
                ink[y][x + off] = 1

    wheel_r = 17
    wheel_d = 2 * wheel_r + 1
    trail = 11  # speed lines behind the wheel
    total = trail + wheel_d + 3 + mw + 3
    x0 = (W - total) // 2 + trail + wheel_d + 3
    y0 = (H - th - 5) // 2

    def ink_at(x, y):
        return 0 <= y < th and 0 <= x < mw and ink[y][x]

    # face colours in horizontal bands, with a crisp horizon in the middle
    bands = ["y"] * 6 + ["O"] * 7 + ["o"] * 7 + ["r"] * 6
    depth = 3
    layer = grid(W, H)
    for y in range(th):
        for x in range(mw):
            if not ink_at(x, y):
                # extrusion down-right gives the letters a solid body
                for d in range(1, depth + 1):
                    if ink_at(x - d, y - d):
                        below = ink_at(x - d, y - d + 1) or ink_at(x - d + 1, y - d + 1)
                        layer[y0 + y][x0 + x] = "n" if d == depth or not below else "r"
                        break
                continue
            c = bands[y]
            if not ink_at(x, y - 1):
                # white only along the real top edge; step edges of the
                # slanted strokes get a softer warm light
                c = "W" if y < 2 else ("y" if y < 13 else "O")
            elif not ink_at(x - 1, y):
                c = {"y": "W", "O": "y", "o": "O", "r": "o"}[bands[y]]
            elif not ink_at(x + 1, y) or not ink_at(x, y + 1):
                c = {"y": "O", "O": "o", "o": "r", "r": "n"}[bands[y]]
            layer[y0 + y][x0 + x] = c
    # extrusion below the last row
    for y in range(th, th + depth):
        for x in range(mw + depth):
            for d in range(1, depth + 1):
                if ink_at(x - d, y - d):
                    layer[y0 + y][x0 + x] = "n" if d == depth else "r"
                    break

    # the hero's wheel rolling in from the left, trailing speed lines
    cx, cy = x0 - 3 - wheel_r - 1, y0 + th // 2 + 1
    draw_wheel(layer, cx, cy, wheel_r)
    for (ly, lx, ln) in ((cy - 9, cx - wheel_r - 1, 6), (cy - 1, cx - wheel_r - 3, 8),
                         (cy + 7, cx - wheel_r - 1, 5)):
        for i in range(ln):
            put(layer, lx - i, ly, "O" if i < ln // 2 else "o")
            put(layer, lx - i, ly + 1, "o" if i < ln // 2 else "r")

    # thick dark outline, then a drop shadow under everything
    outline(layer, "#", nbrs=N8)
    outline(layer, "#", nbrs=N4)
    for y in range(H):
        for x in range(W):
            if layer[y][x] != CLEAR:
                put(g, x + 2, y + 3, "k")
    blit(g, layer, 0, 0)
    return g


def draw_wheel(g, cx, cy, r):
    """Tyre, steel rim, five spokes and an orange hub, lit from the top left."""
    for y in range(cy - r - 1, cy + r + 2):
        for x in range(cx - r - 1, cx + r + 2):
            dx, dy = x - cx, y - cy
            d = math.hypot(dx, dy)
            if d > r + 0.3:
                continue
            lit = (-dx - dy) / (d * 1.414) if d else 0  # 1 = facing the light
            ang = math.atan2(dy, dx)
            if d > r - 4:
                # tyre with tread blocks
                tread = int((ang + math.pi) / (2 * math.pi) * 24) % 2
                if d > r - 1.2 and tread:
                    c = "k"
                else:
                    c = "g" if lit > 0.55 and d < r - 1.5 else ("d" if lit > -0.2 else "k")
            elif d > r - 6:
                c = "w" if lit > 0.3 else ("s" if lit > -0.4 else "g")
            elif d > 5.2:
                spoke = ((ang + math.pi / 2) / (2 * math.pi / 5)) % 1.0
                if min(spoke, 1 - spoke) * d < 1.3:
                    c = "s" if lit > 0 else "g"
                else:
                    c = "#"
            elif d > 2.2:
                c = "O" if lit > 0.3 else ("o" if lit > -0.4 else "r")
            else:
                c = "y"
            put(g, x, cy + (y - cy), c)


# --- tab keys: controller shoulder buttons and keyboard keys -----------------------

def shoulder(label):
    """A rounded shoulder-button tab with white letters."""
    g = grid(20, 20)
    top, bottom = 3, 16
    for y in range(top, bottom + 1):
        # rounded top corners, softer bottom ones
        cut = {0: 3, 1: 2, 2: 1}.get(y - top, 0)
        cut = max(cut, {0: 1}.get(bottom - y, 0))
        for x in range(cut, 20 - cut):
            put(g, x, y, "d")
    # bevel: light along the top edge, dark along the bottom
    for y in range(top, bottom + 1):
        row = [x for x in range(20) if g[y][x] != CLEAR]
        for x in row:
            up = g[y - 1][x] if y > 0 else CLEAR
            down = g[y + 1][x] if y < 19 else CLEAR
            if up == CLEAR:
                g[y][x] = "s"
            elif down == CLEAR:
                g[y][x] = "k"
            elif x == row[0]:
                g[y][x] = "g"
            elif x == row[-1]:
                g[y][x] = "k"
    for x in range(3, 17):
        if g[top + 1][x] == "d":
            g[top + 1][x] = "g"
    letters = text_mask(label, FONT)
    stamp(g, letters, (20 - len(letters[0])) // 2, top + 4, "W", shadow="#")
    outline(g, "#")
    return g


def keycap(label):
    """A keyboard key for the same place as a shoulder tab: a square cap seen
    from a little above, its face framed by sloping sides with the deepest
    one in front, in the tab's steel, light and lettering so the two sets
    swap without the picture changing size or weight."""
    g = grid(20, 20)
    x0, x1, y0, y1 = 2, 17, 2, 17
    rect(g, x0, y0, x1, y1, "d")
    for x in range(x0, x1 + 1):
        put(g, x, y0, "s")
    for y in range(y0 + 1, y1 + 1):
        put(g, x0, y, "g")
        put(g, x1, y, "k")
    # the front side faces down, away from the light
    rect(g, x0 + 1, y1 - 2, x1, y1, "k")
    for x in range(x0 + 1, x1):
        put(g, x, y1 - 3, "g")
    # the face is dished: shaded under its top rim
    for x in range(x0 + 1, x1):
        put(g, x, y0 + 1, "k")
    for cx, cy in ((x0, y0), (x1, y0), (x0, y1), (x1, y1)):
        put(g, cx, cy, CLEAR)
    letter = text_mask(label, FONT)
    stamp(g, letter, (20 - len(letter[0])) // 2, y0 + 3, "W", shadow="#")
    outline(g, "#")
    return g


# --- play screen icons -------------------------------------------------------------

def hud_icon(name):
    """A small map of its own (12 x 12, drawn at 2x beside a bar): the big
    icons shrunk turn to mush.  Over the busy level the outline also closes
    the diagonals, so no colour ever touches the background."""
    icon, soft = read_icon("hud-" + name, 12, 12)
    edge = icon[0] + icon[-1] + [r[0] for r in icon] + [r[-1] for r in icon]
    if any(c != CLEAR for c in edge):
        raise SystemExit("hud-%s: keep the border clear for the outline" % name)
    outline(icon, "#", around=set(PALETTE) - set(soft) - {CLEAR}, nbrs=N8)
    return icon


# --- controller glyphs for the controls strip --------------------------------------

# The face buttons share one steel map, recoloured so each has its own colour
# (light top edge, face, shade) and tells apart from the others at a glance.
FACE_BUTTONS = (("a", "LGe"), ("b", "pRm"), ("x", "cBb"), ("y", "yor"))


def pad_glyph(name, label="", at=(2, 2), colours=None):
    """A 10 x 10 map drawn at 2x, with its label in white from the small font.
    No drop shadow as on the tabs: at this size it fills the letters' gaps."""
    g, _ = read_icon("pad-" + name, 10, 10)
    if colours:
        swap = dict(zip("sdk", colours))
        g = [[swap.get(c, c) for c in row] for row in g]
    if label:
        stamp(g, text_mask(label, SMALL_FONT), at[0], at[1], "W")
    return g


# --- build everything --------------------------------------------------------------

WEAPONS = ["revolver", "rifle", "shotgun", "knife", "laser-pistol"]
ABILITIES = ["bounce", "teleport", "c4", "grenade"]
PLAYER = ["armor", "shield", "speed", "dodge"]
HUD = ["heart", "shield", "cartridge"] + ABILITIES


def main():
    save("logo.png", logo(), 681, 138)

    save("button.png", steel_panel(120, 24), 360, 72)
    save("button1.png", glow_frame(120, 24, arrows=True), 360, 72)

    # The Settings screen: a wide plate per setting, and the arrows that step its value.
    save("settings-row.png", steel_panel(216, 16, rivets=False), 648, 48)
    save("settings-row-selected.png", glow_frame(216, 16), 648, 48)
    save("arrow-left.png", chevron(-1), 21, 27)
    save("arrow-right.png", chevron(1), 21, 27)

    um = "upgrade-menu/"
    save(um + "small.png", steel_panel(96, 19, rivets=False), 192, 38)
    save(um + "small-selected.png", glow_frame(96, 19), 192, 38)
    save(um + "small-active.png", green_frame(96, 19, underline=True), 192, 38)

    slot = grid(30, 30, "d")
    ring(slot, 0, "#", "#", "#", "#")
    ring(slot, 1, "k", "k", "g", "g")
    ring(slot, 2, "#", "#", "s", "s", inset=0)
    ring(slot, 2, "k", "k", "d", "d")
    ring(slot, 3, "d", "d", "d", "d")
    save(um + "upgrade-button.png", slot, 90, 90)
    save(um + "upgrade-selected.png", glow_frame(30, 30), 90, 90)
    owned = green_frame(30, 30)
    blit(owned, check_badge(), 30 - 12 - 1, 1)
    save(um + "upgrade-active.png", owned, 90, 90)

    for n in range(1, 6):
        g = grid(30, 30)
        blit(g, level_badge(n), 30 - 9 - 2, 30 - 11 - 2)
        save(um + "upgrade-%d.png" % n, g, 90, 90)

    equip = steel_panel(30, 15, rivets=False)
    blit(equip, toggle(False), 6, 3)
    save(um + "weapon.png", equip, 90, 45)
    save(um + "weapon-selected.png", glow_frame(30, 15), 90, 45)
    equipped = green_frame(30, 15)
    blit(equipped, toggle(True), 6, 3)
    save(um + "weapon-active.png", equipped, 90, 45)

    for name in WEAPONS + ABILITIES + PLAYER:
        icon, soft = read_icon(name)
        outline(icon, "#", around=set(PALETTE) - set(soft) - {CLEAR})
        save(um + "upgrade-%s.png" % name, icon, 90, 90)

    save(um + "lb.png", shoulder("LB"), 60, 60)
    save(um + "rb.png", shoulder("RB"), 60, 60)
    save(um + "q.png", keycap("Q"), 60, 60)
    save(um + "e.png", keycap("E"), 60, 60)

    for name in HUD:
        save("hud-%s.png" % name, hud_icon(name), 24, 24)

    for letter, colours in FACE_BUTTONS:
        save("pad-%s.png" % letter, pad_glyph("button", letter.upper(), colours=colours), 20, 20)
    save("pad-start.png", pad_glyph("start"), 20, 20)
    save("pad-left-stick.png", pad_glyph("stick", "L", at=(3, 2)), 20, 20)
    save("pad-right-stick.png", pad_glyph("stick", "R", at=(3, 2)), 20, 20)
    save("pad-trigger.png", pad_glyph("trigger", "RT", at=(1, 4)), 20, 20)


if __name__ == "__main__":
    main()
