"""Particles, caption words and digit sets."""
import math
from svgkit import *


def _sparkle(k):
    rot = k * 90.0 / 16
    t = k / 15.0
    long_ = 26 + 5 * math.sin(t * math.pi * 2)
    short = 13 + 4 * math.cos(t * math.pi * 3)
    defs = rad('g', 0.5, 0.5, 0.5, [(0, '#ffffff', 0.9), (0.3, '#ffffff', 0.35), (1, '#ffffff', 0)]) + blur('bl', 1.2)
    body = ['<circle cx="32" cy="32" r="%s" fill="url(#g)"/>' % fmt(14 + 4 * math.sin(t * math.pi))]
    star = star_path(32, 32, long_, 2.6, 4, rot - 90)
    body.append('<path d="%s" fill="#ffffff" filter="url(#bl)"/>' % star)
    body.append('<path d="%s" fill="#ffffff"/>' % star)
    if k % 2 == 1:
        body.append('<path d="%s" fill="#ffffff" opacity="0.8"/>' % star_path(32, 32, short, 1.8, 4, rot - 45))
    body.append('<circle cx="32" cy="32" r="3.5" fill="#ffffff"/>')
    return doc(64, 64, ''.join(body), defs)


def particles(add):
    for k in range(16):
        add('particles/spark%02d.png' % k, _sparkle(k))
    g = rad('g', 0.5, 0.5, 0.5, [(0, '#ffffff'), (0.4, '#ffffff', 0.55), (1, '#ffffff', 0)])
    add('particles/glow.png', doc(64, 64, '<circle cx="32" cy="32" r="32" fill="url(#g)"/>', g))
    add('particles/star.png', doc(64, 64, '<path d="%s" fill="#ffffff" stroke="#ffffff" stroke-width="4" '
                                  'stroke-linejoin="round"/>' % star_path(32, 34, 26, 11, 5), ''))
    sm = blur('b', 4, 0.4)
    add('particles/smoke.png', doc(64, 64, '<g filter="url(#b)" fill="#e8e8e8" opacity="0.8"><circle cx="26" cy="34" r="14"/>'
                                   '<circle cx="38" cy="30" r="13"/><circle cx="33" cy="40" r="12"/></g>', sm))
    add('particles/ring.png', doc(64, 64, '<circle cx="32" cy="32" r="24" fill="none" stroke="#ffffff" stroke-width="6" '
                                  'filter="url(#b)"/><circle cx="32" cy="32" r="24" fill="none" stroke="#ffffff" stroke-width="2.5"/>',
                                  blur('b', 2.5, 0.3)))
    fl = lin('f', 0, 1, 0, 0, [(0, '#ffffff'), (0.5, '#fff2b0', 0.9), (1, '#ffb040', 0)])
    add('particles/flame.png', doc(64, 64, '<path d="M32 4 C40 20 52 30 50 44 C48 56 40 60 32 60 C24 60 16 56 14 44 '
                                   'C12 30 26 22 32 4 Z" fill="url(#f)"/>', fl))
    add('particles/shard.png', doc(32, 32, '<path d="M16 2 L28 14 L14 30 L4 12 Z" fill="#ffffff" opacity="0.9"/>'
                                   '<path d="M16 2 L28 14 L16 14 Z" fill="#ffffff"/><path d="M4 12 L16 14 L14 30 Z" '
                                   'fill="#c8d4e6" opacity="0.9"/>', ''))
    add('particles/leaf.png', doc(32, 32, '<path d="M4 28 C4 12 14 4 28 4 C28 18 20 28 4 28 Z" fill="#ffffff"/>'
                                  '<path d="M4 28 L22 10" stroke="#c8c8c8" stroke-width="1.5"/>', ''))
    add('particles/heart.png', doc(32, 32, '<path d="M16 28 C6 20 2 14 2 9 C2 4 6 2 9 2 C12 2 15 4 16 7 C17 4 20 2 23 2 '
                                   'C26 2 30 4 30 9 C30 14 26 20 16 28 Z" fill="#ffffff"/>', ''))
    add('particles/paw.png', doc(32, 32, '<g fill="#ffffff"><ellipse cx="16" cy="21" rx="8" ry="7"/><ellipse cx="6" cy="13" '
                                 'rx="3" ry="4"/><ellipse cx="12" cy="7" rx="3" ry="4"/><ellipse cx="20" cy="7" rx="3" ry="4"/>'
                                 '<ellipse cx="26" cy="13" rx="3" ry="4"/></g>', ''))
    add('particles/confetti.png', doc(16, 16, '<rect x="3" y="5" width="10" height="6" rx="1.5" fill="#ffffff"/>', ''))
    st = lin('s', 0, 0, 0, 1, [(0, '#ffffff', 0), (0.35, '#ffffff', 0.6), (0.5, '#ffffff'), (0.65, '#ffffff', 0.6),
                               (1, '#ffffff', 0)])
    st += lin('e', 0, 0, 1, 0, [(0, '#000000'), (0.2, '#ffffff'), (0.8, '#ffffff'), (1, '#000000')])
    add('particles/streak.png', doc(128, 32, '<mask id="m"><rect width="128" height="32" fill="url(#e)"/></mask>'
                                    '<rect width="128" height="32" fill="url(#s)" mask="url(#m)"/>', st))
    add('particles/link.png', doc(32, 32, '<ellipse cx="16" cy="16" rx="11" ry="7" transform="rotate(-30 16 16)" fill="none" '
                                  'stroke="#2a2d33" stroke-width="6"/><ellipse cx="16" cy="16" rx="11" ry="7" '
                                  'transform="rotate(-30 16 16)" fill="none" stroke="#c9ced6" stroke-width="3"/>', ''))


