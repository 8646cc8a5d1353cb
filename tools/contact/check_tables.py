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

EXTS = ('.png', '.jpg', '.jpeg', '.ttf', '.otf', '.wav', '.ogg')


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: check_tables.py GAME_DIR\n')
        return 2
    game = argv[1]
    data = os.path.join(game, 'data')
    missing, checked, tables = [], 0, 0
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
                    checked += 1
                    if not os.path.isfile(os.path.join(game, v)):
                        missing.append('data/%s: %s names %s' % (fn, key, v))
    req = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'required_files.txt')
    with open(req, encoding='utf-8') as f:
        for line in f:
            v = line.split('#', 1)[0].strip()
            if v:
                checked += 1
                if not os.path.isfile(os.path.join(game, v)):
                    missing.append('required_files.txt: %s' % v)
    for m in missing:
        print('MISSING ' + m)
    print('%d tables, %d files checked, %d missing' % (tables, checked, len(missing)))
    if tables == 0:
        print('no tables found under ' + data)
        return 1
    return 1 if missing else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
