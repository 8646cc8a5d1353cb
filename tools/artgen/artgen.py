#!/usr/bin/env python3
"""Draws the game's pictures as SVG files.

Usage: artgen.py PALETTE OUTDIR

Every picture is written to OUTDIR/<path under game/>.svg, e.g.
OUTDIR/gfx/chips/chip1.png.svg; the build renders it to game/gfx/chips/chip1.png
(".jpg" names are rendered to PNG, then turned into JPEG). A file is rewritten
only when its text changes, so the build re-renders only what changed; files of
pictures that are no longer drawn are removed.
"""
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import chips  # noqa: E402
import board  # noqa: E402
import hud  # noqa: E402
import fx  # noqa: E402
import scenes  # noqa: E402
import credits  # noqa: E402
import dogs  # noqa: E402
import story  # noqa: E402
import puzzlescreen  # noqa: E402
import gallery  # noqa: E402
import menu  # noqa: E402
import tutorial  # noqa: E402

MODULES = [chips, board, hud, fx, scenes, credits, dogs, story, puzzlescreen, gallery, menu, tutorial]


def main(argv):
    if len(argv) != 3:
        sys.stderr.write('usage: artgen.py PALETTE OUTDIR\n')
        return 2
    with open(argv[1], encoding='utf-8') as f:
        pal = json.load(f)
    out = argv[2]
    made = {}

    def add(rel, text):
        if not rel.startswith('gfx/'):
            rel = 'gfx/' + rel
        if rel in made:
            raise SystemExit('artgen: picture drawn twice: ' + rel)
        made[rel] = text

    for m in MODULES:
        m.build(add, pal)

    changed = 0
    for rel, text in made.items():
        path = os.path.join(out, rel + '.svg')
        os.makedirs(os.path.dirname(path), exist_ok=True)
        old = None
        if os.path.exists(path):
            with open(path, encoding='utf-8') as f:
                old = f.read()
        if old != text:
            with open(path, 'w', encoding='utf-8') as f:
                f.write(text)
            changed += 1
    keep = set(os.path.normpath(os.path.join(out, r + '.svg')) for r in made)
    for root, _dirs, files in os.walk(out):
        for fn in files:
            p = os.path.normpath(os.path.join(root, fn))
            if fn.endswith('.svg') and p not in keep:
                os.remove(p)
    print('artgen: %d pictures, %d changed' % (len(made), changed))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
