"""The jigsaw screen: a wooden table with the 500 x 500 board at (262, 20),
the sash that carries the buttons at the top right and the buttons. (The
pointer picture "gfx/point.png" the pieces are hit-tested against is drawn
with the board's pictures.)"""
import random
from svgkit import *

W, H = 1024, 768
BOARD_X, BOARD_Y, BOARD = 262, 20, 500


def _table(rng):
    planks = []
    y = 0
    k = 0
    while y < H:
        ph = 92 + rng.randint(-6, 6)
        base = mix('#a8713d', '#8d5c30', rng.uniform(0, 1))
        planks.append('<rect x="0" y="%d" width="%d" height="%d" fill="%s"/>' % (y, W, ph, base))
        for _ in range(7):  # grain
            gy = y + rng.uniform(8, ph - 8)
            amp = rng.uniform(2, 6)
            x0 = rng.uniform(-200, W)
            length = rng.uniform(260, 620)
            planks.append('<path d="M%s %s q%s %s %s 0 t%s 0" fill="none" stroke="%s" stroke-width="%s" '
                          'stroke-opacity="0.22"/>'
                          % (fmt(x0), fmt(gy), fmt(length / 4), fmt(-amp), fmt(length / 2), fmt(length / 2),
                             shade(base, 0.72), fmt(rng.uniform(1.2, 2.4))))
        # the seam: a dark line with a light lip under it
        planks.append('<rect x="0" y="%d" width="%d" height="2" fill="#4a2a12" opacity="0.55"/>' % (y + ph - 2, W))
        planks.append('<rect x="0" y="%d" width="%d" height="1.5" fill="#e8b878" opacity="0.35"/>' % (y + ph, W))
        y += ph
        k += 1
    return ''.join(planks)


def _board():
    x, y, s = BOARD_X, BOARD_Y, BOARD
    defs = (blur('bs', 7, 0.2) +
            rad('felt', 0.45, 0.4, 0.75, [(0, '#fbf1da'), (0.7, '#f1e0bb'), (1, '#e4cc9c')]) +
            lin('rim', 0, 0, 1, 1, [(0, '#f2c16e'), (0.5, '#c98a3c'), (1, '#8a5424')]))
    body = ('<rect x="%d" y="%d" width="%d" height="%d" rx="10" fill="#000" opacity="0.45" filter="url(#bs)"/>'
            % (x - 8, y - 2, s + 24, s + 24))
    body += ('<rect x="%d" y="%d" width="%d" height="%d" rx="9" fill="url(#rim)" stroke="#3b2414" stroke-width="3"/>'
             % (x - 12, y - 12, s + 24, s + 24))
    body += ('<rect x="%d" y="%d" width="%d" height="%d" fill="url(#felt)" stroke="#5a3215" stroke-width="2"/>'
             % (x, y, s, s))
    # a faint inner line and corner marks where the picture goes
    body += ('<rect x="%d" y="%d" width="%d" height="%d" fill="none" stroke="#c9a66a" stroke-width="1.5" '
             'stroke-dasharray="6 6" opacity="0.7"/>' % (x + 10, y + 10, s - 20, s - 20))
    for cx, cy, dx, dy in ((x + 10, y + 10, 1, 1), (x + s - 10, y + 10, -1, 1), (x + 10, y + s - 10, 1, -1),
                           (x + s - 10, y + s - 10, -1, -1)):
        body += ('<path d="M%d %d v%d M%d %d h%d" stroke="#a9793c" stroke-width="3" stroke-linecap="round"/>'
                 % (cx, cy, 24 * dy, cx, cy, 24 * dx))
    # a soft paw in the middle of the empty board
    px, py = x + s / 2, y + s / 2
    paw = '<g fill="#d9bf8a" opacity="0.55">'
    paw += '<ellipse cx="%s" cy="%s" rx="34" ry="28"/>' % (fmt(px), fmt(py + 18))
    for ox, oy in ((-38, -22), (-14, -44), (14, -44), (38, -22)):
        paw += '<ellipse cx="%s" cy="%s" rx="12" ry="15"/>' % (fmt(px + ox), fmt(py + oy))
    paw += '</g>'
    return body + paw, defs


def _back():
    rng = random.Random(7071)
    board, bdefs = _board()
    defs = bdefs + rad('vig', 0.5, 0.45, 0.75, [(0, '#000000', 0), (0.7, '#000000', 0.05), (1, '#000000', 0.4)])
    body = _table(rng)
    body += '<rect x="0" y="0" width="%d" height="%d" fill="url(#vig)"/>' % (W, H)
    body += board
    return doc(W, H, body, defs)


def _sash():
    # 262 x 76: a red ribbon with gold stitching hanging from the top right,
    # its left end cut in a swallowtail (it slides in from the right).
    w, h = 262, 76
    defs = lin('sr', 0, 0, 0, 1, [(0, '#d2493f'), (0.55, '#a8322d'), (1, '#7a2020')])
    d = 'M14 0 H%d V%d H14 L36 %d Z' % (w, h - 6, (h - 6) // 2)
    body = '<path d="%s" fill="#000" opacity="0.35" transform="translate(3 5)"/>' % d
    body += '<path d="%s" fill="url(#sr)" stroke="#3b2414" stroke-width="2.5"/>' % d
    body += ('<path d="M24 6 H%d M24 %d H%d" stroke="#f7de71" stroke-width="2" stroke-dasharray="7 5" '
             'stroke-opacity="0.9"/>' % (w - 4, h - 12, w - 4))
    return doc(w, h, body, defs)


def _button():
    w, h = 116, 46
    defs = lin('pb', 0, 0, 0, 1, [(0, '#ffd98a'), (0.5, '#f0a84a'), (1, '#b86a1c')])
    body = ('<path d="%s" fill="url(#pb)" stroke="#3b2414" stroke-width="3"/>'
            '<path d="%s" fill="none" stroke="#ffffff" stroke-opacity="0.55" stroke-width="2"/>'
            % (rrect_path(2.5, 2.5, w - 5, h - 5, (h - 5) / 2), rrect_path(8, 7, w - 16, 15, 7.5)))
    return doc(w, h, body, defs)


def build(add, pal):
    add('gui/puzzleGame/back.jpg', _back())
    add('gui/puzzleGame/szarfa.png', _sash())
    add('gui/puzzleGame/button.png', _button())
