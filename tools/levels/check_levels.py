#!/usr/bin/env python3
"""Checks the level CSVs and prints an ASCII preview of each.

Usage: python3 tools/levels/check_levels.py [level.csv ...]
Without arguments it checks resources/levels/level1..3.csv.
Exit status 0 when every level passes, 1 otherwise.
"""
import os
import sys

EMPTY, SOLID, PLAYER, ENEMY = -1, 0, 1, 2
CODES = {EMPTY, SOLID, PLAYER, ENEMY}
COLS = 12
VISIBLE = range(1, 11)          # columns 1..10 fill the 1200 px window
WINDOW_ROWS = 6                 # 720 px of view
SPAWNS_PER_WINDOW = (2, 4)
ROW_LIMITS = {"level1.csv": (20, 30), "level2.csv": (40, 60),
              "level3.csv": (80, 100)}
MAX_EMPTY_ROW_SHARE = 0.25      # open air shafts are fine, now and then
MAX_STACKED_SHARE = 0.15        # a plank right under a plank is a 95 px squeeze
MIN_REACHED_SHARE = 0.5         # the hero should see most of the level
MAX_DROP_ROWS = 15              # level 3's shaft is about as far as a fall should go
GLYPH = {EMPTY: " ", SOLID: "#", PLAYER: "P", ENEMY: "E"}

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", ".."))


def load(path):
    """Returns (rows, errors). Rows are lists of ints; errors list strings."""
    errors = []
    with open(path, "rb") as f:
        data = f.read()
    try:
        text = data.decode("ascii")
    except UnicodeDecodeError:
        return [], ["not plain ASCII"]
    if not text.endswith("\n"):
        errors.append("last line does not end in '\\n'")
    if "\r" in text:
        errors.append("carriage returns found; lines must end in '\\n' only")
    lines = text.split("\n")
    if lines[-1] == "":
        lines.pop()
    rows = []
    for n, line in enumerate(lines):
        cells = line.split(",")
        if len(cells) != COLS:
            errors.append("row %d: %d cells, want %d" % (n, len(cells), COLS))
        row = []
        for c, cell in enumerate(cells):
            try:
                v = int(cell.strip())
            except ValueError:
                errors.append("row %d col %d: %r is not an integer" % (n, c, cell))
                v = EMPTY
            if v not in CODES:
                errors.append("row %d col %d: unknown code %d" % (n, c, v))
            row.append(v)
        rows.append((row + [EMPTY] * COLS)[:COLS])
    return rows, errors


def solid(v):
    return v != EMPTY


def wrap(c):
    """Maps any column onto 1..10 the way bodies wrap around the window."""
    return (c - 1) % 10 + 1


def land_row(rows, r, c):
    """Row a body falling down column c from below row r lands on, or None."""
    for rr in range(r + 1, len(rows)):
        if solid(rows[rr][c]):
            return rr
    return None


def reachable(rows, start):
    """Cells the hero can stand on from start by driving and dropping only."""
    seen = {start}
    todo = [start]
    while todo:
        r, c = todo.pop()
        for step in (-1, 1):
            nc = wrap(c + step)
            if solid(rows[r][nc]):
                nxt = (r, nc)
            else:
                lr = land_row(rows, r, nc)
                if lr is None:
                    continue            # falls out: respawn, not progress
                nxt = (lr, nc)
            if nxt not in seen:
                seen.add(nxt)
                todo.append(nxt)
    return seen