CAPTIONS = [
    ('excellent', 'Excellent!', '#fff27a', '#ff9a1f'),
    ('go', 'Go!', '#c8ff7a', '#3fb52e'),
    ('great', 'Great!', '#fff27a', '#ffb01f'),
    ('level_complited', 'Level Complete!', '#fff6b0', '#f0a81a'),
    ('matched', 'Matched!', '#b8fff4', '#1cb8c2'),
    ('noMatch', 'No More Moves!', '#ffd8b0', '#f0602a'),
    ('ready', 'Ready?', '#d8f0ff', '#3f8cff'),
    ('spectacular', 'Spectacular!', '#ffd8f4', '#c040e8'),
    ('terrific', 'Terrific!', '#ffe0c0', '#ff5a3a'),
    ('times_up', "Time's Up!", '#ffd0c8', '#d8332b'),
]


def _word(text, size, top, bottom, ink, w, h, family='TeX Gyre Bonum', weight='bold', stroke=None, y=None):
    stroke = stroke or size * 0.14
    y = y or h * 0.72
    defs = (lin('f', 0, 0, 0, 1, [(0, top), (0.45, mix(top, bottom, 0.35)), (1, bottom)]) + blur('sh', 3, 0.2) +
            lin('hl', 0, 0, 0, 1, [(0, '#ffffff', 0.8), (1, '#ffffff', 0)]))
    t = ('<text x="%s" y="%s" text-anchor="middle" font-family="%s" font-weight="%s" font-size="%s" %%s>%s</text>'
         % (fmt(w / 2.0), fmt(y), family, weight, fmt(size), text.replace("'", '&#8217;')))
    body = (t % ('fill="#000000" opacity="0.45" stroke="#000000" stroke-width="%s" stroke-linejoin="round" '
                 'transform="translate(3 5)" filter="url(#sh)"' % fmt(stroke)) +
            t % ('fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"' % (ink, ink, fmt(stroke))) +
            t % ('fill="url(#f)" stroke="#ffffff" stroke-opacity="0.5" stroke-width="%s"' % fmt(size * 0.02)))
    return doc(w, h, body, defs)


def captions(add):
    for name, text, top, bottom, in CAPTIONS:
        ink = shade(bottom, 0.35, 1.0)
        w = int(len(text) * 46 + 100)
        add('captions/%s.png' % name, _word(text, 84, top, bottom, ink, w, 128))


def digits(add):
    glyphs = [(str(i), str(i)) for i in range(10)]
    for name, ch in glyphs + [('plus', '+')]:
        add('particles/cyfry/%s.png' % name,
            _word(ch, 40, '#fff6b0', '#f0a81a', '#5a3215', 34, 50, 'DejaVu Sans Condensed', 'bold', 6, 40))
    for name, ch in glyphs:
        add('particles/cyfry1/%s.png' % name,
            _word(ch, 48, '#ffffff', '#9cd4ff', '#13305c', 40, 60, 'DejaVu Sans Condensed', 'bold', 7, 48))


def build(add, pal):
    particles(add)
    captions(add)
    digits(add)
