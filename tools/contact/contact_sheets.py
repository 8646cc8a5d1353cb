#!/usr/bin/env python3
"""Writes the review sheets: one contact sheet per picture group and a board
mock-up composed from the tables (background, frame, plates, chips, chains).

Usage: contact_sheets.py GAME_DIR OUT_DIR
"""
import base64
import glob
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import contact  # noqa: E402
import rcm  # noqa: E402

GROUPS = [
    ('chips', ['gfx/chips/*.png'], 'dark', 96),
    ('board', ['gfx/tiles/*.png', 'gfx/tiles/*/*.png', 'gfx/frames/*.png', 'gfx/select.png', 'gfx/point.png',
               'gfx/gui/maingame/*.png'], 'check', 96),
    ('hud', ['gfx/gui/mainGame/*.png'], 'check', 128),
    ('captions', ['gfx/captions/*.png'], 'dark', 300),
    ('digits', ['gfx/particles/cyfry/*.png', 'gfx/particles/cyfry1/*.png'], 'dark', 64),
    ('particles', ['gfx/particles/*.png'], 'dark', 72),
    ('backgrounds', ['gfx/backgrounds/*.jpg'], 'dark', 300),
    ('screens', ['gfx/gui/winScreen/*.png', 'gfx/gui/winscreen/*.png', 'gfx/gui/loseScreen/*.png',
                 'gfx/gui/common/*.png', 'gfx/gui/*.png'], 'check', 220),
]


def uri(path):
    with open(path, 'rb') as f:
        data = base64.b64encode(f.read()).decode('ascii')
    mime = 'image/jpeg' if path.endswith('.jpg') else 'image/png'
    return 'data:%s;base64,%s' % (mime, data)


# A sample board that shows every kind of cell: holes, both layer kinds,
# chains, a notch and an island, puzzle pieces and bonus chips.
SAMPLE = [
    '..2222..',
    '.233332.',
    '23311332',
    '23100132',
    '23100132',
    '23311332',
    '.233332.',
    '..2222..',
]


def frame_lists(tiles, rows, cols, pieces):
    """Frame layout over a (rows + 2) x (cols + 2) grid, as the level does it."""
    def kind(R, C):
        if R < 1 or C < 1 or R > rows or C > cols:
            return 0
        return tiles[R - 1][C - 1]

    def occ(R, C):
        return 0 <= R <= rows + 1 and 0 <= C <= cols + 1 and kind(R, C) != 0

    def piece(dx, dy, t):
        for p in pieces:
            if p[1] == dx and p[2] == dy and p[3] == t:
                return p[0]
        return None

    out = {}
    for R in range(rows + 2):
        for C in range(cols + 2):
            lst = [0]
            if not occ(R, C):
                for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1), (1, 1), (-1, 1), (-1, -1), (1, -1)):
                    if not occ(R + dy, C + dx):
                        continue
                    if dx == 0 or dy == 0:
                        lst.append(piece(dx, dy, ''))
                    elif not occ(R + dy, C) and not occ(R, C + dx):
                        lst.append(piece(dx, dy, ''))
                for dx, dy in ((1, 1), (-1, 1), (-1, -1), (1, -1)):
                    if occ(R + dy, C + dx) and occ(R + dy, C) and occ(R, C + dx):
                        lst.append(piece(dx, dy, 'IN'))
                have = set(lst)
                for (a, b, c) in (((-1, 0), (0, -1), (-1, -1)), ((-1, 0), (0, 1), (-1, 1)),
                                  ((1, 0), (0, -1), (1, -1)), ((1, 0), (0, 1), (1, 1))):
                    pa, pb, pc = piece(*a, ''), piece(*b, ''), piece(*c, 'IN')
                    if pa in have and pb in have and pc not in have:
                        lst.append(pc)
                        have.add(pc)
            out[(R, C)] = [p for p in lst if p is not None]
    return out


