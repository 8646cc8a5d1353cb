#!/usr/bin/env python3
"""Checks that every file named by the game's tables exists.

Usage: check_tables.py GAME_DIR

Reads every data/*.dat table, takes each string value that names a picture,
font, sound or music file and checks it under GAME_DIR; also checks the fixed
paths the code loads without a table (listed in required_files.txt beside this
script). Prints every missing file with the table and key that names it.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import rcm  # noqa: E402

REQUIRED = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'required_files.txt')
EXTS = ('.png', '.jpg', '.jpeg', '.ttf', '.otf', '.wav', '.ogg')


# Tables whose pictures are cut into frames: (file, group, entry prefix, first entry).
STRIPS = [('tiles.dat', 'tiles', 'tile', 0), ('tiles1.dat', 'tiles', 'tile', 0), ('frames.dat', 'frames', 'frame', 0),
          ('chips.dat', 'chips', 'chip', 1), ('bonusy.dat', 'chips', 'chip', 1)]
# Tables that must name pictures at all (an empty result means the reader or the table broke).
MUST_NAME = ['backgrounds.dat', 'bonusy.dat', 'chips.dat', 'frames.dat', 'particles.dat', 'tiles.dat', 'tiles1.dat']


def check_geometry(game):
    """A picture cut into frames must be frames x frameW wide and frameH high."""
    import contact
    out = []
    for fn, group, prefix, first in STRIPS:
        path = os.path.join(game, 'data', fn)
        if not os.path.exists(path):
            out.append('data/%s: table missing' % fn)
            continue
        root = rcm.load(path)
        n = rcm.num(root, group + '::i')

        for k in range(first, n + 1):
            base = '%s::%s%d::' % (group, prefix, k)
            gfx = rcm.get(root, base + 'gfx')
            frames = max(1, rcm.num(root, base + 'frames'))
            fw, fh = rcm.num(root, base + 'framesDim', 0), rcm.num(root, base + 'framesDim', 1)
            img = os.path.join(game, gfx)
            if not gfx:
                out.append('data/%s: %s names no picture' % (fn, base + 'gfx'))
                continue
            if not os.path.isfile(img):
                continue  # reported as missing already
            w, h = contact.image_size(img)
            if (w, h) != (frames * fw, fh):
                out.append('data/%s: %s is %dx%d, the table cuts %d frame(s) of %dx%d' % (fn, gfx, w, h, frames, fw, fh))
    return out


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: check_tables.py GAME_DIR\n')
        return 2
    game = argv[1]
    data = os.path.join(game, 'data')
    missing, checked, tables = [], 0, 0
    named = set()
    for fn in sorted(os.listdir(data)):
        if not fn.endswith('.dat'):
            continue
        tables += 1
        path = os.path.join(data, fn)
        try:
            root = rcm.load(path)
        except (ValueError, UnicodeDecodeError) as e:
            missing.append('%s: cannot read: %s' % (fn, e))
            continue
        for key, items, is_num in rcm.walk(root):
            if is_num:
                continue
            for item in items:
                v = item.strip()
                if v.lower().endswith(EXTS):
                    named.add(fn)
                    checked += 1
                    if not os.path.isfile(os.path.join(game, v)):
                        missing.append('data/%s: %s names %s' % (fn, key, v))
    for fn in MUST_NAME:
        if fn not in named:
            missing.append('data/%s: names no file at all' % fn)
    problems = check_geometry(game)
    missing += problems
    with open(REQUIRED, encoding='utf-8') as f:
        for line in f:
            v = line.split('#', 1)[0].strip()
            if v:
                checked += 1
                if not os.path.isfile(os.path.join(game, v)):
                    missing.append('required_files.txt: %s' % v)
    for m in missing:
        print('PROBLEM ' + m)
    print('%d tables, %d files checked, %d problems' % (tables, checked, len(missing)))
    if tables == 0:
        print('no tables found under ' + data)
        return 1
    return 1 if missing else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
