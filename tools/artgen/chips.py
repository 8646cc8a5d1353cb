"""Chips: the normal kinds, the puzzle piece and the bonus kinds."""
from svgkit import *

SIZE = 60  # drawn at the cell pitch; the body is about 50 px across


def _heart():
    return ('M50 88 C30 74 10 58 10 36 C10 20 22 12 33 12 C42 12 47 17 50 23 '
            'C53 17 58 12 67 12 C78 12 90 20 90 36 C90 58 70 74 50 88 Z'), (33, 29, 14, 8, -35)


def _paw():
    pad = ('M50 48 C63 48 75 60 79 71 C83 82 74 91 63 89 C57 88 54 85 50 85 '
           'C46 85 43 88 37 89 C26 91 17 82 21 71 C25 60 37 48 50 48 Z')
    toes = [rellipse_path(19, 45, 9.5, 12.5, -25), rellipse_path(37, 24, 10.5, 13.5, -8),
            rellipse_path(63, 24, 10.5, 13.5, 8), rellipse_path(81, 45, 9.5, 12.5, 25)]
    return pad + ' ' + ' '.join(toes), (36, 22, 9, 6, -10)


def _star():
    return star_path(50, 54, 46, 21, 5), (38, 36, 12, 7, -30)


def _clover():
    parts = []
    for ang in (45, 135, 225, 315):
        x, y = rot_pt(50 + 19, 45, 50, 45, ang)
        parts.append(circle_path(x, y, 19))
    stem = 'M54 58 C60 72 66 80 76 88 L72 92 C60 84 52 74 48 60 Z'
    return ' '.join(parts) + ' ' + stem, (34, 28, 10, 7, -40)


def _drop():
    return ('M50 8 C58 26 82 44 82 64 C82 81 68 92 50 92 C32 92 18 81 18 64 '
            'C18 44 42 26 50 8 Z'), (36, 56, 8, 14, 20)


def _gem():
    return 'M29 15 L71 15 L91 39 L50 90 L9 39 Z', (38, 26, 14, 6, -10)


def _bone():
    shaft = rrect_path(24, 41, 52, 18, 4)
    knobs = [circle_path(22, 38, 13), circle_path(22, 62, 13), circle_path(78, 38, 13), circle_path(78, 62, 13)]
    return shaft + ' ' + ' '.join(knobs), (24, 34, 9, 6, -30)


def _bell():
    body = ('M50 10 C55 10 57 13 57 17 C71 21 77 35 77 50 L79 67 C81 72 88 74 88 79 '
            'C88 82 86 83 83 83 L17 83 C14 83 12 82 12 79 C12 74 19 72 21 67 L23 50 '
            'C23 35 29 21 43 17 C43 13 45 10 50 10 Z')
    return body + ' ' + circle_path(50, 86, 8), (38, 34, 8, 13, 15)


SHAPES = {'heart': _heart, 'paw': _paw, 'star': _star, 'clover': _clover,
          'drop': _drop, 'gem': _gem, 'bone': _bone, 'bell': _bell}


def chip_svg(name, color, uid='a'):
    d, hl = SHAPES[name]()
    tr = 'rotate(-35 50 50)' if name == 'bone' else ''
    extra = ''
    if name == 'gem':
        dk = shade(color, 0.45)
        lt = mix(color, '#ffffff', 0.55)
        extra = ('<path d="M9 39 L91 39 M29 15 L38 39 L50 15 L62 39 L71 15 M38 39 L50 90 L62 39" '
                 'fill="none" stroke="%s" stroke-width="1.6" opacity="0.6"/>'
                 '<path d="M29 15 L38 39 L9 39 Z" fill="%s" opacity="0.35"/>'
                 '<path d="M62 39 L91 39 L50 90 Z" fill="%s" opacity="0.35"/>' % (lt, lt, dk))
    if name == 'bell':
        dk = shade(color, 0.45)
        extra = ('<path d="M21 67 C35 72 65 72 79 67 L80 73 C65 78 35 78 20 73 Z" fill="%s" opacity="0.45"/>' % dk)
    if name == 'star':
        extra = '<path d="%s" fill="#ffffff" opacity="0.18"/>' % star_path(50, 54, 20, 9, 5)
    defs, body = glossy(uid, d, color, hl=hl, transform=tr, extra=extra)
    return doc(SIZE, SIZE, body, defs, vb=(0, 0, 100, 100))


