"""Board pictures: plates in two sets, frame pieces, chains, hover frame, chain line."""
import math
from svgkit import *

P = 60          # cell pitch
BAND = 14       # frame band width
EXT = 21        # band plus its soft shadow


def _band_stops(pal):
    b = pal['band']
    e = float(EXT)
    st = [(0, b['edge']), (1.5, shade(b['mid'], 0.75)), (4, b['light']), (7, mix(b['light'], b['mid'], 0.35)),
          (11, b['mid']), (13, shade(b['mid'], 0.6)), (BAND, pal['ink']),
          (BAND + 0.01, '#000000', 0.38), (BAND + 3, '#000000', 0.16), (EXT, '#000000', 0)]
    return [(d / e, c) + tuple(rest) for d, c, *rest in st]


# --- plates -----------------------------------------------------------------

def _glass_plate(pal, uid):
    p = pal['plate']
    defs = (lin('pb' + uid, 0, 0, 1, 1, [(0, p['top']), (1, p['bottom'])]) +
            lin('pc' + uid, 0, 0, 0, 1, [(0, shade(p['top'], 1.2)), (1, shade(p['bottom'], 1.1))]))
    body = ('<rect width="60" height="60" fill="url(#pb%s)" opacity="0.93"/>' % uid +
            '<path d="M0.5 59.5 V0.5 H59.5" fill="none" stroke="%s" stroke-opacity="0.55"/>' % shade(p['rim'], 0.9) +
            '<path d="M0.5 59.5 H59.5 V0.5" fill="none" stroke="#08111f" stroke-opacity="0.7"/>' +
            '<path d="%s" fill="url(#pc%s)" stroke="%s" stroke-opacity="0.35"/>' % (rrect_path(5, 5, 50, 50, 8), uid, p['rim']) +
            '<path d="M6 46 V13 Q6 6 13 6 H46" fill="none" stroke="#ffffff" stroke-opacity="0.16" stroke-width="2"/>')
    return defs, body


def _frost(color, uid, double):
    lt = mix(color, '#ffffff', 0.65)
    dk = shade(color, 0.78, 1.1)
    defs = (lin('fr' + uid, 0, 0, 1, 1, [(0, lt), (0.55, color), (1, dk)]) +
            lin('fh' + uid, 0, 0, 0, 1, [(0, '#ffffff', 0.75), (1, '#ffffff', 0)]))
    op = 0.86 if double else 0.74
    body = ['<path d="%s" fill="url(#fr%s)" opacity="%s" stroke="#ffffff" stroke-opacity="0.85" stroke-width="1.6"/>'
            % (rrect_path(2.5, 2.5, 55, 55, 9), uid, op)]
    if double:
        body.append('<path d="%s" fill="none" stroke="%s" stroke-width="1.6" stroke-opacity="0.8"/>'
                    % (rrect_path(9, 9, 42, 42, 6), shade(color, 0.6)))
        body.append('<path d="%s" fill="none" stroke="#ffffff" stroke-width="1" stroke-opacity="0.8"/>'
                    % rrect_path(10.5, 10.5, 39, 39, 5))
        # frozen cracks mark the second layer
        body.append('<path d="M4 22 L13 25 L17 18 M56 40 L47 37 L44 45 M30 4 L28 10" fill="none" stroke="%s" '
                    'stroke-width="1.3" stroke-opacity="0.7" stroke-linecap="round"/>' % shade(color, 0.55))
    body.append('<path d="M6 30 V14 Q6 6 14 6 H40" fill="none" stroke="url(#fh%s)" stroke-width="3.5" '
                'stroke-linecap="round"/>' % uid)
    body.append('<path d="%s" fill="#ffffff" opacity="0.9"/>' % star_path(45, 13, 4, 1, 4))
    body.append('<path d="%s" fill="#ffffff" opacity="0.7"/>' % star_path(13, 48, 3, 0.8, 4))
    return defs, ''.join(body)


def _wood_plate(pal, uid):
    w = pal['garden']['walnut']
    defs = lin('wb' + uid, 0, 0, 1, 1, [(0, shade(w, 1.25)), (1, shade(w, 0.8))])
    body = ('<rect width="60" height="60" fill="url(#wb%s)"/>' % uid +
            '<path d="M0 20.5 H60 M0 40.5 H60" stroke="#1f120a" stroke-opacity="0.55" stroke-width="1.4"/>' +
            '<path d="M0 22 H60 M0 42 H60" stroke="#ffffff" stroke-opacity="0.12"/>' +
            '<path d="M8 10 q10 -3 20 0 t22 0 M5 31 q12 3 24 0 t26 0 M10 51 q10 -2 20 0 t20 0" fill="none" '
            'stroke="#2a170b" stroke-opacity="0.35" stroke-width="0.9"/>' +
            '<path d="M0.5 59.5 V0.5 H59.5" fill="none" stroke="#ffffff" stroke-opacity="0.18"/>' +
            '<path d="M0.5 59.5 H59.5 V0.5" fill="none" stroke="#120a04" stroke-opacity="0.7"/>')
    return defs, body


