#!/usr/bin/env python3
"""Review sheets of the dogs: every dog plain and dressed, the owners, the
gallery cards, the stage jigsaw pictures, and the owner scene of each stage as
the screen lays it out (backdrop, window, owner, dog, the visit's bubbles
placed and wrapped from data/dogs.dat and txt/eng/dogs.txt).

Usage: dog_sheets.py GAME_DIR OUT_DIR
"""
import base64
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, '..', 'contact'))
import check_dogs  # noqa: E402
import contact  # noqa: E402
import dogtables as dt  # noqa: E402
import rcm  # noqa: E402


def uri(path):
    with open(path, 'rb') as f:
        data = base64.b64encode(f.read()).decode('ascii')
    return 'data:%s;base64,%s' % ('image/jpeg' if path.endswith('.jpg') else 'image/png', data)


def image(game, rel, x, y, hx=0, hy=0, op=1.0):
    p = os.path.join(game, rel)
    w, h = contact.image_size(p)
    return ('<image x="%d" y="%d" width="%d" height="%d" opacity="%s" xlink:href="%s"/>'
            % (x - (w if hx == 'w' else w // 2 if hx == 'mid' else 0), y - (h if hy == 'h' else 0), w, h, op, uri(p)))


def scene(game, out, dog, visit, dressed, font, lines):
    """One owner-scene visit with all of its bubbles at once."""
    P = 'dogs::dog%d::' % dog
    root = SCENE_ROOT
    dx, dy = check_dogs.dog_place(dog)
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="1024" height="768">',
             image(game, 'gfx/gui/ubieranie/back.jpg', 0, 0),
             image(game, rcm.get(root, P + ('url1' if dressed else 'url0')), dx, dy, 'mid', 'h'),
             image(game, 'gfx/gui/ubieranie/empty.jpg', 433, 0),
             image(game, rcm.get(root, P + 'ownerImg'), 1024, 400, 'w', 'h'),
             image(game, 'gfx/gui/ubieranie/panel-right.png', 1024, 700, 'w')]
    for j in range(1, rcm.num(root, P + 'txts') + 1):
        e = dt.parse_entry(rcm.get(root, P + 'txt%d' % j))
        if visit not in (e['level'] - 1, e['level'], e['level'] + 1):
            continue
        text = lines[e['text'] - 1]
        (x, y, w, h), _ = dt.bubble(e, text, font)
        ink = '#3b2414' if not e['black'] else '#1c3f7a'
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" rx="16" fill="#000" opacity="0.4"/>' % (x + 5, y + 5, w, h))
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" rx="16" fill="#fffdf6" stroke="%s" stroke-width="3"/>' % (x, y, w, h, ink))
        for k, ln in enumerate(dt.wrap(text, w - 40, font)):
            ln = ln.strip().replace('&', '&amp;').replace('<', '&lt;')
            parts.append('<text x="%d" y="%d" text-anchor="middle" font-family="TeX Gyre Bonum" font-size="20" fill="#000">%s</text>'
                         % (x + w // 2, y + 20 + font.height * (k + 0.75), ln))
    txt = dt.read_lines(os.path.join(game, 'txt', 'eng', 'ubieranie.txt'))
    hint = txt[6] if len(txt) > 6 else ''
    parts.append('<text x="512" y="762" text-anchor="middle" font-family="TeX Gyre Bonum" font-size="16" fill="#fff" '
                 'stroke="#000" stroke-opacity="0.5" stroke-width="3" paint-order="stroke">%s</text>' % hint)
    parts.append('</svg>')
    with open(out + '.svg', 'w', encoding='utf-8') as f:
        f.write('\n'.join(parts))
    subprocess.run(['rsvg-convert', '-w', '640', '-o', out, out + '.svg'], check=True)
    os.remove(out + '.svg')


SCENE_ROOT = None


def main(argv):
    global SCENE_ROOT
    if len(argv) != 3:
        sys.stderr.write('usage: dog_sheets.py GAME_DIR OUT_DIR\n')
        return 2
    game, out = argv[1], argv[2]
    os.makedirs(os.path.join(out, 'scenes'), exist_ok=True)
    g = lambda *p: os.path.join(game, 'gfx', *p)
    n = 12
    pairs = []
    for k in range(1, n + 1):
        pairs += [g('dogs', 'dog%02d.png' % k), g('dogs', 'dog%02d-dressed.png' % k)]
    contact.sheet(os.path.join(out, 'dogs.png'), 'dogs plain and dressed', pairs, cell=220, bg='light')
    contact.sheet(os.path.join(out, 'dog_owners.png'), 'owners', [g('dogs', 'owners', 'owner%02d.png' % k) for k in range(1, n + 1)],
                  cell=220, bg='light')
    contact.sheet(os.path.join(out, 'dog_gallery.png'), 'gallery cards and uncovered pictures',
                  [g('dogs', 'cards', 'dog%02d.png' % k) for k in range(1, n + 1)] +
                  [g('dogs', 'small', 'dog%02d.png' % k) for k in range(1, n + 1)], cell=150, bg='dark')
    contact.sheet(os.path.join(out, 'dog_jigsaw.png'), 'stage jigsaw pictures',
                  [g('puzzle', 'pictures', 'stage%02d.png' % k) for k in range(1, n + 1)], cell=300, bg='dark')
    ub = ['back.jpg', 'empty.jpg', 'boy.jpg', 'girl.jpg', 'panel-left.png', 'panel-right.png', 'panel.png',
          'podklad.png', 'linia.png', 'podzialka.png']
    contact.sheet(os.path.join(out, 'dog_ubieranie.png'), 'owner scene pictures', [g('gui', 'ubieranie', f) for f in ub],
                  cell=300, bg='check')
    # the owner scene of each stage: its first visit, and its dressed-up visit
    SCENE_ROOT = rcm.load(os.path.join(game, 'data', 'dogs.dat'))
    lines = dt.read_lines(os.path.join(game, 'txt', 'eng', 'dogs.txt'))
    font = check_dogs.find_font(game)
    starts = [rcm.num(SCENE_ROOT, 'dogs::dog%d::startowyLevel' % k) for k in range(1, n + 1)]
    ends = [s - 1 for s in starts[1:]] + [190]
    shots = []
    for k in range(1, n + 1):
        a = os.path.join(out, 'scenes', 'stage%02d_first.png' % k)
        b = os.path.join(out, 'scenes', 'stage%02d_dressed.png' % k)
        scene(game, a, k, starts[k - 1], False, font, lines)
        scene(game, b, k, ends[k - 1] + 1, True, font, lines)
        shots += [a, b]
    contact.sheet(os.path.join(out, 'dog_scenes.png'), 'owner scene: first visit and dressed visit', shots, cell=400, bg='dark')
    with open(os.path.join(out, 'dogs_index.txt'), 'w') as f:
        f.write('dogs.png dog_owners.png dog_gallery.png dog_jigsaw.png dog_ubieranie.png dog_scenes.png scenes/\n')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
