"""Comic stories: the full-screen story pictures (1024 x 768), the speech
box's nine frame pieces and two tails, and the story panel.

The speech box is drawn by the story screen from nine pieces around the
box's rectangle: the middle fills the rectangle itself, the edges and corners
lie outside it (the left and top pieces overlap it by their last pixel
column or row). So the balloon's rounded outline is drawn around the
rectangle's corners."""
import math
import random

import scenes
import storykit as K
from storykit import Pic, person, dog, house, studio, bunting, balloon, confetti, firework, rosette
from svgkit import *

W, H = 1024, 768
PAPER = '#fffaf0'
EDGE = 24          # size of the frame pieces across the box edge
PADX = 12          # paper left and right of the rectangle, before the ink line
PADT = 17          # paper above it: the screen centres a text's measured height,
PADB = 7           # which counts one line more than is drawn, so texts sit high
INKW = 3.2
SHADOW = '#3b2414'


# ------------------------------------------------------------ comic frame

def _corner(dx, dy):
    """Corner piece; (dx, dy) is the direction away from the box (-1 or 1).
    The rectangle's corner sits at the piece's inner corner: on the last
    pixel's edge for left and top pieces (they overlap the middle by one
    pixel), on the first for right and bottom ones."""
    ox = EDGE - 1 if dx < 0 else 0
    oy = EDGE - 1 if dy < 0 else 0
    rx = PADX + INKW / 2.0
    ry = (PADT if dy < 0 else PADB) + INKW / 2.0
    body = ('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s" opacity="0.16"/>' % (fmt(ox + 3), fmt(oy + 3), fmt(rx + 1.6), fmt(ry + 1.6), SHADOW) +
            '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s" stroke="%s" stroke-width="%s"/>'
            % (fmt(ox), fmt(oy), fmt(rx), fmt(ry), PAPER, K.INK, fmt(INKW)))
    # paper fills the inner quarter completely, up to the piece's inner edges
    qx = 0 if dx < 0 else -1
    qy = 0 if dy < 0 else -1
    body += '<rect x="%s" y="%s" width="2" height="2" fill="%s"/>' % (fmt(ox + qx), fmt(oy + qy), PAPER)
    return doc(EDGE, EDGE, body)


def _edge(horizontal, sign, top=False):
    """Edge piece, 4 pixels long along the edge (the screen stretches it);
    sign -1 for the top or left edge."""
    L = 4
    pad = (PADT if sign < 0 else PADB) if horizontal else PADX
    o = EDGE - 1 if sign < 0 else 0           # the rectangle's edge in the piece
    i = o + sign * (pad + INKW / 2.0)          # the ink line's centre
    lo, hi = sorted((o + (1 if sign < 0 else 0), i))
    parts = []
    if sign > 0:
        parts.append((i + INKW / 2.0, 3.0, SHADOW, 0.16))
    parts.append((lo, hi - lo, PAPER, 1))
    parts.append((i - INKW / 2.0, INKW, K.INK, 1))
    body = ''
    for a, n, col, op in parts:
        if horizontal:
            body += '<rect x="0" y="%s" width="%d" height="%s" fill="%s" opacity="%s"/>' % (fmt(a), L, fmt(n), col, fmt(op))
        else:
            body += '<rect x="%s" y="0" width="%s" height="%d" fill="%s" opacity="%s"/>' % (fmt(a), fmt(n), L, col, fmt(op))
    return doc(L, EDGE, body) if horizontal else doc(EDGE, L, body)


def _speech_tail():
    """A pointed speech tail, drawn with its top-left at the anchor. Its top
    band (paper, 12 px) covers the box's lower ink line when the anchor is one
    pixel above the box's bottom; the point hangs 78 px below the anchor,
    12 px right of it."""
    w, h = 64, 80
    body = ('<path d="M8 11 Q22 38 12 78 Q34 40 44 11 Z" fill="%s" opacity="0.16" transform="translate(3 2)"/>'
            '<path d="M8 11 Q22 38 12 78 Q34 40 44 11" fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"/>'
            '<rect x="6.4" y="0" width="39.2" height="12" fill="%s"/>'
            % (SHADOW, PAPER, K.INK, fmt(INKW), PAPER))
    return doc(w, h, body)


def _thought_tail():
    """Three shrinking thought bubbles going down-left from the anchor."""
    w, h = 64, 80
    body = []
    for cx, cy, r in ((34, 22, 11), (22, 46, 8), (13, 66, 5.5)):
        body.append('<circle cx="%s" cy="%s" r="%s" fill="%s" opacity="0.16"/>' % (fmt(cx + 2.5), fmt(cy + 2.5), fmt(r + 1), SHADOW))
        body.append('<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="%s" stroke-width="%s"/>'
                    % (fmt(cx), fmt(cy), fmt(r), PAPER, K.INK, fmt(INKW * 0.85)))
    return doc(w, h, ''.join(body))


def _panel(pal):
    """The story panel: a small wooden plaque with a cream inset."""
    w, h = 360, 64
    wd = pal['wood']
    defs = (lin('pw', 0, 0, 0, 1, [(0, wd['light']), (1, wd['dark'])]) +
            lin('pc', 0, 0, 0, 1, [(0, pal['cream']), (1, shade(pal['cream'], 0.9))]))
    body = ('<path d="%s" fill="url(#pw)" stroke="%s" stroke-width="3"/>' % (rrect_path(2, 2, w - 4, h - 4, 16), pal['ink']) +
            '<path d="%s" fill="url(#pc)" stroke="%s" stroke-width="2"/>' % (rrect_path(10, 10, w - 20, h - 20, 10), shade(wd['dark'], 0.8)) +
            K.paw_icon(34, 31, 12, '#c98a3c') + K.paw_icon(w - 34, 31, 12, '#c98a3c'))
    return doc(w, h, body, defs)


def comic_pieces(add, pal):
    c = 'story/comic/'
    add(c + 'lewo-gora.png', _corner(-1, -1))
    add(c + 'prawo-gora.png', _corner(1, -1))
    add(c + 'lewo-Dol.png', _corner(-1, 1))
    add(c + 'prawo-dol.png', _corner(1, 1))
    add(c + 'gora.png', _edge(True, -1))
    add(c + 'dol.png', _edge(True, 1))
    add(c + 'lewo.png', _edge(False, -1))
    add(c + 'prawo.png', _edge(False, 1))
    add(c + 'srodek.png', doc(4, 4, '<rect width="4" height="4" fill="%s"/>' % PAPER))
    add(c + 'dziubek-1.png', _speech_tail())
    add(c + 'dziubek-2.png', _thought_tail())
    add('gui/story/panel.png', _panel(pal))


# ------------------------------------------------------------ backdrops