def _slab(color, uid, double):
    lt = mix(color, '#ffffff', 0.4)
    dk = shade(color, 0.7)
    defs = lin('sl' + uid, 0, 0, 1, 1, [(0, lt), (0.6, color), (1, dk)])
    body = ['<path d="%s" fill="url(#sl%s)" stroke="%s" stroke-width="1.4" opacity="0.93"/>'
            % (rrect_path(3, 3, 54, 54, 6), uid, shade(color, 0.45))]
    body.append('<path d="M5 40 V10 Q5 5 10 5 H44" fill="none" stroke="#ffffff" stroke-opacity="0.45" '
                'stroke-width="2" stroke-linecap="round"/>')
    if double:
        body.append('<path d="%s" fill="none" stroke="%s" stroke-width="1.5" stroke-opacity="0.8"/>'
                    % (rrect_path(9, 9, 42, 42, 4), shade(color, 0.5)))
        body.append('<path d="M3 18 L12 21 L15 14 M57 44 L48 41 L46 50" fill="none" stroke="%s" stroke-width="1.4"'
                    ' stroke-linecap="round"/>' % shade(color, 0.4))
    else:
        for (x, y) in ((16, 16), (44, 44), (44, 16), (16, 44)):
            body.append('<circle cx="%d" cy="%d" r="1.6" fill="%s" opacity="0.6"/>' % (x, y, shade(color, 0.55)))
    return defs, ''.join(body)


def _hole():
    return '', ('<rect x="1.5" y="1.5" width="57" height="57" fill="none" stroke="#ffffff" stroke-opacity="0.3" '
                'stroke-dasharray="4 3"/>')


def tiles(add, pal):
    d1, b1 = _glass_plate(pal, 'a')
    add('tiles/set0/tile0.png', doc(P, P, _hole()[1]))
    add('tiles/set0/tile1.png', doc(P, P, b1, d1))
    f1 = _frost(pal['frost1'], 'f', False)
    add('tiles/set0/tile2.png', doc(P, P, b1 + f1[1], d1 + f1[0]))
    f2 = _frost(pal['frost2'], 'g', True)
    add('tiles/set0/tile3.png', doc(P, P, b1 + f2[1], d1 + f2[0]))
    # flying pieces of a broken layer
    add('tiles/tile2.png', doc(P, P, f1[1], f1[0]))
    add('tiles/tile3.png', doc(P, P, f2[1], f2[0]))

    g = pal['garden']
    dw, bw = _wood_plate(pal, 'w')
    add('tiles/set1/tile0.png', doc(P, P, _hole()[1]))
    add('tiles/set1/tile1.png', doc(P, P, bw, dw))
    s1 = _slab(g['sandstone'], 's', False)
    add('tiles/set1/tile2.png', doc(P, P, bw + s1[1], dw + s1[0]))
    s2 = _slab(g['terracotta'], 't', True)
    add('tiles/set1/tile3.png', doc(P, P, bw + s2[1], dw + s2[0]))


# --- frame ------------------------------------------------------------------

def _xf(dx, dy, transpose=False):
    """Maps the canonical piece (plate to the left / upper-left) onto direction (dx, dy)."""
    sx = -1 if dx == 1 else 1
    sy = -1 if dy == 1 else 1
    tx = P if dx == 1 else 0
    ty = P if dy == 1 else 0
    m = 'matrix(%d 0 0 %d %d %d)' % (sx, sy, tx, ty)
    if transpose:
        m += ' matrix(0 1 1 0 0 0)'
    return m