def mockup(game, out_png, tileset='tiles.dat', back_id=1, seed=7):
    data = os.path.join(game, 'data')
    chips = rcm.load(os.path.join(data, 'chips.dat'))
    bonus = rcm.load(os.path.join(data, 'bonusy.dat'))
    tiles = rcm.load(os.path.join(data, tileset))
    frames = rcm.load(os.path.join(data, 'frames.dat'))
    backs = rcm.load(os.path.join(data, 'backgrounds.dat'))
    size = rcm.num(rcm.load(os.path.join(data, 'settings.dat')), 'settings::size', 0) or 60

    def table(root, group, prefix, first, n):
        res = {}
        for k in range(first, n + first):
            base = '%s::%s%d::' % (group, prefix, k)
            res[rcm.num(root, base + 'id')] = (rcm.get(root, base + 'gfx'), root, base)
        return res

    chip_gfx = {k: v[0] for k, v in table(chips, 'chips', 'chip', 1, rcm.num(chips, 'chips::i')).items()}
    chip_gfx.update({k: v[0] for k, v in table(bonus, 'chips', 'chip', 1, rcm.num(bonus, 'chips::i')).items()})
    tile_gfx = {k: v[0] for k, v in table(tiles, 'tiles', 'tile', 0, rcm.num(tiles, 'tiles::i') + 1).items()}
    pieces, frame_gfx = [], {}
    for k in range(rcm.num(frames, 'frames::i') + 1):
        b = 'frames::frame%d::' % k
        pid = rcm.num(frames, b + 'id')
        pieces.append((pid, rcm.num(frames, b + 'dir', 0), rcm.num(frames, b + 'dir', 1), rcm.get(frames, b + 'typ')))
        frame_gfx[pid] = rcm.get(frames, b + 'gfx')
    back = ''
    for k in range(1, rcm.num(backs, 'backGrounds::i') + 1):
        if rcm.num(backs, 'backGrounds::back%d::id' % k) == back_id:
            back = rcm.get(backs, 'backGrounds::back%d::url' % k)

    rng = random.Random(seed)
    grid = [[int(ch) if ch != '.' else 0 for ch in row] for row in SAMPLE]
    rows, cols = len(grid), len(grid[0])
    normal = [k for k in sorted(chip_gfx) if k <= 7]
    lx, ly = 534, 406
    sx, sy = lx - size * cols / 2.0, ly - size * rows / 2.0
    fx0, fy0 = lx - size * (cols + 2) / 2.0, ly - size * (rows + 2) / 2.0

    imgs = {}

    def ref(rel):
        if rel not in imgs:
            imgs[rel] = 'i%d' % len(imgs)
        return imgs[rel]

    body = []
    if back and os.path.exists(os.path.join(game, back)):
        body.append('<use xlink:href="#%s" x="0" y="0"/>' % ref(back))
    fl = frame_lists(grid, rows, cols, pieces)
    for (R, C), lst in sorted(fl.items()):
        for p in lst:
            body.append('<use xlink:href="#%s" x="%d" y="%d"/>' % (ref(frame_gfx[p]), int(fx0 + size * C), int(fy0 + size * R)))
    for r in range(rows):
        for c in range(cols):
            t = grid[r][c]
            if t == 0:
                continue
            x, y = int(sx + size * c), int(sy + size * r)
            body.append('<use xlink:href="#%s" x="%d" y="%d" filter="url(#sh)"/>' % (ref(tile_gfx[t]), x + 3, y + 3))
            body.append('<use xlink:href="#%s" x="%d" y="%d"/>' % (ref(tile_gfx[t]), x, y))
    for r in range(rows):
        for c in range(cols):
            if grid[r][c] == 0:
                continue
            x, y = int(sx + size * c), int(sy + size * r)
            roll = rng.random()
            if (r, c) in ((2, 3), (5, 4)):
                kind = 101 if r == 2 else 105
            elif (r, c) == (0, 3):
                kind = 9
            else:
                kind = rng.choice(normal)
            g = chip_gfx.get(kind)
            if not g:
                continue
            body.append('<g transform="translate(%d %d) scale(1.1) translate(%d %d)" filter="url(#sh)">'
                        '<use xlink:href="#%s"/></g>' % (x + 2 + size // 2, y + 2 + size // 2, -size // 2, -size // 2, ref(g)))
            body.append('<use xlink:href="#%s" x="%d" y="%d"/>' % (ref(g), x, y))
            if (r in (2, 5) and c in (2, 5)) or (r, c) == (6, 4):
                body.append('<use xlink:href="#%s" x="%d" y="%d"/>'
                            % (ref('gfx/tiles/chain2.png' if r == 6 else 'gfx/tiles/chain.png'), x, y))
            del roll
    # The hover frame over one cell (first frame of the strip).
    hx, hy = int(sx + size * 2 + size / 2 - 36), int(sy + size * 3 + size / 2 - 36)
    body.append('<svg x="%d" y="%d" width="72" height="72" viewBox="0 0 72 72"><use xlink:href="#%s"/></svg>'
                % (hx, hy, ref('gfx/select.png')))
    # A suggested HUD layout around the board: power-up column on the left
    # (button centres from the tool-tip rectangles), counters top right,
    # match-type badge bottom left.
    hud = [('gfx/gui/mainGame/panelBonusow.png', 0, 44, 1.0), ('gfx/gui/mainGame/img.png', 764, 0, 1.0),
           ('gfx/gui/mainGame/trybSmall%d.png' % 0, 7, 712, 1.0)]
    for n, cy in enumerate((97, 189, 269, 349, 429, 517)):
        hud.append(('gfx/gui/mainGame/powerUpPodklad.png', 56 - 42, cy - 42, 1.0))
        hud.append(('gfx/gui/mainGame/bonus_%d.png' % (n + 1), 56 - 36, cy - 36, 1.0 if n < 4 else 0.35))
    hud.append(('gfx/gui/mainGame/bonusObw.png', 56 - 50, 97 - 50, 0.9))
    hud.append(('gfx/gui/mainGame/mlotek.png', 600, 330, 1.0))
    for rel, x, y, a in hud:
        if os.path.exists(os.path.join(game, rel)):
            body.append('<use xlink:href="#%s" x="%d" y="%d" opacity="%s"/>' % (ref(rel), x, y, a))
    defs = ['<filter id="sh"><feColorMatrix type="matrix" values="0 0 0 0 0  0 0 0 0 0  0 0 0 0 0  0 0 0 0.4 0"/></filter>']
    for rel, iid in imgs.items():
        w, h = contact.image_size(os.path.join(game, rel))
        defs.append('<image id="%s" width="%d" height="%d" xlink:href="%s"/>' % (iid, w, h, uri(os.path.join(game, rel))))
    svg = ('<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="1024" height="768">'
           '<defs>%s</defs>%s</svg>' % (''.join(defs), '\n'.join(body)))
    tmp = out_png + '.svg'
    with open(tmp, 'w', encoding='utf-8') as f:
        f.write(svg)
    subprocess.run(['rsvg-convert', '-o', out_png, tmp], check=True)
    os.remove(tmp)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    game, out = argv[1], argv[2]
    os.makedirs(out, exist_ok=True)
    index = []
    for name, pats, bg, cell in GROUPS:
        files = []
        for p in pats:
            files += glob.glob(os.path.join(game, p))
        files = sorted(set(files))
        if not files:
            continue
        contact.sheet(os.path.join(out, name + '.png'), name, files, cell, bg)
        index.append('%s.png %d pictures' % (name, len(files)))
    mockup(game, os.path.join(out, 'board_mockup.png'), 'tiles.dat', 1)
    mockup(game, os.path.join(out, 'board_mockup_set1.png'), 'tiles1.dat', 4, seed=11)
    index.append('board_mockup.png board_mockup_set1.png')
    with open(os.path.join(out, 'index.txt'), 'w', encoding='utf-8') as f:
        f.write('\n'.join(index) + '\n')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