def puzzle_svg(color):
    d = (rrect_path(20, 28, 56, 56, 6) + ' ' + circle_path(48, 20, 11) + ' ' + circle_path(84, 56, 11))
    extra = ('<path d="M34 50 l6 -6 l6 6 l-6 6 Z M54 64 l5 -5 l5 5 l-5 5 Z" fill="#ffffff" opacity="0.5"/>')
    defs, body = glossy('pz', d, color, hl=(34, 36, 12, 7, -30), extra=extra)
    return doc(SIZE, SIZE, body, defs, vb=(0, 0, 100, 100))


def _orb(uid):
    d = circle_path(50, 50, 40)
    defs, body = glossy(uid, d, '#2a2f5e', ink='#0d0f24', hl=(36, 28, 18, 9, -25), sparkle=False)
    return defs, body


CROSS_COLORS = {1: ('#ffb02e', '#fff1a8'), 2: ('#ff4fb0', '#ffd0ef'), 3: ('#38e6ff', '#ffffff')}


def crossfire_svg(level):
    col, core = CROSS_COLORS[level]
    defs, body = _orb('cf%d' % level)
    defs += blur('gl', 2.5, 0.6)
    arms = []
    for ang in (0, 90, 180, 270):
        g = ['<g transform="rotate(%d 50 50)">' % ang]
        # arm: shaft from centre to the edge, then 1-3 chevrons
        g.append('<path d="M46 50 L46 24 L54 24 L54 50 Z" fill="%s"/>' % col)
        for k in range(level):
            y = 13 + k * 8
            g.append('<path d="M40 %s L50 %s L60 %s L60 %s L50 %s L40 %s Z" fill="%s" stroke="%s" stroke-width="0.8"/>'
                     % (fmt(y + 8), fmt(y), fmt(y + 8), fmt(y + 12), fmt(y + 4), fmt(y + 12), core if k == 0 else col, col))
        g.append('</g>')
        arms.append(''.join(g))
    cross = ''.join(arms)
    body += '<g filter="url(#gl)" opacity="0.9">%s</g>' % cross
    body += cross
    body += '<circle cx="50" cy="50" r="9" fill="%s"/><circle cx="50" cy="50" r="5" fill="#ffffff"/>' % core
    return doc(SIZE, SIZE, body, defs, vb=(0, 0, 100, 100))


def bomb_svg(level):
    d = circle_path(45, 60, 31)
    band = ''
    if level == 2:
        band = '<path d="M14 56 C32 65 60 65 76 56 L76 65 C60 74 32 74 14 65 Z" fill="#d8332b"/>'
    if level == 3:
        band = ('<path d="M14 56 C32 65 60 65 76 56 L76 65 C60 74 32 74 14 65 Z" fill="#f0b429"/>'
                '<path d="M14 59 C32 68 60 68 76 59" fill="none" stroke="#fff3b0" stroke-width="1.5"/>')
    defs, body = glossy('bo%d' % level, d, '#3a3d4a', ink='#101116', hl=(33, 46, 12, 7, -30), extra=band)
    cap = rrect_path(53, 24, 16, 12, 3)
    defs2, capb = glossy('bc%d' % level, cap, '#7b7f8e', ink='#1c1d24', width=3, hl=(58, 27, 5, 2, 0),
                         transform='rotate(40 61 30)', sparkle=False)
    defs += defs2
    fuse = '<path d="M64 26 C68 16 76 12 82 17" fill="none" stroke="#6b4a2a" stroke-width="4" stroke-linecap="round"/>'
    r = 6 + level * 2.5
    defs += rad('sp', 0.5, 0.5, 0.5, [(0, '#ffffff'), (0.3, '#fff1a0'), (0.6, '#ffa020', 0.8), (1, '#ff5000', 0)])
    spark = ('<circle cx="82" cy="17" r="%s" fill="url(#sp)"/>' % fmt(r * 1.3) +
             '<path d="%s" fill="#fff8d0"/>' % star_path(82, 17, r, r * 0.3, 4 + level, -90))
    pips = ''
    for k in range(level):
        x = 47 + (k - (level - 1) / 2.0) * 14
        pips += '<path d="%s" fill="#ffd84a" stroke="#6b4a00" stroke-width="1.2"/>' % star_path(x, 80, 6, 2.6, 5)
    art = body + capb + fuse + spark + pips
    return doc(SIZE, SIZE, '<g transform="translate(48 54) scale(1.06) translate(-48 -52)">%s</g>' % art, defs,
               vb=(0, 0, 100, 100))


def build(add, pal):
    for c in pal['chips']:
        add('chips/chip%d.png' % c['id'], chip_svg(c['name'], c['color'], 'c%d' % c['id']))
    add('chips/puzzle.png', puzzle_svg(pal['puzzle']))
    for lv in (1, 2, 3):
        add('chips/crossfire%d.png' % lv, crossfire_svg(lv))
        add('chips/bomb%d.png' % lv, bomb_svg(lv))