def check(name, rows):
    """Returns (errors, notes) for a parsed level."""
    errors, notes = [], []
    n = len(rows)
    lo, hi = ROW_LIMITS.get(name, (1, 10 ** 6))
    if not lo <= n <= hi:
        errors.append("%d rows, want %d..%d" % (n, lo, hi))
    if n == 0:
        return errors, notes

    players = [(r, c) for r in range(n) for c in range(COLS)
               if rows[r][c] == PLAYER]
    enemies = [(r, c) for r in range(n) for c in range(COLS)
               if rows[r][c] == ENEMY]
    if not 1 <= len(players) <= 2:
        errors.append("%d player spawns, want 1 or 2" % len(players))
    if players and players[0][0] > 2:
        errors.append("first player spawn is in row %d, want row 0..2"
                      % players[0][0])

    for r, c in players + enemies:
        if c not in VISIBLE:
            errors.append("spawn at row %d col %d is off screen" % (r, c))
    for r, row in enumerate(rows):
        # Off-screen tiles only extend a platform that reaches the edge.
        if solid(row[0]) and not solid(row[1]):
            errors.append("row %d: col 0 solid but col 1 is empty" % r)
        if solid(row[11]) and not solid(row[10]):
            errors.append("row %d: col 11 solid but col 10 is empty" % r)

    lo_e, hi_e = SPAWNS_PER_WINDOW
    per_row = [sum(1 for c in VISIBLE if row[c] == ENEMY) for row in rows]
    for i in range(max(0, n - WINDOW_ROWS + 1)):
        k = sum(per_row[i:i + WINDOW_ROWS])
        if not lo_e <= k <= hi_e:
            errors.append("rows %d..%d hold %d enemy spawns, want %d..%d"
                          % (i, i + WINDOW_ROWS - 1, k, lo_e, hi_e))

    for r, row in enumerate(rows[:-1]):
        if all(solid(row[c]) for c in VISIBLE):
            errors.append("row %d has no gap to drop through" % r)
    floor = sum(1 for c in VISIBLE if solid(rows[-1][c]))
    if floor < 8:
        errors.append("bottom row has %d solid visible cells, want >= 8" % floor)

    empty_rows = [r for r, row in enumerate(rows)
                  if not any(solid(row[c]) for c in VISIBLE)]
    if len(empty_rows) > MAX_EMPTY_ROW_SHARE * n:
        errors.append("%d of %d rows are empty air" % (len(empty_rows), n))

    cells = [(r, c) for r in range(n) for c in VISIBLE if solid(rows[r][c])]
    stacked = [(r, c) for r, c in cells if r > 0 and solid(rows[r - 1][c])]
    if len(stacked) > MAX_STACKED_SHARE * len(cells):
        errors.append("%d of %d platform tiles sit right under another"
                      % (len(stacked), len(cells)))

    # Driving off an edge must land somewhere not too far down. Only from the
    # last screen may a fall leave through a pit in the floor (respawn).
    longest = (0, 0, 0)
    for r in range(n - 1):
        for c in VISIBLE:
            if solid(rows[r][c]):
                continue
            if not (solid(rows[r][wrap(c - 1)]) or solid(rows[r][wrap(c + 1)])):
                continue
            lr = land_row(rows, r, c)
            if lr is None:
                if r < n - WINDOW_ROWS:
                    errors.append("drop at row %d col %d falls out of the "
                                  "level" % (r, c))
            elif lr - r > MAX_DROP_ROWS:
                errors.append("drop at row %d col %d falls %d rows, want <= %d"
                              % (r, c, lr - r, MAX_DROP_ROWS))
            else:
                longest = max(longest, (lr - r, r, c))

    if players:
        seen = reachable(rows, players[0])
        if not any(r == n - 1 for r, _ in seen):
            errors.append("the bottom row cannot be reached from the spawn")
        share = len(seen) / float(len(cells))
        if share < MIN_REACHED_SHARE:
            errors.append("hero reaches only %.0f%% of platform tiles"
                          % (100 * share))
        notes.append("hero reaches %d%% of platform tiles by driving and "
                     "dropping" % round(100 * share))
    notes.append("%d rows, %d player / %d enemy spawns, %d empty rows, "
                 "%d stacked tiles" % (n, len(players), len(enemies),
                                       len(empty_rows), len(stacked)))
    notes.append("longest drop %d rows, from row %d col %d" % longest)
    return errors, notes


def preview(rows):
    """Rows as text; '|' marks the window edges, the outer cells lie off screen."""
    lines = []
    for r, row in enumerate(rows):
        g = [GLYPH.get(v, "?") for v in row]
        lines.append("%3d %s|%s|%s" % (r, g[0], "".join(g[1:11]), g[11]))
    return "\n".join(lines)


def main(argv):
    paths = argv[1:] or [os.path.join(ROOT, "resources", "levels",
                                      "level%d.csv" % i) for i in (1, 2, 3)]
    ok = True
    for path in paths:
        name = os.path.basename(path)
        print("== %s" % name)
        if not os.path.exists(path):
            print("  ERROR: missing")
            ok = False
            continue
        rows, errors = load(path)
        more, notes = check(name, rows)
        errors += more
        print(preview(rows))
        for note in notes:
            print("  " + note)
        for e in errors:
            print("  ERROR: " + e)
        print("  %s" % ("ok" if not errors else "FAILED"))
        ok = ok and not errors
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
