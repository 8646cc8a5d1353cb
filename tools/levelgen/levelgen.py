#!/usr/bin/env python3
"""Builds the quest levels and the campaign tables from the recipes.

    levelgen.py build [--recipes FILE] [--out GAME_DIR]
        reads assets/levels/recipes.txt and writes game/data/levels/levelNN.lvl,
        data/quest_levels.dat, data/free_levels.dat, data/puzzleList.dat and
        data/puzzlelist2.dat.
    levelgen.py plan [--recipes FILE]
        writes a fresh recipe file from the campaign plan below (times and
        variants that the checker tuned are kept when the file exists).

A recipe is one line of key=value words (see assets/levels/README.md). The
same recipes always give the same bytes. A recipe the generator cannot honour
is refused with a message naming the level and the reason, and nothing is
written.
"""
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
RECIPES = os.path.join(ROOT, "assets", "levels", "recipes.txt")

QUEST_LEVELS = 191
# Stage n starts at quest level STAGE_STARTS[n - 1]; the last stage ends at 190.
STAGE_STARTS = [1, 13, 27, 42, 57, 73, 89, 105, 122, 139, 156, 173]
LAST_STAGE_LEVEL = 190
# Jigsaw pieces of each stage's picture.
STAGE_PIECES = [12, 12, 16, 16, 20, 20, 24, 25, 30, 30, 36, 42]

MODES = ("SWAP", "CHAIN", "GROUP")
SHAPES = ("rect", "corners", "notch", "diamond", "hourglass", "pillars", "window", "moat")
# Shapes whose holes cut a column in two: the plates under a hole need their
# own creators (the "creators" feature).
INNER_HOLE_SHAPES = ("pillars", "window", "moat", "hourglass")
PUZZLE_CHIP = 9
MAX_ROWS, MAX_COLS = 9, 9
BACKGROUNDS = 8

# Frame pieces of data/frames.dat: (dx, dy, type) -> id.
FRAME_PIECES = {
    (-1, 0, ""): 1, (1, 0, ""): 2, (0, -1, ""): 3, (0, 1, ""): 4,
    (1, 1, ""): 5, (-1, 1, ""): 6, (-1, -1, ""): 7, (1, -1, ""): 8,
    (1, 1, "IN"): 9, (-1, 1, "IN"): 10, (-1, -1, "IN"): 11, (1, -1, "IN"): 12,
}


class RecipeError(Exception):
    pass


def stage_of(level):
    """Stage number of a quest level; 0 for a level after the last stage."""
    if level > LAST_STAGE_LEVEL:
        return 0
    s = 0
    for i, start in enumerate(STAGE_STARTS):
        if level >= start:
            s = i + 1
    return s


def stage_range(stage):
    first = STAGE_STARTS[stage - 1]
    last = STAGE_STARTS[stage] - 1 if stage < len(STAGE_STARTS) else LAST_STAGE_LEVEL
    return first, last


def level_file_name(n):
    return "level%02d.lvl" % n


# ---------------------------------------------------------------------------
# Recipes

INT_KEYS = ("level", "rows", "cols", "layers", "double", "chains", "puzzles", "colours",
            "bonuschips", "time", "variant", "background")
ALL_KEYS = INT_KEYS + ("mode", "shape", "creators", "bonus")


