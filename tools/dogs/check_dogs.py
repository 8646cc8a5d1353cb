#!/usr/bin/env python3
"""Checks the dogs' content: the dog table, the owner lines and the pictures.

Usage: check_dogs.py GAME_DIR [--require-puzzles]

- data/dogs.dat: dogs::i dogs, ids 1..N, every key the owner scene reads present,
  stage starts as the quest is cut (first 1, rising, none at 189 or later),
  every picture it names present and of a size that fits where it is drawn,
  puzzle paths "data/puzzles/stageNN.dat" (and present, with --require-puzzles);
- owner lines: every entry well formed ("KEY:number" items), on a visit of its
  own stage, naming an existing non-empty line of txt/eng/dogs.txt, its bubble
  on screen above the bottom panel and its text inside the bubble; every
  stage's first visit and its dressed-up visit have something said; no line of
  dogs.txt goes unused;
- txt/eng/dogNames.txt, txt/eng/ubieranie.txt (7 lines);
- the owner scene's fixed pictures and the 480 x 480 opaque stage jigsaw pictures.
Prints every problem; exits 1 when there is one.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dogtables as dt  # noqa: E402
import rcm  # noqa: E402

LAST_LEVEL = 190
SCREEN_W, SCREEN_H = 1024, 768
PANEL_TOP = 700          # the bottom panel and the "click" hint start here
WINDOW_X = 433           # the owner's window picture's left edge
KEYS = ['id', 'name', 'url0', 'url1', 'score', 'startowyLevel', 'puzzleLevel', 'owner', 'ownerImg',
        'emptyImg', 'smallImg', 'imgXY', 'txts']
FIXED = ['gfx/gui/ubieranie/back.jpg', 'gfx/gui/ubieranie/empty.jpg', 'gfx/gui/ubieranie/boy.jpg',
         'gfx/gui/ubieranie/girl.jpg', 'gfx/gui/ubieranie/panel-left.png', 'gfx/gui/ubieranie/panel-right.png',
         'gfx/gui/ubieranie/panel.png', 'gfx/gui/ubieranie/podklad.png', 'gfx/gui/ubieranie/linia.png',
         'gfx/gui/ubieranie/podzialka.png']


def image_size(path):
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'contact'))
    import contact
    return contact.image_size(path)


def dog_place(dog_id):
    """Where the owner scene stands the dog (middle of the picture's bottom)."""
    return (180, 580) if dog_id in (2, 8) else (234, 545)


def find_font(game):
    for p in (os.path.join(game, 'gfx', 'fonts', 'Bookman.ttf'),
              '/usr/share/texmf/fonts/opentype/public/tex-gyre/texgyrebonum-regular.otf',
              '/usr/share/fonts/opentype/texgyre/texgyrebonum-regular.otf'):
        if os.path.isfile(p):
            return dt.Font(p, 20)
    return dt.AverageFont(20)


def check(game, require_puzzles=False, check_pictures=True):
    bad = []
    path = os.path.join(game, 'data', 'dogs.dat')
    try:
        root = rcm.load(path)
    except (OSError, ValueError) as e:
        return ['data/dogs.dat: cannot read: %s' % e]
    txt = os.path.join(game, 'txt', 'eng')
    try:
        names = dt.read_lines(os.path.join(txt, 'dogNames.txt'))
        lines = dt.read_lines(os.path.join(txt, 'dogs.txt'))
        ubier = dt.read_lines(os.path.join(txt, 'ubieranie.txt'))
    except OSError as e:
        return ['texts: %s' % e]
    if len(ubier) < 7 or not ubier[6].strip():
        bad.append('txt/eng/ubieranie.txt: needs 7 lines, line 7 the "click" hint')
    font = find_font(game)
    n = rcm.num(root, 'dogs::i')
    if n < 1:
        return bad + ['data/dogs.dat: dogs::i is %d' % n]
    starts, used = [], set()
    dogs = []
    for k in range(1, n + 1):
        P = 'dogs::dog%d::' % k
        missing = [key for key in KEYS if rcm.get(root, P + key, 0, None) is None]
        if missing:
            bad.append('dogs.dat: dog%d lacks %s' % (k, ', '.join(missing)))
            continue
        d = dict(k=k, id=rcm.num(root, P + 'id'), start=rcm.num(root, P + 'startowyLevel'))
        if d['id'] != k:
            bad.append('dogs.dat: dog%d has id %d (stage n must be dog n)' % (k, d['id']))
        nm = rcm.num(root, P + 'name')
        if not (1 <= nm <= len(names)) or not names[nm - 1].strip():
            bad.append('dogs.dat: dog%d name line %d is not a name in dogNames.txt' % (k, nm))
        if rcm.num(root, P + 'owner') not in (0, 1):
            bad.append('dogs.dat: dog%d owner must be 0 (boy) or 1 (girl)' % k)
        for key, cnt in (('score', 3), ('imgXY', 3)):
            if rcm.get(root, P + key, cnt - 1, None) is None:
                bad.append('dogs.dat: dog%d::%s needs %d values' % (k, key, cnt))
        gx, gy = rcm.num(root, P + 'imgXY', 0), rcm.num(root, P + 'imgXY', 1)
        if not (64 <= gx <= SCREEN_W - 64 and 18 <= gy <= SCREEN_H - 140):
            bad.append('dogs.dat: dog%d gallery card at (%d, %d) leaves the screen' % (k, gx, gy))
        pz = rcm.get(root, P + 'puzzleLevel')
        if pz != 'data/puzzles/stage%02d.dat' % k:
            bad.append('dogs.dat: dog%d puzzleLevel "%s" is not data/puzzles/stage%02d.dat' % (k, pz, k))
        elif require_puzzles and not os.path.isfile(os.path.join(game, pz)):
            bad.append('dogs.dat: dog%d puzzle %s missing' % (k, pz))
        d['pics'] = {key: rcm.get(root, P + key) for key in ('url0', 'url1', 'ownerImg', 'emptyImg', 'smallImg')}
        d['txts'] = [rcm.get(root, P + 'txt%d' % j, 0, None) for j in range(1, rcm.num(root, P + 'txts') + 1)]
        starts.append(d['start'])
        dogs.append(d)
    if bad:
        return bad
    # stages cut the quest
    if starts[0] != 1 or any(b <= a for a, b in zip(starts, starts[1:])) or starts[-1] >= LAST_LEVEL - 1:
        bad.append('dogs.dat: stage starts %s must rise from 1 and stay below %d' % (starts, LAST_LEVEL - 1))
    ends = [s - 1 for s in starts[1:]] + [LAST_LEVEL]
    for d, end in zip(dogs, ends):
        k, s = d['k'], d['start']
        # pictures
        if check_pictures:
            for key, rel in sorted(d['pics'].items()):
                if not os.path.isfile(os.path.join(game, rel)):
                    bad.append('dogs.dat: dog%d::%s names %s, which is missing' % (k, key, rel))
            if not bad:
                bad += check_dog_pictures(game, d)
        # owner lines
        visits = {}
        for j, wpis in enumerate(d['txts'], 1):
            where = 'dogs.dat: dog%d::txt%d' % (k, j)
            if wpis is None:
                bad.append(where + ' missing (txts says %d)' % len(d['txts']))
                continue
            try:
                e = dt.parse_entry(wpis)
            except dt.EntryError as err:
                bad.append('%s: %s' % (where, err))
                continue
            if e['who'] not in (1, 2):
                bad.append('%s: WHO %d is neither the owner (1) nor the dog (2)' % (where, e['who']))
            if not (1 <= e['text'] <= len(lines)) or not lines[e['text'] - 1].strip():
                bad.append('%s: TEXT %d is no line of dogs.txt' % (where, e['text']))
                continue
            used.add(e['text'])
            # lines of a level show on the visits before that level and its neighbours
            shown = [v for v in (e['level'] - 1, e['level'], e['level'] + 1) if s <= v <= end + 1]
            if not shown:
                bad.append('%s: LEVEL %d is never shown (stage %d is levels %d-%d)' % (where, e['level'], k, s, end))
            for v in shown:
                visits.setdefault(v, []).append(j)
            (x, y, w, h), drawn = dt.bubble(e, lines[e['text'] - 1], font)
            if x < 0 or x + w > SCREEN_W or y < 0 or y + h > PANEL_TOP:
                bad.append('%s: bubble (%d, %d, %d x %d) leaves the space above the bottom panel'
                           % (where, x, y, w, h))
            if 20 + drawn > h:
                bad.append('%s: text needs %d px, the bubble is %d px high' % (where, 20 + drawn, h))
        if s not in visits:
            bad.append('dog%d: nothing is said on the stage\'s first visit (level %d)' % (k, s))
        if end + 1 not in visits:
            bad.append('dog%d: nothing is said when the dog is dressed up (visit %d)' % (k, end + 1))
    unused = sorted(set(range(1, len(lines) + 1)) - used)
    if unused:
        bad.append('txt/eng/dogs.txt: lines %s are used by no dog' % unused)
    if check_pictures:
        bad += check_fixed_pictures(game, len(dogs))
    return bad


def check_dog_pictures(game, d):
    bad = []
    k = d['k']
    sz = {key: image_size(os.path.join(game, rel)) for key, rel in d['pics'].items()}
    if sz['url0'] != sz['url1']:
        bad.append('dog%d: plain %s and dressed %s pictures differ in size' % (k, sz['url0'], sz['url1']))
    (w, h), (px, py) = sz['url0'], dog_place(d['id'])
    if px - w // 2 < 0 or px + w - w // 2 > WINDOW_X + 40 or py - h < 0:
        bad.append('dog%d: a %dx%d picture stood at (%d, %d) leaves its place' % (k, w, h, px, py))
    ow, oh = sz['ownerImg']
    if SCREEN_W - ow < WINDOW_X or oh > 400:
        bad.append('dog%d: owner picture %dx%d does not fit the window (%d wide, 400 high)' % (k, ow, oh, SCREEN_W - WINDOW_X))
    for key in ('emptyImg', 'smallImg'):
        cw, ch = sz[key]
        if cw < 128 or ch < 36:
            bad.append('dog%d: %s %dx%d is smaller than its pin point (64, 18) needs' % (k, key, cw, ch))
    return bad


def check_fixed_pictures(game, n):
    bad = []
    for rel in FIXED:
        if not os.path.isfile(os.path.join(game, rel)):
            bad.append('owner scene picture %s missing' % rel)
    if not bad:
        if image_size(os.path.join(game, FIXED[0])) != (SCREEN_W, SCREEN_H):
            bad.append('%s must be %dx%d' % (FIXED[0], SCREEN_W, SCREEN_H))
        win = [image_size(os.path.join(game, rel)) for rel in FIXED[1:4]]
        if len(set(win)) != 1 or win[0][0] != SCREEN_W - WINDOW_X:
            bad.append('empty.jpg, boy.jpg and girl.jpg must share one size %d wide: %s' % (SCREEN_W - WINDOW_X, win))
    for k in range(1, n + 1):
        rel = 'gfx/puzzle/pictures/stage%02d.png' % k
        p = os.path.join(game, rel)
        if not os.path.isfile(p):
            bad.append('jigsaw picture %s missing' % rel)
            continue
        info = dt.png_info(p)
        if not info or info[:2] != (480, 480):
            bad.append('jigsaw picture %s must be a 480x480 PNG, is %s' % (rel, info))
        elif dt.png_min_alpha(p) != 255:
            bad.append('jigsaw picture %s is not opaque' % rel)
    return bad


def main(argv):
    args = [a for a in argv[1:] if not a.startswith('--')]
    if len(args) != 1:
        sys.stderr.write('usage: check_dogs.py GAME_DIR [--require-puzzles]\n')
        return 2
    req = '--require-puzzles' in argv
    bad = check(args[0], require_puzzles=req)
    for b in bad:
        print(b)
    if not req:
        print('note: puzzle files are not required in this tree (no jigsaw content rules)')
    print('dogs: %d problem(s)' % len(bad))
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
