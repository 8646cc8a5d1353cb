#!/usr/bin/env python3
"""Checks the comic story files against the rules the story screen reads them by.

Usage: check_stories.py GAME_DIR

For each of data/story-1.dat, story-2.dat and story-3.dat: "story::atEnd"
names a screen, "story::i" counts the pictures and every group story1 ...
storyM exists (and no more), each picture's file exists and is 1024 x 768,
"texts" counts the boxes and every box txt1 ... txtT has its five keys with
values of the right kind, its text line exists in txt/eng/story-comic.txt and
is not empty. Every line of that file is used by some box. The fixed files of
the story screen exist: the nine frame pieces and two tails, the panel, the
GUI script with its button "skip" (whose text reference resolves) and the two
lines of txt/eng/story.txt. Prints each problem; exit 1 when there is one.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'contact'))
import contact  # noqa: E402
import rcm  # noqa: E402

SCREENS = {'MAIN-MENU', 'MAIN-GAME', 'UBIERANIE', 'PUZZLE', 'GALERIA', 'STORY', 'NEW-QUEST', 'RESUME-QUEST',
           'GET-NEXT-QUEST-LEVEL', 'GET-NEXT-STAGE', 'RESTART-LEVEL', 'END'}
PIECES = ['lewo-gora', 'gora', 'prawo-gora', 'lewo', 'srodek', 'prawo', 'lewo-Dol', 'dol', 'prawo-dol',
          'dziubek-1', 'dziubek-2']
BOX_KEYS = {'text': 1, 'typKomiksu': 1, 'dim': 4, 'dziubek': 4, 'font': 1}
STORY_COUNT = 3


def read_lines(path):
    """Lines as the game splits a text file: a line feed ends a line; a last
    line without one counts when it is not empty."""
    with open(path, 'rb') as f:
        text = f.read().decode('latin-1')
    lines = text.split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    return lines


def is_int(v):
    return re.fullmatch(r'-?\d+', v.strip()) is not None


def is_num(v):
    return re.fullmatch(r'-?\d+(\.\d+)?', v.strip()) is not None


def check_story(game, n, comic, used):
    out = []
    rel = 'data/story-%d.dat' % n
    path = os.path.join(game, rel)
    if not os.path.isfile(path):
        return ['%s is missing' % rel]
    try:
        root = rcm.load(path)
    except (ValueError, UnicodeDecodeError) as e:
        return ['%s: cannot read: %s' % (rel, e)]
    top = root.group('story')
    if top is None:
        return ['%s: no group "story"' % rel]
    at_end = rcm.get(root, 'story::atEnd').strip().upper()
    if at_end not in SCREENS:
        out.append('%s: story::atEnd "%s" names no screen' % (rel, at_end))
    count = rcm.get(root, 'story::i')
    if not is_int(count) or int(count) < 1:
        return out + ['%s: story::i "%s" is not a positive count' % (rel, count)]
    m = int(count)
    names = set(g.name.lower() for g in top.groups)
    extra = sorted(names - set('story%d' % p for p in range(1, m + 1)))
    if extra:
        out.append('%s: groups beyond story::i = %d are never shown: %s' % (rel, m, ', '.join(extra)))
    for p in range(1, m + 1):
        s = 'story::story%d' % p
        part = top.group('story%d' % p)
        if part is None:
            out.append('%s: %s is missing' % (rel, s))
            continue
        gfx = rcm.get(root, s + '::gfx').strip()
        if not gfx:
            out.append('%s: %s::gfx names no picture' % (rel, s))
        elif not os.path.isfile(os.path.join(game, gfx)):
            out.append('%s: %s::gfx names %s, which does not exist' % (rel, s, gfx))
        else:
            try:
                size = contact.image_size(os.path.join(game, gfx))
            except ValueError as e:
                size = str(e)
            if size != (1024, 768):
                out.append('%s: %s is %s, not 1024 x 768' % (rel, gfx, size))
        texts = rcm.get(root, s + '::texts')
        if not is_int(texts) or int(texts) < 1:
            out.append('%s: %s::texts "%s" is not a positive count' % (rel, s, texts))
            continue
        t_count = int(texts)
        boxes = set(g.name.lower() for g in part.groups)
        extra = sorted(boxes - set('txt%d' % t for t in range(1, t_count + 1)))
        if extra:
            out.append('%s: %s has boxes beyond texts = %d: %s' % (rel, s, t_count, ', '.join(extra)))
        for t in range(1, t_count + 1):
            b = s + '::txt%d' % t
            box = part.group('txt%d' % t)
            if box is None:
                out.append('%s: %s is missing' % (rel, b))
                continue
            bad = False
            for key, k in BOX_KEYS.items():
                e = box.entry(key)
                if e is None or len(e[1]) < k or not e[2]:
                    out.append('%s: %s::%s needs %d number(s)' % (rel, b, key, k))
                    bad = True
                    continue
                test = is_num if key == 'dziubek' else is_int
                if not all(test(v) for v in e[1][:k]):
                    out.append('%s: %s::%s = %s is not %s' % (rel, b, key, ', '.join(e[1]),
                                                             'numbers' if key == 'dziubek' else 'whole numbers'))
                    bad = True
            if bad:
                continue
            if rcm.num(root, b + '::typKomiksu') not in (0, 1):
                out.append('%s: %s::typKomiksu must be 0 (speech tail) or 1 (thought tail)' % (rel, b))
            w, h = rcm.num(root, b + '::dim', 2), rcm.num(root, b + '::dim', 3)
            if w <= 0 or h <= 0:
                out.append('%s: %s::dim has no size' % (rel, b))
            line = rcm.num(root, b + '::text')
            if line < 1 or line > len(comic):
                out.append('%s: %s::text = %d, but txt/eng/story-comic.txt has %d lines' % (rel, b, line, len(comic)))
            elif not comic[line - 1].strip():
                out.append('%s: %s::text = %d is an empty line' % (rel, b, line))
            else:
                used.add(line)
    return out


def check(game):
    out = []
    comic_path = os.path.join(game, 'txt', 'eng', 'story-comic.txt')
    comic = read_lines(comic_path) if os.path.isfile(comic_path) else []
    if not comic:
        out.append('txt/eng/story-comic.txt is missing or empty')
    used = set()
    for n in range(1, STORY_COUNT + 1):
        out += check_story(game, n, comic, used)
    unused = [str(k) for k in range(1, len(comic) + 1) if k not in used and comic[k - 1].strip()]
    if comic and unused:
        out.append('txt/eng/story-comic.txt: lines never shown: %s' % ', '.join(unused))
    for p in PIECES:
        if not os.path.isfile(os.path.join(game, 'gfx', 'story', 'comic', p + '.png')):
            out.append('gfx/story/comic/%s.png is missing' % p)
    if not os.path.isfile(os.path.join(game, 'gfx', 'gui', 'story', 'panel.png')):
        out.append('gfx/gui/story/panel.png is missing')
    hint_path = os.path.join(game, 'txt', 'eng', 'story.txt')
    hint = read_lines(hint_path) if os.path.isfile(hint_path) else []
    if len(hint) < 2 or not all(x.strip() for x in hint[:2]):
        out.append('txt/eng/story.txt needs two lines (the skip caption and the hint)')
    gui = os.path.join(game, 'gfx', 'gui', 'story', 'story.gui')
    if not os.path.isfile(gui):
        out.append('gfx/gui/story/story.gui is missing')
    else:
        with open(gui, encoding='latin-1') as f:
            text = f.read()
        if not re.search(r'(?im)^\s*BUTTON\s+skip\s*\{', text):
            out.append('gfx/gui/story/story.gui declares no BUTTON skip')
        for ref, k in re.findall(r'\[(txt/[^|\]]+)\|(\d+)\]', text):
            d, name = os.path.split(ref)
            p = os.path.join(game, d, 'eng', name)
            lines = read_lines(p) if os.path.isfile(p) else []
            if int(k) < 1 or int(k) > len(lines):
                out.append('gfx/gui/story/story.gui: [%s|%s] names no line' % (ref, k))
        for url in re.findall(r'(?im)^\s*URL\s*=\s*"?([^"\s]+)', text):
            if not os.path.isfile(os.path.normpath(os.path.join(os.path.dirname(gui), url))):
                out.append('gfx/gui/story/story.gui: font %s does not exist' % url)
    return out


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: check_stories.py GAME_DIR\n')
        return 2
    problems = check(argv[1])
    for p in problems:
        print('PROBLEM ' + p)
    print('%d stories checked, %d problems' % (STORY_COUNT, len(problems)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