def frames(add, pal):
    st = _band_stops(pal)
    defs = (lin('bx', 0, 0, EXT, 0, st, 'userSpaceOnUse') + lin('by', 0, 0, 0, EXT, st, 'userSpaceOnUse') +
            rad('br', 0, 0, EXT, st, 'userSpaceOnUse'))
    edge = '<rect x="0" y="-1" width="%d" height="62" fill="url(#bx)"/>' % EXT
    corner = '<circle cx="0" cy="0" r="%d" fill="url(#br)"/>' % EXT
    inner = ('<path d="M0 0 L%d %d L0 %d Z" fill="url(#bx)"/>' % (EXT, EXT, EXT) +
             '<path d="M0 0 L%d 0 L%d %d Z" fill="url(#by)"/>' % (EXT, EXT, EXT) +
             # fill the seam on the mitre
             '<path d="M0 0 L%d %d" stroke="%s" stroke-opacity="0.25" stroke-width="0.6"/>' % (BAND, BAND, pal['ink']))
    pieces = [(0, 0, 0, '', '')]
    n = 1
    for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
        if dx != 0:
            body = '<g transform="%s">%s</g>' % (_xf(dx, 0), edge)
        else:
            body = '<g transform="%s">%s</g>' % (_xf(0, dy, True), edge)
        pieces.append((n, dx, dy, '', body))
        n += 1
    for dx, dy in ((1, 1), (-1, 1), (-1, -1), (1, -1)):
        pieces.append((n, dx, dy, '', '<g transform="%s">%s</g>' % (_xf(dx, dy), corner)))
        n += 1
    for dx, dy in ((1, 1), (-1, 1), (-1, -1), (1, -1)):
        pieces.append((n, dx, dy, 'IN', '<g transform="%s">%s</g>' % (_xf(dx, dy), inner)))
        n += 1
    for pid, dx, dy, typ, body in pieces:
        add('frames/frame%d.png' % pid, doc(P, P, body, defs if body else ''))
    return pieces


FRAME_PIECES = None


# --- chains, hover, line ------------------------------------------------------

def _chain_links(x1, y1, x2, y2, n, heavy):
    out = []
    ang = math.degrees(math.atan2(y2 - y1, x2 - x1))
    w = 1.25 if heavy else 1.0
    for i in range(n):
        t = (i + 0.5) / n
        x, y = x1 + (x2 - x1) * t, y1 + (y2 - y1) * t
        if i % 2 == 0:
            ring = ('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" transform="rotate(%s %s %s)" fill="none" stroke="%s" '
                    'stroke-width="%s"/>')
            out.append(ring % (fmt(x), fmt(y), fmt(7.2 * w), fmt(4.4 * w), fmt(ang), fmt(x), fmt(y), '#23262c', fmt(5 * w)))
            out.append(ring % (fmt(x), fmt(y), fmt(7.2 * w), fmt(4.4 * w), fmt(ang), fmt(x), fmt(y), 'url(#met)', fmt(2.8 * w)))
        else:
            line = ('<line x1="%s" y1="%s" x2="%s" y2="%s" transform="rotate(%s %s %s)" stroke="%s" stroke-width="%s" '
                    'stroke-linecap="round"/>')
            a = 7.6 * w
            out.append(line % (fmt(x - a), fmt(y), fmt(x + a), fmt(y), fmt(ang), fmt(x), fmt(y), '#23262c', fmt(6 * w)))
            out.append(line % (fmt(x - a), fmt(y), fmt(x + a), fmt(y), fmt(ang), fmt(x), fmt(y), 'url(#met)', fmt(3.6 * w)))
            out.append(line % (fmt(x - a + 2), fmt(y - 0.8), fmt(x + a - 2), fmt(y - 0.8), fmt(ang), fmt(x), fmt(y),
                               '#ffffff', '0.9'))
    return out


def chains(add, pal):
    defs = lin('met', 0, 0, 0, 1, [(0, '#f4f6f9'), (0.45, '#aeb5c0'), (1, '#5f6672')]) + blur('sh', 1.2)
    for lvl, name in ((1, 'chain'), (2, 'chain2')):
        heavy = lvl == 2
        parts = []
        parts += _chain_links(5, 5, 55, 55, 7, heavy)
        parts += _chain_links(55, 5, 5, 55, 7, heavy)
        # Steel corner brackets hold the chains; they stay visible round a
        # chip even when the chip is drawn over the chain picture.
        brackets = []
        for k, (cx, cy) in enumerate(((0, 0), (60, 0), (60, 60), (0, 60))):
            sxx = 1 if cx == 0 else -1
            syy = 1 if cy == 0 else -1
            leg = 17 if heavy else 14
            th = 7 if heavy else 5.5
            pth = ('M%s %s h%s v%s h%s v%s h%s Z' % (fmt(cx), fmt(cy), fmt(sxx * leg), fmt(syy * th), fmt(-sxx * (leg - th)),
                                                     fmt(syy * (leg - th)), fmt(-sxx * th)))
            brackets.append('<path d="%s" fill="url(#%s)" stroke="#23262c" stroke-width="1.6" stroke-linejoin="round"/>'
                            % (pth, 'lk' if heavy else 'met'))
            rx, ry = cx + sxx * th * 0.55, cy + syy * th * 0.55
            brackets.append('<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="#23262c" stroke-width="1"/>'
                            % (fmt(rx), fmt(ry), fmt(2.2 if heavy else 1.7), '#d8332b' if heavy else '#e8ecf2'))
        body = ('<g filter="url(#sh)" opacity="0.5" transform="translate(1.5 2)">%s</g>%s%s'
                % (''.join(parts), ''.join(parts), ''.join(brackets)))
        if heavy:
            lock = ('<path d="M23 30 V24 a7 7 0 0 1 14 0 V30" fill="none" stroke="#23262c" stroke-width="6"/>'
                    '<path d="M23 30 V24 a7 7 0 0 1 14 0 V30" fill="none" stroke="url(#met)" stroke-width="3"/>'
                    '<path d="%s" fill="url(#lk)" stroke="#3a2a08" stroke-width="1.6"/>' % rrect_path(19, 29, 22, 18, 3) +
                    '<circle cx="30" cy="36" r="2.4" fill="#3a2a08"/><path d="M29 37 h2 v5 h-2 Z" fill="#3a2a08"/>')
            body += lock
        d = defs + lin('lk', 0, 0, 0, 1, [(0, '#ffe58a'), (1, '#c78d12')])
        add('tiles/%s.png' % name, doc(P, P, body, d))