def outdoor(pic, rng, sky=('#5fb6ec', '#a9dcf7', '#e4f6ff'), sun=(860, 110), clouds=5, far='#8fc7a0', mid='#6fbf52',
            near='#66b84a', horizon=470, evening=False):
    pic.define('sky', lin('sky', 0, 0, 0, 1, [(i / float(len(sky) - 1), c) for i, c in enumerate(sky)]))
    pic.define('sun', rad('sun', 0.5, 0.5, 0.5, [(0, '#fff6c0', 0.95), (0.25, '#fff6c0', 0.5), (1, '#fff6c0', 0)]))
    pic.define('b2', blur('b2', 2))
    pic.define('vig', rad('vig', 0.5, 0.5, 0.75, [(0.62, '#000000', 0), (1, '#000000', 0.26)]))
    pic.add('<rect width="%d" height="%d" fill="url(#sky)"/>' % (W, H))
    if sun:
        pic.add('<circle cx="%d" cy="%d" r="240" fill="url(#sun)"/><circle cx="%d" cy="%d" r="42" fill="#fff6c0"/>'
                % (sun[0], sun[1], sun[0], sun[1]))
    for k in range(clouds):
        pic.add(scenes._cloud(rng, 80 + k * (W - 160) / max(1, clouds - 1) + rng.uniform(-40, 40), rng.uniform(70, 230),
                              rng.uniform(0.6, 1.1), '#ffffff' if not evening else '#ffd0b0', 0.9))
    d, farpts = scenes._ridge(rng, horizon - 10, 34)
    pic.add('<path d="%s" fill="%s" filter="url(#b2)"/>' % (d, mix(far, sky[-1], 0.35)))
    for _ in range(10):
        x = rng.uniform(0, W)
        pic.add(scenes._tree(rng, 'round', x, scenes._ridge_y(farpts, x) + 14, rng.uniform(0.25, 0.38), '#4f9e3a', 0.55, sky[-1]))
    d, midpts = scenes._ridge(rng, horizon + 50, 20)
    pic.add('<path d="%s" fill="%s"/>' % (d, mix(mid, sky[-1], 0.12)))
    return midpts


def street(pic, top=610, col='#e8d3a2'):
    pic.define('road', lin('road', 0, 0, 0, 1, [(0, shade(col, 1.04)), (1, shade(col, 0.86))]))
    pic.add('<rect x="0" y="%d" width="%d" height="%d" fill="url(#road)"/>' % (top, W, H - top))
    pic.add('<path d="M0 %d H%d" stroke="%s" stroke-width="6"/>' % (top, W, shade(col, 0.75)))
    rng = random.Random(top)
    for row in range(6):
        y = top + 14 + row * 26
        off = (row % 2) * 30
        for k in range(-1, 18):
            x = k * 60 + off + rng.uniform(-4, 4)
            pic.add('<rect x="%s" y="%s" width="52" height="18" rx="7" fill="%s" opacity="0.55"/>'
                    % (fmt(x), fmt(y), shade(col, 0.9 + rng.uniform(-0.04, 0.04))))


def vignette(pic):
    pic.add('<rect width="%d" height="%d" fill="url(#vig)"/>' % (W, H))