def parse_recipes(text, source="recipes"):
    recipes = {}
    for lineno, raw in enumerate(text.splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        r = {}
        for word in line.split():
            if "=" not in word:
                raise RecipeError("%s line %d: '%s' is not key=value" % (source, lineno, word))
            k, v = word.split("=", 1)
            if k not in ALL_KEYS:
                raise RecipeError("%s line %d: unknown key '%s'" % (source, lineno, k))
            if k in INT_KEYS:
                try:
                    v = int(v)
                except ValueError:
                    raise RecipeError("%s line %d: %s=%s is not a whole number" % (source, lineno, k, v))
            r[k] = v
        if "level" not in r:
            raise RecipeError("%s line %d: no level number" % (source, lineno))
        n = r["level"]
        if n in recipes:
            raise RecipeError("level %d: recipe given twice (line %d)" % (n, lineno))
        recipes[n] = r
    return recipes


def check_recipe(r):
    """Raises RecipeError naming the level when the recipe cannot be made."""
    n = r["level"]

    def bad(why):
        raise RecipeError("level %d: %s" % (n, why))

    for k in ALL_KEYS:
        if k not in r:
            bad("no '%s' given" % k)
    if not 1 <= n <= QUEST_LEVELS:
        bad("level number outside 1..%d" % QUEST_LEVELS)
    if r["mode"] not in MODES:
        bad("mode '%s' is none of %s" % (r["mode"], ", ".join(MODES)))
    if not (5 <= r["rows"] <= MAX_ROWS and 5 <= r["cols"] <= MAX_COLS):
        bad("board %dx%d does not fit (5..%d rows, 5..%d columns)" % (r["rows"], r["cols"], MAX_ROWS, MAX_COLS))
    if r["shape"] not in SHAPES:
        bad("shape '%s' is none of %s" % (r["shape"], ", ".join(SHAPES)))
    if r["creators"] not in ("top", "segments"):
        bad("creators '%s' must be 'top' or 'segments'" % r["creators"])
    if r["shape"] in INNER_HOLE_SHAPES and r["creators"] != "segments":
        bad("shape '%s' cuts columns in two and needs creators=segments" % r["shape"])
    if not 1 <= r["layers"] <= 100:
        bad("layers=%d: the share of plates with a layer must be 1..100" % r["layers"])
    if not 0 <= r["double"] <= r["layers"]:
        bad("double=%d must lie between 0 and layers=%d" % (r["double"], r["layers"]))
    if not 0 <= r["chains"] <= 16:
        bad("chains=%d: at most 16 chained plates" % r["chains"])
    if not 0 <= r["puzzles"] <= 4:
        bad("puzzles=%d: 0..4 puzzle chips" % r["puzzles"])
    lo = 3 if r["mode"] == "GROUP" else 4
    if not lo <= r["colours"] <= 8:
        bad("colours=%d: %s needs %d..8 chip kinds" % (r["colours"], r["mode"], lo))
    if not 0 <= r["bonuschips"] <= 4:
        bad("bonuschips=%d: 0..4 bonus chips on the board" % r["bonuschips"])
    kinds = [int(x) for x in r["bonus"].split(",")] if r["bonus"] not in ("", "none") else []
    for k in kinds:
        if not 101 <= k <= 106:
            bad("bonus kind %d is not 101..106" % k)
    if r["bonuschips"] and not kinds:
        bad("bonus chips on the board but no bonus kinds available")
    if not 30 <= r["time"] <= 1200:
        bad("time=%d: 30..1200 seconds" % r["time"])
    if not 1 <= r["background"] <= BACKGROUNDS:
        bad("background %d is not 1..%d" % (r["background"], BACKGROUNDS))
    return kinds


# ---------------------------------------------------------------------------
# Boards

def shape_mask(shape, rows, cols):
    """1 for a plate, 0 for a hole."""
    m = [[1] * cols for _ in range(rows)]

    def hole(r, c):
        if 0 <= r < rows and 0 <= c < cols:
            m[r][c] = 0

    if shape == "corners":
        for r, c in ((0, 0), (0, cols - 1), (rows - 1, 0), (rows - 1, cols - 1)):
            hole(r, c)
    elif shape == "notch":
        mid = cols // 2
        for c in range(mid - 1, mid + 1 + (cols % 2)):
            hole(0, c)
        hole(rows - 1, 0)
        hole(rows - 1, cols - 1)
    elif shape == "diamond":
        k = min(rows, cols) // 3
        for i in range(k):
            for j in range(k - i):
                hole(i, j)
                hole(i, cols - 1 - j)
                hole(rows - 1 - i, j)
                hole(rows - 1 - i, cols - 1 - j)
    elif shape == "hourglass":
        # The middle rows lose their outer plates.
        for r in range(rows // 2 - 1, rows // 2 + 1 + (rows % 2)):
            hole(r, 0)
            hole(r, cols - 1)
    elif shape == "pillars":
        for c in (cols // 3, cols - 1 - cols // 3):
            hole(rows // 2, c)
            hole(rows // 2 - 1, c)
    elif shape == "window":
        r0, c0 = rows // 2 - 1, cols // 2 - 1
        for dr in range(2 if rows % 2 == 0 else 3):
            for dc in range(2 if cols % 2 == 0 else 3):
                hole(r0 + dr, c0 + dc)
    elif shape == "moat":
        for c in range(1, cols - 1):
            if c != cols // 2:
                hole(rows // 2, c)
    return m


def top_plates(mask, segments):
    """Creator cells: the top plate of each column, or of each vertical run of plates."""
    rows, cols = len(mask), len(mask[0])
    out = []
    for r in range(rows):
        for c in range(cols):
            if not mask[r][c]:
                continue
            above = mask[r - 1][c] if r > 0 else 0
            if r == 0 or (segments and not above):
                out.append((r, c))
            elif not segments and all(not mask[k][c] for k in range(r)):
                out.append((r, c))
    return out


def column_runs_reach_bottom(mask, c):
    """Rows of column c from which a puzzle chip falls straight out (board bottom or a hole)."""
    rows = len(mask)
    ok = set()
    r = rows - 1
    while r >= 0:
        if mask[r][c]:
            # Walk up the run of plates that ends at r; all of it drains at r.
            k = r
            while k >= 0 and mask[k][c]:
                ok.add(k)
                k -= 1
            r = k
        r -= 1
    return ok


def swap_has_line(chips, mask, r, c):
    rows, cols = len(mask), len(mask[0])
    v = chips[r][c]
    if not 1 <= v <= 8:
        return False  # holes, puzzle chips and bonus chips make no line
    for dr, dc in ((0, 1), (1, 0)):
        n = 1
        for s in (1, -1):
            rr, cc = r + dr * s, c + dc * s
            while 0 <= rr < rows and 0 <= cc < cols and mask[rr][cc] and chips[rr][cc] == v:
                n += 1
                rr += dr * s
                cc += dc * s
        if n >= 3:
            return True
    return False


def plant_move(rng, mode, chips, mask, chain, colours, fixed):
    """Puts one certain move on the board: in swap mode two in a row and a third one
    step off the line (no line made yet); in chain and group mode three in a row."""
    rows, cols = len(mask), len(mask[0])
    spots = []
    for r in range(rows):
        for c in range(cols - 2):
            cells = [(r, c), (r, c + 1), (r, c + 2)]
            if not all(mask[a][b] and not chain[a][b] and (a, b) not in fixed for a, b in cells):
                continue
            if mode == "SWAP":
                # Third chip comes from the row above or below into (r, c + 2).
                for rr in (r - 1, r + 1):
                    if 0 <= rr < rows and mask[rr][c + 2] and not chain[rr][c + 2] and (rr, c + 2) not in fixed:
                        spots.append((cells, (rr, c + 2)))
            else:
                spots.append((cells, None))
    if not spots:
        return False
    spots.sort()
    cells, extra = spots[rng.randrange(len(spots))]
    v = rng.randrange(1, colours + 1)
    if mode == "SWAP":
        (a, b), (a2, b2), (a3, b3) = cells
        chips[a][b] = v
        chips[a2][b2] = v
        chips[extra[0]][extra[1]] = v
        # The cell that receives the swap must hold another colour.
        chips[a3][b3] = 1 + (v % colours)
    else:
        for a, b in cells:
            chips[a][b] = v
    return True


def frame_lists(tiles):
    """Frame pieces of each frame cell, as the engine lays them out."""
    rows, cols = len(tiles), len(tiles[0])

    def occ(R, C):
        if R < 0 or C < 0 or R > rows + 1 or C > cols + 1:
            return False
        r, c = R - 1, C - 1
        return 0 <= r < rows and 0 <= c < cols and tiles[r][c] != 0

    def free(r, c):
        if r < 0 or c < 0 or r > rows + 1 or c > cols + 1:
            return False
        return not (0 <= r < rows and 0 <= c < cols) or tiles[r][c] == 0

    grid = []
    for R in range(rows + 2):
        line = []
        for C in range(cols + 2):
            lst = [0]
            if not occ(R, C):
                for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1), (1, 1), (-1, 1), (-1, -1), (1, -1)):
                    if not occ(R + dy, C + dx):
                        continue
                    if dx == 0 or dy == 0:
                        lst.append(FRAME_PIECES[(dx, dy, "")])
                    elif not occ(R + dy, C) and not occ(R, C + dx):
                        lst.append(FRAME_PIECES[(dx, dy, "")])
                for dx, dy in ((1, 1), (-1, 1), (-1, -1), (1, -1)):
                    if occ(R + dy, C + dx) and occ(R + dy, C) and occ(R, C + dx):
                        lst.append(FRAME_PIECES[(dx, dy, "IN")])
                if 1 <= R <= rows - 2 and 1 <= C <= cols - 2:
                    r, c = R - 1, C - 1
                    if free(r, c):
                        for dx, dy in ((-1, -1), (1, 1), (1, -1), (-1, 1)):
                            if free(r + dy, c + dx) and not free(r + dy, c) and not free(r, c + dx):
                                lst.append(FRAME_PIECES[(dx, dy, "IN")])
                L, Rt, U, D = (FRAME_PIECES[(-1, 0, "")], FRAME_PIECES[(1, 0, "")],
                               FRAME_PIECES[(0, -1, "")], FRAME_PIECES[(0, 1, "")])
                for cond, dx, dy in ((L in lst and U in lst, -1, -1), (L in lst and D in lst, -1, 1),
                                     (Rt in lst and U in lst, 1, -1), (Rt in lst and D in lst, 1, 1)):
                    p = FRAME_PIECES[(dx, dy, "IN")]
                    if cond and p not in lst:
                        lst.append(p)
            line.append(lst)
        grid.append(line)
    return grid


def make_level(r):
    """Returns the level file's text for one recipe (raises RecipeError)."""
    kinds = check_recipe(r)
    n, rows, cols, mode = r["level"], r["rows"], r["cols"], r["mode"]
    rng = random.Random("brimble-level-%d-%d" % (n, r["variant"]))
    mask = shape_mask(r["shape"], rows, cols)
    plates = [(a, b) for a in range(rows) for b in range(cols) if mask[a][b]]
    if r["shape"] not in INNER_HOLE_SHAPES:
        # Without creators inside the board every plate must be fed from the top.
        for a, b in plates:
            first = min(k for k in range(rows) if mask[k][b])
            if not all(mask[k][b] for k in range(first, a)):
                raise RecipeError("level %d: shape leaves plates under a hole without a creator" % n)
    creators = top_plates(mask, r["creators"] == "segments")
    creator_set = set(creators)

    # Layers: the share of plates that carry a layer, chosen symmetrically
    # (left-right) so the boards look made rather than random.
    tiles = [[mask[a][b] for b in range(cols)] for a in range(rows)]
    half = [(a, b) for a, b in plates if b <= (cols - 1) // 2]
    rng.shuffle(half)
    # Favour the middle of the board for layers, the edges stay plain longest.
    half.sort(key=lambda p: abs(p[0] - (rows - 1) / 2) + abs(p[1] - (cols - 1) / 2) + rng.random() * 2.5)
    want = max(1, round(len(half) * r["layers"] / 100))
    dbl = round(len(half) * r["double"] / 100)
    for i, (a, b) in enumerate(half[:want]):
        kind = 3 if i < dbl else 2
        tiles[a][b] = kind
        tiles[a][cols - 1 - b] = kind
    breakable = sum(1 for a, b in plates if tiles[a][b] > 1)
    if breakable == 0:
        raise RecipeError("level %d: no plate with a layer to break" % n)

    # Puzzle chips: in the top plate of columns that drain out at the bottom.
    puzzle_cells = []
    if r["puzzles"]:
        cands = []
        for b in range(cols):
            drain = column_runs_reach_bottom(mask, b)
            tops = [a for a in range(rows) if mask[a][b] and a in drain]
            if tops:
                cands.append((min(tops), b))
        mid = (cols - 1) / 2
        cands.sort(key=lambda p: (abs(p[1] - mid), p[1]))
        # Spread them: every other candidate column from the middle outward.
        spread = cands[::2] + cands[1::2]
        if len(spread) < r["puzzles"]:
            raise RecipeError("level %d: only %d columns can carry a puzzle chip, %d asked"
                              % (n, len(spread), r["puzzles"]))
        puzzle_cells = spread[: r["puzzles"]]
    puzzle_cols = {b for _, b in puzzle_cells}

    # Chains: plates in the middle rows, never on a creator, a puzzle column
    # or the top row, so every column keeps being fed.
    chain = [[0] * cols for _ in range(rows)]
    if r["chains"]:
        cands = [(a, b) for a, b in plates
                 if 2 <= a <= rows - 2 and (a, b) not in creator_set and b not in puzzle_cols]
        cands.sort()
        rng.shuffle(cands)
        if len(cands) < r["chains"]:
            raise RecipeError("level %d: room for %d chains, %d asked" % (n, len(cands), r["chains"]))
        for i, (a, b) in enumerate(cands[: r["chains"]]):
            chain[a][b] = 2 if (i % 3 == 2 and r["chains"] >= 6) else 1

    # Chips: no ready-made line in swap mode; one certain move in every mode.
    colours = r["colours"]
    chips = [[0] * cols for _ in range(rows)]
    fixed = set(puzzle_cells)
    for a, b in plates:
        if (a, b) in fixed:
            chips[a][b] = PUZZLE_CHIP
            continue
        for _ in range(20):
            chips[a][b] = rng.randrange(1, colours + 1)
            if mode != "SWAP" or not swap_has_line(chips, mask, a, b):
                break
    if not plant_move(rng, mode, chips, mask, chain, colours, fixed):
        raise RecipeError("level %d: no room for a first move" % n)
    if mode == "SWAP":
        for a, b in plates:
            if (a, b) not in fixed and swap_has_line(chips, mask, a, b):
                # Break a line the planted move made by accident, away from the move.
                for _ in range(30):
                    if not swap_has_line(chips, mask, a, b):
                        break
                    chips[a][b] = rng.randrange(1, colours + 1)
    if r["bonuschips"]:
        cands = [(a, b) for a, b in plates if (a, b) not in fixed and not chain[a][b] and chips[a][b] <= 8]
        cands.sort()
        rng.shuffle(cands)
        for i, (a, b) in enumerate(cands[: r["bonuschips"]]):
            chips[a][b] = kinds[i % len(kinds)]
            fixed.add((a, b))

    return write_level(r, tiles, chips, chain, creators, kinds, len(puzzle_cells))


def write_level(r, tiles, chips, chain, creators, kinds, puzzles):
    rows, cols = r["rows"], r["cols"]
    o = []
    o.append("level {\n\n\tdata {\n")
    o.append("\t\tdims = %d, %d\n" % (rows, cols))
    o.append("\t\tbackGround = %d\n" % r["background"])
    o.append("\t\ttime = %d, %d\n" % (r["time"], r["time"]))
    o.append("\t\tscore = 0\n\t\tcollect = 0\n\t\ttilesCount = 0\n")
    o.append("\t\tmatchType = \"%s\"\n" % r["mode"])
    o.append("\t\tsaPuzzle = \"%d\"\n" % (1 if puzzles else 0))
    o.append("\t\tpuzzles = \"%d\"\n" % puzzles)
    o.append("\t\tavailableChips = \"%s\"\n" % " ".join(str(i) for i in range(1, r["colours"] + 1)))
    o.append("\t\tavailableBonus = \"%s\"\n" % " ".join(str(k) for k in kinds))
    o.append("\t}\n\n\tzasoby {\n")
    for i in range(4):
        o.append("\t\tres%d = 0\n" % i)
    o.append("\t}\n\n\tgoals {\n\t\ti = 0\n\t}\n\n")
    for name, grid in (("tiles", tiles), ("chips", chips), ("chain", chain)):
        o.append("\t%s {\n" % name)
        for a in range(rows):
            o.append("\t\trow%d = \"%s\"\n" % (a, " ".join(str(v) for v in grid[a])))
        o.append("\t}\n\n")
    o.append("\tchipCreators {\n\t\ti = %d\n" % len(creators))
    for i, (a, b) in enumerate(creators, 1):
        o.append("\t\tcc%d = %d, %d\n" % (i, a, b))
    o.append("\t}\n\n\tframe {\n")
    for R, line in enumerate(frame_lists(tiles)):
        o.append("\t\trow%d = %s\n" % (R, ", ".join('""%s""' % " ".join(str(p) for p in cell) for cell in line)))
    o.append("\t}\n\n}\n")
    return "".join(o)


# ---------------------------------------------------------------------------
# Tables

def kv_list(group, count_key, entries):
    o = ["%s {\n" % group, "\t%s = %d\n" % (count_key, len(entries))]
    for block in entries:
        o.append(block)
    o.append("}\n")
    return "".join(o)


def quest_table(n_levels):
    blocks = []
    for k in range(1, n_levels + 1):
        blocks.append("\tlvl%d {\n\t\turl = \"data/levels/%s\"\n\t\tid = %d\n\t}\n" % (k, level_file_name(k), k))
    return kv_list("levels", "i", blocks)


def free_table(ids):
    blocks = []
    for k, lvl in enumerate(ids, 1):
        blocks.append("\tlvl%d {\n\t\tulr = \"data/levels/%s\"\n\t\tid = %d\n\t}\n" % (k, level_file_name(lvl), lvl))
    return kv_list("levels", "i", blocks)


def piece_quotas(pieces):
    """pieces[k] = pieces level k hands out -> pieces owned after level k, per stage."""
    owned = {}
    for k in range(1, QUEST_LEVELS + 1):
        s = stage_of(k)
        if s == 0:
            owned[k] = 0
            continue
        first, _ = stage_range(s)
        owned[k] = (owned[k - 1] if k > first else 0) + pieces.get(k, 0)
    return owned


def free_levels(recipes):
    """Free play: levels without jigsaw pieces spread over the quest, at most one
    every four levels, so each opens as the quest reaches it."""
    ids, last = [], -10
    for k in sorted(recipes):
        if recipes[k]["puzzles"] == 0 and k - last >= 4:
            ids.append(k)
            last = k
    return ids


def build(recipes, out):
    for k in sorted(recipes):
        check_recipe(recipes[k])
    missing = [k for k in range(1, QUEST_LEVELS + 1) if k not in recipes]
    if missing:
        raise RecipeError("level %d: no recipe (%d levels missing)" % (missing[0], len(missing)))
    texts = {k: make_level(recipes[k]) for k in range(1, QUEST_LEVELS + 1)}
    pieces = {k: recipes[k]["puzzles"] for k in recipes}
    owned = piece_quotas(pieces)
    for s in range(1, len(STAGE_STARTS) + 1):
        first, last = stage_range(s)
        if owned[last] != STAGE_PIECES[s - 1]:
            raise RecipeError("level %d: stage %d ends with %d jigsaw pieces, its picture has %d"
                              % (last, s, owned[last], STAGE_PIECES[s - 1]))
    if pieces.get(QUEST_LEVELS - 0, 0) and stage_of(QUEST_LEVELS) == 0:
        raise RecipeError("level %d: belongs to no stage and cannot hand out pieces" % QUEST_LEVELS)
    frees = free_levels(recipes)
    if len(frees) < 30:
        raise RecipeError("level %d: only %d free-play levels without pieces" % (QUEST_LEVELS, len(frees)))

    lvl_dir = os.path.join(out, "data", "levels")
    os.makedirs(lvl_dir, exist_ok=True)
    keep = {level_file_name(k) for k in texts}
    for name in os.listdir(lvl_dir):
        if name.endswith(".lvl") and name not in keep:
            os.remove(os.path.join(lvl_dir, name))
    files = {os.path.join(lvl_dir, level_file_name(k)): t for k, t in texts.items()}
    files[os.path.join(out, "data", "quest_levels.dat")] = quest_table(QUEST_LEVELS)
    files[os.path.join(out, "data", "free_levels.dat")] = free_table(frees)
    files[os.path.join(out, "data", "puzzleList.dat")] = "".join(
        "%d\n" % pieces.get(k, 0) for k in range(1, QUEST_LEVELS + 1))
    files[os.path.join(out, "data", "puzzlelist2.dat")] = kv_list(
        "puzzles", "i", ["\tlevel%d = %d\n" % (k, owned[k]) for k in range(1, QUEST_LEVELS + 1)])
    for path, text in files.items():
        old = None
        if os.path.exists(path):
            with open(path, "rb") as f:
                old = f.read()
        data = text.encode("ascii")
        if old != data:
            tmp = path + ".tmp"
            with open(tmp, "wb") as f:
                f.write(data)
            os.replace(tmp, path)
    return len(texts), len(frees)


# ---------------------------------------------------------------------------
# The campaign plan (writes recipes; the checker's tuning lives in them)

def plan_level(n):
    s = stage_of(n) or len(STAGE_STARTS)
    first, last = stage_range(s)
    t = (n - first) / max(1, last - first) if n <= LAST_STAGE_LEVEL else 0.5
    # Saw-tooth: easy at each stage's start, harder toward its end, the whole
    # tooth rising over the campaign.
    d = min(1.0, 0.08 + 0.55 * (s - 1) / 11 + 0.4 * t)
    mode = MODES[(n - 1) % 3]
    intro = n == first

    # Board size grows over the stages.
    size = [(6, 6), (7, 7), (7, 7), (7, 8), (8, 8), (8, 8), (8, 8), (8, 9), (8, 9), (9, 9), (9, 9), (9, 9)][s - 1]
    rows, cols = size
    if intro and s > 1:
        rows, cols = rows - 1, cols - 1

    # Holes from stage 2; holes that cut columns (with creators inside) from stage 4.
    shape = "rect"
    creators = "top"
    if s >= 2:
        plain = ["corners", "notch", "diamond", "rect"]
        inner = ["pillars", "window", "moat", "hourglass"]
        pool = plain + (inner if s >= 4 else [])
        shape = pool[(n * 7 + s) % len(pool)]
        if n == STAGE_STARTS[1]:
            shape = "corners"
        if n == STAGE_STARTS[3]:
            shape = "pillars"
        if shape in INNER_HOLE_SHAPES:
            creators = "segments"

    layers = int(35 + 50 * d)
    double = 0
    if n >= 7:
        double = int(layers * min(0.6, 0.15 + 0.55 * d))
        if n == 7:
            double = 10
    chains = 0
    if s >= 3:
        chains = 2 if intro or n == STAGE_STARTS[2] else int(2 + 8 * d)
    bonus = "104" if n == 1 else ("101,104" if mode == "SWAP" else "102,105")
    bonuschips = 0
    if s >= 5:
        bonuschips = 1 if intro or n == STAGE_STARTS[4] else (1 + (n % 2))

    if mode == "GROUP":
        colours = 4 if d < 0.7 else 5
    else:
        colours = 5 if d < 0.55 else 6
    if intro:
        layers = max(25, layers - 25)
        double = double // 2
    return dict(level=n, mode=mode, rows=rows, cols=cols, shape=shape, creators=creators,
                layers=layers, double=min(double, layers), chains=chains, puzzles=0, colours=colours,
                bonus=bonus, bonuschips=bonuschips, time=0, variant=0, background=1 + (s - 1) % BACKGROUNDS)


def plan_pieces(plans):
    """Spreads each stage's pieces over its levels: puzzle chips from level 4 on;
    in later stages every level but the stage's first and two breathers."""
    for s in range(1, len(STAGE_STARTS) + 1):
        first, last = stage_range(s)
        if s == 1:
            carriers = list(range(4, last + 1))
        else:
            span = list(range(first + 1, last + 1))
            # Two breathers without pieces a stage (free-play levels come from them).
            br = {span[len(span) // 3], span[2 * len(span) // 3]}
            carriers = [k for k in span if k not in br]
        total = STAGE_PIECES[s - 1]
        base, extra = divmod(total, len(carriers))
        for i, k in enumerate(carriers):
            plans[k]["puzzles"] = base + (1 if i >= len(carriers) - extra else 0)
    return plans


def format_recipe(r):
    order = ("level", "mode", "rows", "cols", "shape", "creators", "layers", "double", "chains",
             "puzzles", "colours", "bonus", "bonuschips", "background", "time", "variant")
    return " ".join("%s=%s" % (k, r[k]) for k in order)


def plan(path):
    old = {}
    if os.path.exists(path):
        with open(path) as f:
            old = parse_recipes(f.read(), path)
    plans = {n: plan_level(n) for n in range(1, QUEST_LEVELS + 1)}
    plan_pieces(plans)
    for n, r in plans.items():
        if n in old:
            r["time"] = old[n]["time"]
            r["variant"] = old[n]["variant"]
        if r["time"] == 0:
            area = r["rows"] * r["cols"]
            r["time"] = int(round((60 + area * (1.5 + r["layers"] / 40)) / 10.0)) * 10
    with open(path + ".tmp", "w") as f:
        f.write("# Quest level recipes, one level a line (see README.md beside this file).\n")
        f.write("# time and variant are tuned by tools/levelgen/levelcheck.py --tune.\n")
        for n in sorted(plans):
            f.write(format_recipe(plans[n]) + "\n")
    os.replace(path + ".tmp", path)


def main(argv):
    import argparse
    ap = argparse.ArgumentParser(description="quest level generator")
    ap.add_argument("command", choices=("build", "plan"))
    ap.add_argument("--recipes", default=RECIPES)
    ap.add_argument("--out", default=os.path.join(ROOT, "game"))
    a = ap.parse_args(argv)
    try:
        if a.command == "plan":
            plan(a.recipes)
            print("levelgen: recipes written to %s" % a.recipes)
            return 0
        with open(a.recipes) as f:
            recipes = parse_recipes(f.read(), a.recipes)
        n, frees = build(recipes, a.out)
        print("levelgen: %d quest levels, %d free-play levels" % (n, frees))
        return 0
    except RecipeError as e:
        print("levelgen: %s" % e, file=sys.stderr)
        return 1
    except OSError as e:
        print("levelgen: %s" % e, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