def select_strip(add, pal):
    fw = 72
    frames_ = []
    defs = blur('gs', 2.2, 0.3) + rad('sk', 0.5, 0.5, 0.5, [(0, '#ffffff'), (0.35, '#fff2a8', 0.9), (1, '#ffcc33', 0)])
    per = 4 * 58.0
    for i in range(25):
        t = i / 25.0
        pulse = 0.75 + 0.25 * math.cos(2 * math.pi * t)
        rr = rrect_path(7, 7, 58, 58, 11)
        s = t * per
        # bright spark running round the rim, clockwise from the top-left
        if s < 58:
            x, y = 7 + s, 7
        elif s < 116:
            x, y = 65, 7 + s - 58
        elif s < 174:
            x, y = 65 - (s - 116), 65
        else:
            x, y = 7, 65 - (s - 174)
        x2, y2 = 72 - x, 72 - y
        body = ('<path d="%s" fill="none" stroke="#ffcf3a" stroke-width="6" opacity="%s" filter="url(#gs)"/>' % (rr, fmt(0.8 * pulse)) +
                '<path d="%s" fill="none" stroke="#fff6c8" stroke-width="2.6" opacity="%s"/>' % (rr, fmt(pulse)) +
                '<circle cx="%s" cy="%s" r="9" fill="url(#sk)"/>' % (fmt(x), fmt(y)) +
                '<circle cx="%s" cy="%s" r="9" fill="url(#sk)"/>' % (fmt(x2), fmt(y2)))
        frames_.append(body)
    parts = []
    for i, b in enumerate(frames_):
        parts.append('<svg x="%d" y="%d" width="%d" height="%d" viewBox="0 0 72 72">%s</svg>'
                     % ((i % 5) * fw, (i // 5) * fw, fw, fw, b))
    add('select.png', doc(fw * 5, fw * 5, ''.join(parts), defs))


def line_and_point(add, pal):
    defs = (lin('ln', 0, 0, 0, 1, [(0, '#ffd54a', 0), (0.25, '#ffd54a', 0.8), (0.42, '#ffffff'), (0.58, '#ffffff'),
                                   (0.75, '#ffd54a', 0.8), (1, '#ffd54a', 0)]))
    line = doc(32, 16, '<rect width="32" height="16" fill="url(#ln)"/>', defs)
    defs2 = rad('pt', 0.5, 0.5, 0.5, [(0, '#ffffff'), (0.35, '#fff4b8'), (0.6, '#ffc93a', 0.85), (1, '#ff9a00', 0)])
    point = doc(28, 28, '<circle cx="14" cy="14" r="14" fill="url(#pt)"/><circle cx="14" cy="14" r="5" fill="#ffffff"/>',
                defs2)
    # The play screen names the line's folder "maingame" and the point's
    # "mainGame"; both spellings are made so either lookup finds them.
    for folder in ('maingame', 'mainGame'):
        add('gui/%s/linia.png' % folder, line)
        add('gui/%s/punkt.png' % folder, point)
    add('point.png', doc(3, 3, '<rect width="3" height="3" fill="#ffffff"/>'))


def build(add, pal):
    tiles(add, pal)
    frames(add, pal)
    chains(add, pal)
    select_strip(add, pal)
    line_and_point(add, pal)