def interior(pic, wall='#ffe6d6', stripe='#ffd2c2', floor='#c98a3c'):
    pic.define('vig', rad('vig', 0.5, 0.5, 0.75, [(0.62, '#000000', 0), (1, '#000000', 0.26)]))
    pic.define('wall', lin('wall', 0, 0, 0, 1, [(0, shade(wall, 1.03)), (1, shade(wall, 0.92))]))
    pic.define('floor', lin('floor', 0, 0, 0, 1, [(0, shade(floor, 1.1)), (1, shade(floor, 0.75))]))
    pic.add('<rect width="%d" height="%d" fill="url(#wall)"/>' % (W, H))
    for k in range(0, W, 64):
        pic.add('<rect x="%d" y="0" width="30" height="560" fill="%s" opacity="0.6"/>' % (k, stripe))
    for k in range(0, W, 128):
        for j in range(0, 480, 120):
            pic.add('<g opacity="0.25">%s</g>' % K.paw_icon(k + 47, j + 60 + (k // 128 % 2) * 60, 11, '#c8453a'))
    # wainscot
    pic.add('<rect x="0" y="470" width="%d" height="100" fill="%s" stroke="%s" stroke-width="3"/>' % (W, '#f6d9b8', K.INK))
    for k in range(0, W, 96):
        pic.add('<rect x="%d" y="486" width="76" height="68" rx="6" fill="none" stroke="#c98a3c" stroke-width="2.5"/>' % (k + 10))
    pic.add('<rect x="0" y="462" width="%d" height="12" fill="#a06a38" stroke="%s" stroke-width="3"/>' % (W, K.INK))
    # floor boards
    pic.add('<rect x="0" y="570" width="%d" height="%d" fill="url(#floor)"/>' % (W, H - 570))
    for k in range(1, 8):
        y = 570 + k * k * 3.6
        pic.add('<path d="M0 %s H%d" stroke="#5a3215" stroke-opacity="0.35" stroke-width="2"/>' % (fmt(y), W))
    pic.add('<path d="M0 570 H%d" stroke="%s" stroke-width="4"/>' % (W, K.INK))


def window_frame(pic, x, y, w, h, sky='#a9dcf7'):
    pic.add('<rect x="%s" y="%s" width="%s" height="%s" rx="8" fill="%s" stroke="%s" stroke-width="6"/>' % (x, y, w, h, pic.vfill(sky, '#7fc3ef', '#e4f6ff'), K.INK))
    pic.add('<path d="M%s %s v%s M%s %s h%s" stroke="%s" stroke-width="5"/>' % (x + w / 2, y, h, x, y + h / 2, w, '#f6e7c4'))
    pic.add('<path d="M%s %s l%s 0 l-%s %s Z" fill="#ffffff" opacity="0.4"/>' % (x + 8, y + 8, w * 0.3, w * 0.3, h * 0.4))
    pic.add('<rect x="%s" y="%s" width="%s" height="%s" rx="8" fill="none" stroke="#f6e7c4" stroke-width="4"/>' % (x - 4, y - 4, w + 8, h + 8))
    # curtains tied back at both sides, and the rail
    for side in (-1, 1):
        cx = x if side < 0 else x + w
        out = side * 34
        pic.add('<path d="M%s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s L%s %s Z" fill="%s" stroke="%s" stroke-width="3" stroke-linejoin="round"/>'
                % (fmt(cx - out * 0.6), fmt(y - 20), fmt(cx + side * -30), fmt(y + h * 0.3), fmt(cx - side * 10), fmt(y + h * 0.5),
                   fmt(cx - side * 4), fmt(y + h * 0.8), fmt(cx - out * 0.4), fmt(y + h + 30), fmt(cx + out * 0.4), fmt(y + h + 36),
                   fmt(cx + out), fmt(y + h + 30), fmt(cx + out), fmt(y - 20), pic.vfill('#ff8fb4', '#ffb0c8', '#e06a90'), K.INK))
        pic.add('<path d="M%s %s q%s 6 %s 0" fill="none" stroke="%s" stroke-width="5" stroke-linecap="round"/>'
                % (fmt(cx - side * 8), fmt(y + h * 0.5), fmt(out * 0.6), fmt(out * 1.1), '#ffd93a'))
    pic.add('<path d="M%s %s H%s" stroke="%s" stroke-width="10" stroke-linecap="round"/><path d="M%s %s H%s" stroke="#c98a3c" stroke-width="5" stroke-linecap="round"/>'
            % (fmt(x - 50), fmt(y - 22), fmt(x + w + 50), K.INK, fmt(x - 50), fmt(y - 22), fmt(x + w + 50)))


def grooming_table(pic, x, base, w=300):
    f = K.Fig(pic, x, base)
    f.shadow(w * 0.55, 0.18)
    for lx in (-w * 0.38, w * 0.38):
        f.shape([('M', lx - 7, -150), ('L', lx + 7, -150), ('L', lx + 9, 0), ('L', lx - 9, 0), ('Z',)], '#9aa3ad')
    f.shape([('M', -w / 2, -170), ('L', w / 2, -170), ('L', w / 2, -148), ('L', -w / 2, -148), ('Z',)], '#3f8cff')
    f.shape([('M', -w / 2 + 10, -176), ('L', w / 2 - 10, -176), ('L', w / 2, -168), ('L', -w / 2, -168), ('Z',)], '#7ab0ff', sw=2)


def shelf(pic, x, y, w, items):
    pic.add('<rect x="%s" y="%s" width="%s" height="12" rx="3" fill="%s" stroke="%s" stroke-width="3"/>' % (x, y, w, pic.vfill('#a06a38'), K.INK))
    cx = x + 18
    for kind, col in items:
        f = K.Fig(pic, cx, y)
        if kind == 'bottle':
            f.shape([('M', -10, 0), ('L', -10, -38), ('Q', -10, -46, -4, -48), ('L', -4, -56), ('L', 4, -56), ('L', 4, -48),
                     ('Q', 10, -46, 10, -38), ('L', 10, 0), ('Z',)], col)
            f.ell(-4, -30, 2.5, 7, '#ffffff', flat=True, stroke=False, op=0.6)
            cx += 30
        elif kind == 'roll':
            f.ell(0, -18, 18, 18, col)
            f.ell(0, -18, 6, 6, shade(col, 0.7), sw=1.5)
            cx += 42
        elif kind == 'hat':
            f.shape([('M', -18, -2), ('Q', 0, -8, 18, -2), ('Q', 0, 4, -18, -2), ('Z',)], col)
            f.shape([('M', -10, -4), ('L', -9, -34), ('L', 9, -34), ('L', 10, -4), ('Z',)], col)
            cx += 44
        elif kind == 'box':
            f.shape([('M', -16, 0), ('L', -16, -28), ('L', 16, -28), ('L', 16, 0), ('Z',)], col)
            f.stroke([('M', 0, -28), ('L', 0, 0)], '#ffffff', 4, op=0.8)
            cx += 40


def mirror(pic, x, y, w, h):
    pic.add('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s" stroke="%s" stroke-width="4"/>'
            % (x - 10, y - 10, w + 20, h + 20, w / 2 + 10, pic.vfill('#f2c16e'), K.INK))
    pic.add('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s" stroke="%s" stroke-width="3"/>'
            % (x, y, w, h, w / 2, pic.vfill('#cfe6f2', '#e8f6ff', '#a8c8dc'), K.INK))
    pic.add('<path d="M%s %s l%s %s M%s %s l%s %s" stroke="#ffffff" stroke-width="8" stroke-linecap="round" opacity="0.6"/>'
            % (x + w * 0.25, y + h * 0.3, w * 0.3, -h * 0.12, x + w * 0.3, y + h * 0.45, w * 0.2, -h * 0.08))


def sparkle(pic, x, y, r, col='#fff6c0'):
    pic.add('<path d="%s" fill="%s" stroke="#c98a3c" stroke-width="1.5"/>' % (star_path(x, y, r, r * 0.28, 4, -90), col))


def crowd_heads(pic, rng, y, n, scale=1.0, haze=0.0, sky='#ffffff'):
    """A row of spectators seen from behind, soft and simple."""
    cols = ['#3f8cff', '#ef4a43', '#5fcd48', '#ff9a24', '#a65ef0', '#1ccfc2', '#f3e6c6']
    hairs = ['#3a2414', '#6b3b1f', '#c98a3c', '#2b2b3a', '#8a5a2e', '#d9d9d9']
    step = W / float(n)
    for k in range(n):
        x = k * step + rng.uniform(0, step * 0.4)
        s = scale * rng.uniform(0.9, 1.1)
        body = mix(rng.choice(cols), sky, haze)
        hair = mix(rng.choice(hairs), sky, haze)
        f = K.Fig(pic, x, y, s)
        f.shape([('M', -46, 60), ('Q', -50, 0, 0, -4), ('Q', 50, 0, 46, 60), ('Z',)], body)
        skin = mix(K.SKINS[rng.randrange(5)], sky, haze)
        for ex in (-30, 30):
            f.ell(ex, -32, 7, 10, shade(skin, 0.92))
        f.ell(0, -36, 30, 33, hair)
        f.stroke([('M', -14, -58), ('Q', -4, -48, -10, -34)], shade(hair, 1.4), 3, op=0.5)
        f.shape([('M', -16, -4), ('L', -14, 4), ('L', 14, 4), ('L', 16, -4), ('Z',)], shade(skin, 0.85), sw=1.5)
        if rng.random() < 0.4:
            # a pennant waved on a stick
            side = rng.choice((-1, 1))
            flag = rng.choice(cols)
            f.stroke([('M', side * 36, 0), ('L', side * 44, -120)], '#8a5a2e', 5)
            f.shape([('M', side * 44, -120), ('L', side * 44 + 52, -106), ('L', side * 43, -90), ('Z',)], flag)
            f.ell(side * 36, 0, 10, 10, mix(K.SKINS[rng.randrange(5)], sky, haze))


# ------------------------------------------------------------ story 1

HERO = dict(skin=K.SKINS[0], hair='#8a4a22', style='short', shirt='#5fcd48', legs='#3f6fb8', shoes='#c8453a',
            extras=('apron', ('beret', '#ff6fa8'), 'beret'))


def hero(pic, x, y, s=1.0, f=1, **kw):
    args = dict(HERO)
    args.update(kw)
    return person(pic, x, y, s, f, **args)


def s1_town(pic):
    rng = random.Random(101)
    outdoor(pic, rng, horizon=400)
    house(pic, 20, 600, 170, 170, '#f6d9b8', '#c8453a', windows=2, chimney=True)
    house(pic, 215, 600, 150, 200, '#cfe6f2', '#3f6fb8', windows=2)
    house(pic, 390, 600, 190, 150, '#ffe08a', '#a65ef0', windows=2, chimney=True)
    house(pic, 605, 600, 160, 210, '#ffd2c2', '#5a8a3a', windows=2)
    house(pic, 790, 600, 200, 160, '#e4f0d0', '#c4683a', windows=2, chimney=True)
    for x in (200, 590, 780):
        pic.add(scenes._tree(rng, 'round', x, 612, 0.8, '#4f9e3a'))
    street(pic, 600)
    # dog walkers
    person(pic, 130, 740, 0.62, 1, skin=K.SKINS[2], hair='#2b2b3a', style='short', shirt='#ff9a24', legs='#5a3a2a', arms='hold',
           hand_item=K.item_leash((243, -79)), extras=('glasses',))
    dog(pic, 250, 742, 0.62, 1, body='#f3e6c6', patch='#8a5a2e', ears='flop', tail='up')
    person(pic, 880, 735, 0.6, -1, skin=K.SKINS[4], hair='#c98a3c', style='pony', shirt='#a65ef0', skirt='#3f8cff', arms='hold',
           hand_item=K.item_leash((292, -63)))
    dog(pic, 730, 738, 0.5, -1, body='#2b2b3a', belly='#d9c6a6', ears='point', tail='curl', costume=('collar',))
    dog(pic, 545, 690, 0.4, 1, body='#c98a3c', ears='point', fluffy=True, legs=0.7, tail='curl', costume=(('bow', '#3f8cff'),))
    person(pic, 470, 688, 0.42, 1, skin=K.SKINS[1], hair='#d9d9d9', style='bald', shirt='#1ccfc2', legs='#5e3a1c', arms='wave',
           extras=('moustache',))
    vignette(pic)


def s1_dream(pic):
    rng = random.Random(102)
    outdoor(pic, rng, horizon=380, clouds=3)
    street(pic, 640)
    studio(pic, 470, 650, 440, 330, open_=False)
    pic.add(scenes._tree(rng, 'round', 90, 650, 1.2, '#4f9e3a'))
    hero(pic, 300, 735, 1.05, 1, arms='hold', hand_item=K.item_key, mouth='smile')
    dog(pic, 150, 740, 0.55, 1, body='#ffffff', patch='#c98a3c', ears='flop', sit=True, costume=('collar',))
    vignette(pic)


def s1_opening(pic):
    rng = random.Random(103)
    outdoor(pic, rng, horizon=380, clouds=3)
    street(pic, 640)
    studio(pic, 300, 650, 440, 330, open_=True, festive=True)
    for x, y, c in ((250, 230, '#ef4a43'), (210, 270, '#ffd93a'), (900, 200, '#3f8cff'), (950, 244, '#a65ef0')):
        balloon(pic, x, y, 26, c)
    # the ribbon across the door, just cut
    pic.add('<path d="M560 560 Q600 590 640 570 M660 572 Q700 600 745 566" fill="none" stroke="#ef4a43" stroke-width="9" stroke-linecap="round"/>')
    hero(pic, 520, 740, 1.0, 1, arms='cheer', mouth='open', hand_item=K.item_scissors)
    person(pic, 860, 740, 0.72, -1, skin=K.SKINS[3], hair='#2b2b3a', style='curly', shirt='#ff9a24', legs='#2f4a78', arms='cheer', mouth='open')
    person(pic, 150, 745, 0.7, 1, skin=K.SKINS[4], hair='#d9d9d9', style='bun', shirt='#a65ef0', skirt='#5e3a1c', arms='cheer',
           mouth='open', extras=('glasses', 'cardigan'))
    dog(pic, 260, 748, 0.52, 1, body='#c98a3c', ears='point', tail='curl', costume=(('partyhat', '#ef4a43'),))
    dog(pic, 960, 748, 0.45, -1, body='#f3e6c6', patch='#2b2b3a', ears='flop', tail='up', sit=True)
    pic.add(confetti(rng, 90, 0, 0, W, 560))
    vignette(pic)


BISCUIT = dict(body='#b8b0a0', belly='#e8e0d0', ears='flop', fluffy=True, tail='curl')


def s1_client(pic):
    rng = random.Random(104)
    outdoor(pic, rng, horizon=380, clouds=3)
    street(pic, 640)
    studio(pic, 40, 650, 440, 330, open_=True)
    pic.add(scenes._tree(rng, 'round', 960, 650, 1.1, '#4f9e3a'))
    hero(pic, 300, 740, 0.95, 1, arms='wave', mouth='open')
    person(pic, 790, 742, 1.0, -1, skin=K.SKINS[0], hair='#d9d9d9', style='bun', shirt='#a65ef0', skirt='#5e3a1c', arms='hold',
           extras=('glasses', 'flowerhat', 'cardigan'), hand_item=K.item_leash((250, -62)), mouth='smile')
    dx = 575
    dog(pic, dx, 748, 0.8, -1, look=0, tongue=True, **BISCUIT)
    # mud on the scruffy dog and a puddle-brown shadow
    for ox, oy, r in ((-10, -80, 12), (24, -88, 9), (-34, -58, 8), (16, -110, 7), (-52, -112, 6)):
        pic.add('<ellipse cx="%s" cy="%s" rx="%d" ry="%s" fill="#6b4a2a" opacity="0.75"/>' % (fmt(dx + ox), fmt(748 + oy), r, fmt(r * 0.7)))
    pic.add('<ellipse cx="%d" cy="748" rx="80" ry="10" fill="#6b4a2a" opacity="0.35"/>' % dx)
    vignette(pic)


def s1_salon(pic):
    rng = random.Random(105)
    interior(pic)
    window_frame(pic, 60, 120, 220, 240)
    mirror(pic, 720, 110, 200, 300)
    shelf(pic, 340, 210, 320, [('bottle', '#ff8fb4'), ('bottle', '#1ccfc2'), ('roll', '#a65ef0'), ('hat', '#3f8cff'), ('roll', '#ffd93a'),
                               ('box', '#ef4a43'), ('bottle', '#5fcd48')])
    shelf(pic, 340, 330, 320, [('roll', '#ef4a43'), ('hat', '#2b2b3a'), ('box', '#3f8cff'), ('roll', '#5fcd48'), ('bottle', '#ff9a24'),
                               ('roll', '#ff8fb4')])
    grooming_table(pic, 520, 700, 320)
    dog(pic, 520, 528, 0.9, 1, sit=True, costume=(('bow', '#ff6fa8'), ('scarf', '#3f8cff')), **dict(BISCUIT, body='#f4efe4', belly='#ffffff'))
    for x, y, r in ((430, 380, 12), (640, 330, 16), (600, 430, 9), (440, 470, 10)):
        sparkle(pic, x, y, r)
    hero(pic, 250, 745, 1.05, 1, arms='both', hand_item=K.item_comb, mouth='open')
    person(pic, 850, 750, 1.0, -1, skin=K.SKINS[0], hair='#d9d9d9', style='bun', shirt='#a65ef0', skirt='#5e3a1c', arms='cheer',
           extras=('glasses', 'flowerhat', 'cardigan'), mouth='open')
    vignette(pic)


# ------------------------------------------------------------ story 3

def poster(pic, x, y, w, h):
    pic.add('<rect x="%s" y="%s" width="%s" height="%s" fill="%s" stroke="%s" stroke-width="3" transform="rotate(-2 %s %s)"/>'
            % (x, y, w, h, pic.vfill('#fff6e0', '#fffaf0', '#f0dfbc'), K.INK, x + w / 2, y + h / 2))
    pic.add('<g transform="rotate(-2 %s %s)">' % (x + w / 2, y + h / 2))
    pic.add('<rect x="%s" y="%s" width="%s" height="%s" fill="#3f8cff" opacity="0.9"/>' % (x + 10, y + 10, w - 20, h * 0.16))
    pic.add(bunting(x + 10, y + 10 + h * 0.16, x + w - 10, y + 10 + h * 0.16, 6, 7))
    dog(pic, x + w * 0.45, y + h * 0.86, 0.72 * w / 220, 1, body='#d9a45c', ears='point', sit=True, costume=(('crown', None), ('cape', '#ef4a43')),
        tongue=True)
    pic.add(rosette(x + w * 0.8, y + h * 0.55, 22, '#3f8cff'))
    for k in range(3):
        sparkle(pic, x + 30 + k * 26, y + h * 0.4 + (k % 2) * 20, 8)
    pic.add('</g>')
    for px, py in ((x + 12, y + 8), (x + w - 12, y + 4)):
        pic.add('<circle cx="%s" cy="%s" r="6" fill="#ef4a43" stroke="%s" stroke-width="2"/>' % (px, py, K.INK))


def s3_poster(pic):
    rng = random.Random(301)
    outdoor(pic, rng, horizon=360, clouds=4)
    house(pic, -20, 560, 200, 180, '#e4f0d0', '#c4683a', windows=2)
    house(pic, 840, 560, 200, 190, '#ffd2c2', '#3f6fb8', windows=2, chimney=True)
    street(pic, 560)
    # notice board
    pic.add('<rect x="330" y="150" width="24" height="440" fill="%s" stroke="%s" stroke-width="3"/>' % (pic.vfill('#8a5a2e'), K.INK))
    pic.add('<rect x="670" y="150" width="24" height="440" fill="%s" stroke="%s" stroke-width="3"/>' % (pic.vfill('#8a5a2e'), K.INK))
    pic.add('<rect x="300" y="130" width="424" height="330" rx="10" fill="%s" stroke="%s" stroke-width="4"/>' % (pic.vfill('#a06a38'), K.INK))
    pic.add('<rect x="318" y="148" width="388" height="294" rx="6" fill="#c9a06a" stroke="%s" stroke-width="2"/>' % K.INK)
    pic.add('<path d="M290 128 L512 70 L734 128 Z" fill="%s" stroke="%s" stroke-width="4" stroke-linejoin="round"/>' % (pic.vfill('#c8453a'), K.INK))
    poster(pic, 402, 160, 220, 270)
    # small notes around
    for nx, ny, c in ((330, 170, '#fff6c0'), (640, 180, '#cfe9ff'), (340, 360, '#ffd6e0')):
        pic.add('<rect x="%d" y="%d" width="52" height="60" fill="%s" stroke="%s" stroke-width="2" transform="rotate(4 %d %d)"/>' % (nx, ny, c, K.INK, nx, ny))
        for k in range(3):
            pic.add('<path d="M%d %d h36" stroke="#8a8a8a" stroke-width="2"/>' % (nx + 8, ny + 16 + k * 12))
    crowd_heads(pic, random.Random(7), 716, 8, 1.25)
    person(pic, 160, 772, 0.95, 1, skin=K.SKINS[1], hair='#2b2b3a', style='short', shirt='#ef4a43', legs='#2f4a78', arms='point', mouth='o')
    dog(pic, 880, 760, 0.8, -1, body='#8a5a2e', ears='flop', tail='up', sit=True, costume=('collar',), tongue=False)
    vignette(pic)


def s3_mayor(pic):
    rng = random.Random(302)
    outdoor(pic, rng, horizon=360, clouds=4)
    house(pic, 20, 540, 180, 160, '#cfe6f2', '#a65ef0', windows=2)
    house(pic, 820, 540, 190, 170, '#ffe08a', '#c8453a', windows=2, chimney=True)
    street(pic, 540)
    # podium with bunting
    pic.add('<path d="M300 610 L724 610 L700 450 L324 450 Z" fill="%s" stroke="%s" stroke-width="4" stroke-linejoin="round"/>'
            % (pic.vfill('#a06a38'), K.INK))
    pic.add(bunting(310, 460, 714, 460, 10, 12))
    person(pic, 512, 450, 0.95, 1, skin=K.SKINS[0], hair='#8a8a8a', style='bald', shirt='#2b3a6a', legs='#2b2b3a', arms='hold',
           extras=('tophat', 'moustache', 'sash'), hand_item=K.item_megaphone, mouth='open')
    for x, y, c in ((150, 220, '#ffd93a'), (190, 260, '#ef4a43'), (880, 230, '#5fcd48')):
        balloon(pic, x, y, 24, c)
    # a dog standing up behind the crowd to see better
    dog(pic, 830, 616, 0.7, -1, body='#f3e6c6', patch='#c98a3c', ears='point', tail='curl')
    crowd_heads(pic, random.Random(8), 700, 8, 1.3)
    pic.add(confetti(rng, 50, 200, 60, 820, 380))
    vignette(pic)


OWNERS = [
    dict(skin=K.SKINS[2], hair='#2b2b3a', style='curly', shirt='#ff9a24', legs='#2f4a78'),
    dict(skin=K.SKINS[4], hair='#c98a3c', style='pony', shirt='#1ccfc2', skirt='#a65ef0'),
    dict(skin=K.SKINS[1], hair='#6b3b1f', style='short', shirt='#ef4a43', legs='#5e3a1c', extras=('glasses',)),
    dict(skin=K.SKINS[0], hair='#d9d9d9', style='bun', shirt='#5fcd48', skirt='#2f4a78', extras=('glasses', 'cardigan')),
    dict(skin=K.SKINS[3], hair='#3a2414', style='bob', shirt='#ffd93a', skirt='#ef4a43'),
]
DOGS = [
    dict(body='#d9a45c', ears='point', tail='curl'),
    dict(body='#ffffff', patch='#2b2b3a', ears='flop', tail='up'),
    dict(body='#8a5a2e', ears='flop', tail='wag', long=1.4, legs=0.6),
    dict(body='#f3e6c6', ears='flop', fluffy=True, tail='curl'),
    dict(body='#2b2b3a', belly='#d9c6a6', ears='point', tail='up', legs=1.3),
    dict(body='#c98a3c', ears='round', tail='curl', fluffy=True, legs=0.8),
]


def s3_queue(pic):
    rng = random.Random(303)
    outdoor(pic, rng, horizon=380, clouds=3)
    street(pic, 640)
    studio(pic, 560, 650, 430, 330, open_=True)
    # a long queue walking up to the door
    spots = [(880, 700, 0.72), (680, 712, 0.78), (480, 724, 0.84), (280, 736, 0.9), (80, 748, 0.96)]
    for k, (x, y, s) in enumerate(spots[::-1]):
        k2 = len(spots) - 1 - k
        o = dict(OWNERS[k2])
        arms = 'wave' if k2 in (1, 3) else 'hold'
        person(pic, x, y, s, 1, arms=arms, mouth='open' if k2 % 2 == 0 else 'smile', **o)
        dog(pic, x + 95 * s, y + 6, 0.55 * s, 1, **DOGS[k2])
    vignette(pic)


def s3_ready(pic):
    rng = random.Random(304)
    interior(pic, wall='#e6f0ff', stripe='#d6e4fb')
    window_frame(pic, 700, 110, 240, 250)
    # clothes rack with costumes
    pic.add('<path d="M80 200 H520 M100 200 V570 M500 200 V570" stroke="%s" stroke-width="10" stroke-linecap="round"/>' % K.INK)
    pic.add('<path d="M80 200 H520 M100 200 V570 M500 200 V570" stroke="#c9d3df" stroke-width="5" stroke-linecap="round"/>')
    for k, c in enumerate(['#ef4a43', '#3f8cff', '#a65ef0', '#ffd93a', '#5fcd48', '#ff8fb4', '#1ccfc2']):
        x = 130 + k * 56
        pic.add('<path d="M%d 200 q-8 -14 4 -18" fill="none" stroke="%s" stroke-width="3"/>' % (x, K.INK))
        pic.add('<path d="M%d 204 l-26 16 l-6 %d q32 10 64 0 l-6 -%d l-26 -16 Z" fill="%s" stroke="%s" stroke-width="3" stroke-linejoin="round"/>'
                % (x, 90 + (k % 3) * 20, 90 + (k % 3) * 20, pic.fill(c), K.ink_of(c)))
        pic.add('<path d="M%d 230 v%d" stroke="#ffffff" stroke-opacity="0.5" stroke-width="3" stroke-dasharray="6 6"/>' % (x, 60 + (k % 3) * 20))
    hero(pic, 620, 748, 1.25, -1, arms='cheer', hand_item=K.item_scissors, mouth='open', brows='down')
    dog(pic, 220, 750, 0.75, 1, sit=True, costume=(('partyhat', '#ffd93a'),), **DOGS[0])
    dog(pic, 390, 752, 0.6, 1, costume=(('bow', '#ef4a43'),), **DOGS[1])
    dog(pic, 900, 752, 0.7, -1, sit=True, costume=('glasses',), **DOGS[3])
    # ribbons and fabric on the floor
    pic.add('<path d="M40 730 q60 -30 120 0 t120 0" fill="none" stroke="#ff6fa8" stroke-width="8" stroke-linecap="round"/>')
    pic.add('<path d="M700 720 q40 -20 80 0 t80 0" fill="none" stroke="#3f8cff" stroke-width="8" stroke-linecap="round"/>')
    for x, y, r in ((560, 180, 14), (700, 400, 10), (470, 380, 12)):
        sparkle(pic, x, y, r)
    vignette(pic)


# ------------------------------------------------------------ story 2

def stage_back(pic, rng, evening=False):
    """The show ground: a striped tent, a stage with curtains and a runway."""
    sky = ('#5fb6ec', '#a9dcf7', '#e4f6ff') if not evening else ('#3d2f73', '#c25a78', '#ff9a56')
    outdoor(pic, rng, sky=sky, horizon=360, clouds=3, sun=None if evening else (900, 90))
    # tent
    pic.add('<path d="M120 560 L120 250 L512 110 L904 250 L904 560 Z" fill="%s" stroke="%s" stroke-width="4" stroke-linejoin="round"/>'
            % (pic.vfill('#fff6ea'), K.INK))
    for k in range(8):
        x0 = 120 + k * 98
        pic.add('<path d="M%d 250 L512 110 L%d 250 V560 H%d Z" fill="#ef4a43" opacity="0.9"/>' % (x0, x0 + 49, x0) if k % 2 == 0 else '')
    pic.add('<path d="M120 250 L512 110 L904 250" fill="none" stroke="%s" stroke-width="4" stroke-linejoin="round"/>' % K.INK)
    pic.add('<path d="M512 110 V70" stroke="%s" stroke-width="5"/><path d="M512 72 l40 12 l-40 12 Z" fill="#ffd93a" stroke="%s" stroke-width="3"/>'
            % (K.INK, K.INK))
    for k in range(9):
        x = 120 + k * 98
        pic.add('<path d="M%d 250 q49 40 98 0" fill="%s" stroke="%s" stroke-width="3"/>' % (x, '#ffd93a' if k % 2 else '#3f8cff', K.INK) if k < 8 else '')
    # stage opening with curtains
    pic.add('<rect x="250" y="300" width="524" height="260" fill="#4a2040"/>')
    pic.define('spot', rad('spot', 0.5, 0.4, 0.6, [(0, '#fff6c0', 0.55), (1, '#fff6c0', 0)]))
    pic.add('<ellipse cx="512" cy="450" rx="260" ry="160" fill="url(#spot)"/>')
    for side in (-1, 1):
        x = 250 if side < 0 else 774
        d = ('M%d 300 L%d 300 Q%d 420 %d 560 L%d 560 Z' % (x, x - side * -110, x - side * -60, x - side * -30, x)) if False else ''
        pic.add('<path d="M%d 300 H%d Q%d 430 %d 560 H%d Z" fill="%s" stroke="%s" stroke-width="3"/>'
                % (x, x + side * -120, x + side * -70, x + side * -20, x, pic.vfill('#c8453a', '#e05a4a', '#8a2020'), K.INK))
        for k in range(1, 4):
            pic.add('<path d="M%d 300 Q%d 430 %d 560" fill="none" stroke="#6a1a1a" stroke-opacity="0.4" stroke-width="3"/>'
                    % (x + side * -30 * k, x + side * -20 * k, x + side * -5 * k))
    pic.add('<path d="M240 300 H784" stroke="%s" stroke-width="14"/><path d="M240 300 H784" stroke="#ffd93a" stroke-width="8"/>' % K.INK)
    pic.add(bunting(250, 304, 774, 304, 14, 14))
    # stage floor
    pic.add('<path d="M180 560 H844 L900 620 H124 Z" fill="%s" stroke="%s" stroke-width="4" stroke-linejoin="round"/>' % (pic.vfill('#c98a3c'), K.INK))


def s2_grounds(pic):
    rng = random.Random(201)
    stage_back(pic, rng)
    street(pic, 610, '#9fd07a')
    for x, y, c in ((70, 200, '#ef4a43'), (110, 240, '#ffd93a'), (940, 190, '#3f8cff'), (970, 250, '#a65ef0'), (60, 300, '#5fcd48')):
        balloon(pic, x, y, 26, c)
    dog(pic, 340, 560, 0.5, 1, costume=(('bow', '#ff6fa8'),), **DOGS[1])
    dog(pic, 475, 556, 0.55, 1, sit=True, costume=(('bow', '#3f8cff'),), **DOGS[3])
    dog(pic, 610, 560, 0.5, -1, costume=(('bow', '#ffd93a'),), **DOGS[0])
    crowd_heads(pic, random.Random(9), 712, 9, 1.25)
    pic.add(confetti(rng, 70, 0, 0, W, 480))
    vignette(pic)


def s2_parade(pic):
    rng = random.Random(202)
    stage_back(pic, rng)
    street(pic, 610, '#9fd07a')
    # the runway towards the viewer
    pic.add('<path d="M380 600 H644 L760 768 H264 Z" fill="%s" stroke="%s" stroke-width="4"/>' % (pic.vfill('#c8453a', '#d9504a', '#a02a2a'), K.INK))
    pic.add('<path d="M400 600 L300 768 M624 600 L724 768" stroke="#ffd93a" stroke-width="5"/>')
    dog(pic, 300, 560, 0.6, 1, costume=(('tophat', None), ('scarf', '#ef4a43')), **DOGS[2])
    dog(pic, 470, 565, 0.62, 1, costume=(('crown', None), ('cape', '#a65ef0')), **DOGS[0])
    dog(pic, 640, 568, 0.6, -1, costume=(('bow', '#ff6fa8'), 'glasses'), **DOGS[3])
    dog(pic, 770, 560, 0.55, -1, costume=(('partyhat', '#5fcd48'), ('scarf', '#ffd93a')), **DOGS[4])
    dog(pic, 512, 740, 1.05, 1, costume=(('cape', '#3f8cff'), ('flower', '#ff8fb4')), sit=True, **DOGS[1])
    for x, y, r in ((380, 380, 14), (620, 360, 12), (700, 460, 10), (330, 470, 9)):
        sparkle(pic, x, y, r)
    crowd_heads(pic, random.Random(10), 715, 3, 1.2)
    pic.add(confetti(rng, 50, 0, 0, W, 420))
    vignette(pic)


def s2_prize(pic):
    rng = random.Random(203)
    stage_back(pic, rng)
    street(pic, 610, '#9fd07a')
    person(pic, 300, 600, 0.95, 1, skin=K.SKINS[3], hair='#2b2b3a', style='bob', shirt='#2b3a6a', skirt='#2b2b3a', arms='hold',
           extras=('glasses',), hand_item=K.item_clipboard, mouth='open')
    hero(pic, 640, 600, 1.0, -1, arms='cheer', hand_item=K.item_trophy, mouth='open')
    for k, d in enumerate(DOGS[:4]):
        costume = [(('crown', None),), (('bow', '#ef4a43'),), (('tophat', None),), (('partyhat', '#3f8cff'),)][k]
        dog(pic, 140 + k * 240, 760, 0.7, 1 if k < 2 else -1, costume=costume, sit=k % 2 == 1, **d)
    pic.add(confetti(rng, 120, 0, 0, W, 620))
    vignette(pic)


def s2_success(pic):
    rng = random.Random(204)
    outdoor(pic, rng, horizon=380, clouds=3)
    street(pic, 640)
    studio(pic, 300, 650, 440, 330, open_=True, festive=True)
    # a gold star on the sign
    pic.add('<path d="%s" fill="#ffd23a" stroke="%s" stroke-width="3"/>' % (star_path(740, 300, 34, 15), K.INK))
    pic.add(rosette(330, 560, 18, '#3f8cff'))
    person(pic, 60, 700, 0.55, 1, arms='hold', **OWNERS[0])
    dog(pic, 120, 704, 0.32, 1, **DOGS[4])
    person(pic, 230, 704, 0.58, 1, arms='wave', **OWNERS[3])
    person(pic, 150, 745, 0.85, 1, arms='hold', mouth='open', **OWNERS[4])
    dog(pic, 60, 750, 0.5, 1, costume=(('bow', '#ffd93a'),), **DOGS[5])
    person(pic, 880, 745, 0.85, -1, arms='wave', mouth='smile', **OWNERS[2])
    # a cat, waiting politely
    f = K.Fig(pic, 960, 748, 0.7, -1)
    f.shadow(30)
    f.shape([('M', -22, 0), ('Q', -30, -60, 0, -64), ('Q', 30, -60, 22, 0), ('Z',)], '#ff9a24')
    f.line([('M', -20, -6), ('Q', -50, -10, -44, -50)], '#ff9a24', 8)
    f.ell(0, -84, 24, 22, '#ff9a24')
    f.shape([('M', -20, -96), ('L', -16, -122), ('L', -4, -104), ('Z',)], '#ff9a24')
    f.shape([('M', 20, -96), ('L', 16, -122), ('L', 4, -104), ('Z',)], '#ff9a24')
    for ex in (-8, 8):
        f.ell(ex, -86, 3.5, 5, '#2b1a10', flat=True, stroke=False)
    f.stroke([('M', -4, -76), ('Q', 0, -72, 4, -76)], '#6a2a1a', 2)
    hero(pic, 540, 740, 0.95, 1, arms='wave', mouth='open')
    vignette(pic)


def s2_night(pic):
    rng = random.Random(205)
    sky = ('#0b1633', '#1d3566', '#4a5a9a')
    pic.define('sky', lin('sky', 0, 0, 0, 1, [(0, sky[0]), (0.6, sky[1]), (1, sky[2])]))
    pic.define('vig', rad('vig', 0.5, 0.5, 0.75, [(0.62, '#000000', 0), (1, '#000000', 0.3)]))
    pic.define('b2', blur('b2', 2))
    pic.add('<rect width="%d" height="%d" fill="url(#sky)"/>' % (W, H))
    for _ in range(120):
        pic.add('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" opacity="%s"/>'
                % (fmt(rng.uniform(0, W)), fmt(rng.uniform(0, 420)), fmt(rng.uniform(0.6, 1.8)), fmt(rng.uniform(0.3, 0.9))))
    pic.define('glow', rad('glow', 0.5, 0.5, 0.5, [(0, '#ffffff', 0.9), (0.35, '#fff6c0', 0.45), (1, '#fff6c0', 0)]))
    pic.add(firework(210, 190, 95, '#ff6fa8'))
    pic.add(firework(610, 200, 62, '#ffd93a', 14))
    pic.add(firework(830, 170, 105, '#1ccfc2', 18))
    pic.add(firework(360, 250, 42, '#a65ef0', 12))
    # town lights below the hill
    for k in range(12):
        x = 30 + k * 85
        hh = 60 + (k * 37) % 50
        pic.add('<rect x="%d" y="%d" width="70" height="%d" fill="#23324f"/>' % (x, 520 - hh, hh + 40))
        pic.add('<path d="M%d %d l35 -24 l35 24 Z" fill="#1c2a44"/>' % (x, 520 - hh))
        for j in range(2):
            pic.add('<rect x="%d" y="%d" width="14" height="14" fill="#ffd97a" opacity="0.85"/>' % (x + 12 + j * 32, 540 - hh))
    d, pts = scenes._ridge(random.Random(5), 600, 26)
    pic.add('<path d="%s" fill="#1c3a47"/>' % d)
    # hero and dogs on the hill, lit by the fireworks
    hero(pic, 512, 700, 0.9, 1, arms='wave', mouth='open')
    dog(pic, 380, 705, 0.6, 1, sit=True, costume=(('partyhat', '#ffd93a'),), **DOGS[0])
    dog(pic, 650, 708, 0.55, -1, costume=(('bow', '#ff6fa8'),), **DOGS[1])
    dog(pic, 760, 712, 0.5, -1, sit=True, costume=(('crown', None),), **DOGS[3])
    dog(pic, 260, 712, 0.5, 1, costume=(('scarf', '#ef4a43'),), **DOGS[2])
    defs_ff = rad('ff', 0.5, 0.5, 0.5, [(0, '#fffbc0'), (0.3, '#ffe860', 0.7), (1, '#ffd000', 0)])
    pic.define('ff', defs_ff)
    for _ in range(24):
        pic.add('<circle cx="%s" cy="%s" r="%s" fill="url(#ff)"/>' % (fmt(rng.uniform(0, W)), fmt(rng.uniform(560, H)), fmt(rng.uniform(5, 10))))
    vignette(pic)


# ------------------------------------------------------------ the credits

def credits_backdrop(pic):
    """The end of the campaign: fireworks over Barkwell at night, the studio's
    groomer holding the trophy among dressed dogs on the left, the middle and
    right kept calm and dark for the rolling credits (centred on x 640)."""
    rng = random.Random(4243)
    pic.define('sky', lin('sky', 0, 0, 0, 1, [(0, '#0b1633'), (0.6, '#1d3566'), (1, '#3a4a86')]))
    pic.define('vig', rad('vig', 0.5, 0.5, 0.75, [(0.62, '#000000', 0), (1, '#000000', 0.3)]))
    pic.define('glow', rad('glow', 0.5, 0.5, 0.5, [(0, '#ffffff', 0.9), (0.35, '#fff6c0', 0.45), (1, '#fff6c0', 0)]))
    pic.define('b2', blur('b2', 2))
    pic.add('<rect width="%d" height="%d" fill="url(#sky)"/>' % (W, H))
    for _ in range(150):
        pic.add('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" opacity="%s"/>'
                % (fmt(rng.uniform(0, W)), fmt(rng.uniform(0, 460)), fmt(rng.uniform(0.6, 1.8)), fmt(rng.uniform(0.3, 0.9))))
    pic.add(firework(150, 150, 100, '#ff6fa8'))
    pic.add(firework(300, 300, 55, '#ffd93a', 14))
    pic.add(firework(960, 130, 80, '#1ccfc2', 16))
    pic.add(firework(60, 360, 40, '#a65ef0', 12))
    for k in range(13):
        x = -10 + k * 82
        hh = 50 + (k * 41) % 60
        pic.add('<rect x="%d" y="%d" width="66" height="%d" fill="#23324f"/>' % (x, 540 - hh, hh + 60))
        pic.add('<path d="M%d %d l33 -22 l33 22 Z" fill="#1c2a44"/>' % (x, 540 - hh))
        for j in range(2):
            pic.add('<rect x="%d" y="%d" width="12" height="12" fill="#ffd97a" opacity="0.8"/>' % (x + 12 + j * 30, 556 - hh))
    d, _pts = scenes._ridge(random.Random(6), 610, 22)
    pic.add('<path d="%s" fill="#1c3a47"/>' % d)
    pic.add(bunting(-10, 600, 380, 610, 10, 9))
    dog(pic, 70, 728, 0.55, 1, sit=True, costume=(('crown', None), ('cape', '#a65ef0')), **DOGS[0])
    hero(pic, 205, 735, 0.9, 1, arms='cheer', hand_item=K.item_trophy, mouth='open')
    dog(pic, 320, 740, 0.5, -1, costume=(('bow', '#ff6fa8'),), **DOGS[1])
    dog(pic, 930, 740, 0.45, -1, sit=True, costume=(('partyhat', '#5fcd48'),), **DOGS[3])
    for _ in range(30):
        pic.add('<circle cx="%s" cy="%s" r="%s" fill="url(#glow)"/>' % (fmt(rng.uniform(0, W)), fmt(rng.uniform(560, H)), fmt(rng.uniform(4, 8))))
    pic.add(confetti(rng, 40, 0, 380, 380, 700))
    vignette(pic)


# ------------------------------------------------------------ the list

STORIES = {
    1: [s1_town, s1_dream, s1_opening, s1_client, s1_salon],
    3: [s3_poster, s3_mayor, s3_queue, s3_ready],
    2: [s2_grounds, s2_parade, s2_prize, s2_success, s2_night],
}


def picture_path(story, part):
    return 'story/story%d_%d.jpg' % (story, part)


def build(add, pal):
    comic_pieces(add, pal)
    for n, parts in sorted(STORIES.items()):
        for i, fn in enumerate(parts):
            pic = Pic()
            fn(pic)
            add(picture_path(n, i + 1), pic.svg())
