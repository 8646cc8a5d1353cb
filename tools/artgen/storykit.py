"""Characters and props of the comic stories: people, dogs, houses, the
studio, the show stage. Everything is drawn from points in a figure's own
space (feet at 0, 0, facing right); a figure facing left mirrors its x
coordinates instead of the whole group, so the light stays at the top-left."""
import math
from svgkit import *

INK = '#3b2414'
SKINS = ['#f6cfae', '#e8b48c', '#c98e62', '#9b6440', '#f3d7c0']


class Pic:
    """One picture: its gradients (one per colour) and its body."""

    def __init__(self):
        self.defs = {}
        self.out = []

    def add(self, s):
        self.out.append(s)

    def fill(self, col):
        gid = 'f' + col.lstrip('#')
        if gid not in self.defs:
            lt = mix(shade(col, 1.25, 0.95), '#ffffff', 0.18)
            dk = shade(col, 0.72, 1.05)
            self.defs[gid] = rad(gid, 0.34, 0.28, 0.85, [(0, lt), (0.5, col), (1, dk)])
        return 'url(#%s)' % gid

    def vfill(self, col, top=None, bottom=None):
        gid = 'v' + col.lstrip('#')
        if gid not in self.defs:
            self.defs[gid] = lin(gid, 0, 0, 0, 1, [(0, top or shade(col, 1.12)), (1, bottom or shade(col, 0.82))])
        return 'url(#%s)' % gid

    def define(self, gid, text):
        if gid not in self.defs:
            self.defs[gid] = text

    def svg(self, w=1024, h=768):
        return doc(w, h, '\n'.join(self.out), ''.join(self.defs[k] for k in sorted(self.defs)))


def ink_of(col):
    return shade(col, 0.4, 1.1)


class Fig:
    """A figure placed at (x, y) with scale s, facing f (+1 right, -1 left)."""

    def __init__(self, pic, x, y, s=1.0, f=1):
        self.pic, self.x, self.y, self.s, self.f = pic, x, y, s, f
        self.sw = max(1.6, min(3.6, 3.2 * s))

    def X(self, x):
        return self.x + self.f * x * self.s

    def Y(self, y):
        return self.y + y * self.s

    def pt(self, x, y):
        return '%s %s' % (fmt(self.X(x)), fmt(self.Y(y)))

    def d(self, pathdata):
        out = []
        for c in pathdata:
            op, v = c[0], c[1:]
            if op == 'Z':
                out.append('Z')
                continue
            pts = [self.pt(v[i], v[i + 1]) for i in range(0, len(v), 2)]
            out.append(op + ' '.join(pts))
        return ' '.join(out)

    def shape(self, pathdata, col, ink=None, flat=False, sw=None, op=None):
        fill = col if flat else self.pic.fill(col)
        o = ' opacity="%s"' % fmt(op) if op is not None else ''
        self.pic.add('<path d="%s" fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"%s/>'
                     % (self.d(pathdata), fill, ink or ink_of(col), fmt(sw or self.sw), o))

    def plain(self, pathdata, col, op=None):
        o = ' opacity="%s"' % fmt(op) if op is not None else ''
        self.pic.add('<path d="%s" fill="%s"%s/>' % (self.d(pathdata), col, o))

    def ell(self, cx, cy, rx, ry, col, ink=None, flat=False, rot=0, sw=None, op=None, stroke=True):
        fill = col if flat else self.pic.fill(col)
        o = ' opacity="%s"' % fmt(op) if op is not None else ''
        st = ' stroke="%s" stroke-width="%s"' % (ink or ink_of(col), fmt(sw or self.sw)) if stroke else ''
        tr = ''
        if rot:
            tr = ' transform="rotate(%s %s %s)"' % (fmt(rot * self.f), fmt(self.X(cx)), fmt(self.Y(cy)))
        self.pic.add('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"%s%s%s/>'
                     % (fmt(self.X(cx)), fmt(self.Y(cy)), fmt(rx * self.s), fmt(ry * self.s), fill, st, tr, o))

    def line(self, pathdata, col, w, ink=None, cap='round', outline=True):
        if outline:
            self.pic.add('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="%s" stroke-linejoin="round"/>'
                         % (self.d(pathdata), ink or ink_of(col), fmt(w * self.s + 2 * self.sw), cap))
        self.pic.add('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="%s" stroke-linejoin="round"/>'
                     % (self.d(pathdata), col, fmt(w * self.s), cap))

    def stroke(self, pathdata, col, w, op=None):
        o = ' opacity="%s"' % fmt(op) if op is not None else ''
        self.pic.add('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round" stroke-linejoin="round"%s/>'
                     % (self.d(pathdata), col, fmt(w * self.s), o))

    def shadow(self, rx, op=0.2):
        self.ell(0, 0, rx, rx * 0.2, '#000000', flat=True, stroke=False, op=op)


# ---------------------------------------------------------------- people

ARMS = {
    # hand positions (near arm, far arm) for a figure facing right
    'down': ((46, -112), (-44, -112)),
    'wave': ((62, -292), (-44, -112)),
    'hold': ((70, -152), (-40, -118)),
    'both': ((72, -156), (36, -150)),
    'cheer': ((86, -290), (-80, -290)),
    'hips': ((40, -112), (-40, -112)),
    'point': ((84, -296), (-44, -112)),
    'think': ((22, -222), (-30, -150)),
}


def person(pic, x, y, s=1.0, f=1, skin=SKINS[0], hair='#6b3b1f', style='short', shirt='#3f8cff',
           legs='#2f4a78', shoes='#5a3215', skirt=False, arms='down', mouth='smile', extras=(),
           hand_item=None, brows='up'):
    """A storybook person, about 310 units tall at scale 1."""
    p = Fig(pic, x, y, s, f)
    p.shadow(56)
    (nx, ny), (fx, fy) = ARMS[arms]
    elbow = {'hips': 30}
    # far arm behind the body
    sh_far, sh_near = (-26, -182), (26, -182)
    ex = fx - 10 if arms == 'hips' else (sh_far[0] + fx) / 2.0 - 12
    efx, efy = ex - (18 if arms == 'hips' else 0), (sh_far[1] + fy) / 2.0
    if arms == 'cheer':
        efx, efy = -72, -214
    p.line([('M',) + sh_far, ('Q', efx, efy, fx, fy)], shade(shirt, 0.85), 19)
    p.ell(fx, fy, 11, 11, shade(skin, 0.92))
    if 'hair_back' or True:
        if style in ('long', 'bob', 'pony'):
            p.shape([('M', -50, -262), ('Q', -62, -190, -36, -176), ('L', 36, -176), ('Q', 60, -190, 50, -262), ('Z',)],
                    shade(hair, 0.85))
        if style == 'pony':
            p.shape([('M', -40, -286), ('Q', -92, -270, -78, -210), ('Q', -70, -236, -44, -250), ('Z',)], hair)
    # legs
    if skirt:
        for lx in (-14, 14):
            p.shape([('M', lx - 7, -104), ('L', lx + 7, -104), ('L', lx + 7, -14), ('L', lx - 7, -14), ('Z',)], skin)
    else:
        for lx in (-15, 15):
            p.shape([('M', lx - 12, -110), ('L', lx + 12, -110), ('L', lx + 11, -14), ('L', lx - 11, -14), ('Z',)], legs)
    for lx in (-15, 15):
        p.ell(lx + 7, -9, 19, 10, shoes)
    # torso
    p.shape([('M', -33, -192), ('Q', -46, -150, -42, -100), ('L', 42, -100), ('Q', 46, -150, 33, -192),
             ('Q', 0, -202, -33, -192), ('Z',)], shirt)
    if skirt:
        p.shape([('M', -40, -118), ('L', 40, -118), ('L', 56, -62), ('Q', 0, -52, -56, -62), ('Z',)], skirt)
    if 'apron' in extras:
        ap = '#fff3dc'
        p.shape([('M', -24, -178), ('L', 24, -178), ('L', 30, -92), ('Q', 0, -86, -30, -92), ('Z',)], ap, ink='#8a6a4a')
        p.shape([('M', -14, -136), ('L', 14, -136), ('L', 14, -116), ('L', -14, -116), ('Z',)], '#ffd6e0', ink='#b2607a', sw=2)
        p.stroke([('M', 6, -144), ('L', 6, -128)], '#9aa3ad', 3)
        p.stroke([('M', -6, -146), ('L', -6, -128)], '#ef4a43', 3)
    if 'sash' in extras:
        p.shape([('M', -32, -188), ('L', -20, -192), ('L', 42, -110), ('L', 30, -102), ('Z',)], '#ef4a43')
        p.ell(30, -118, 9, 9, '#ffd93a')
    if 'cardigan' in extras:
        p.stroke([('M', 0, -194), ('L', 0, -102)], shade(shirt, 0.6), 3)
        for by in (-170, -145, -120):
            p.ell(5, by, 3.5, 3.5, '#fbeecb', sw=1.2)
    if 'bowtie' in extras:
        p.shape([('M', 0, -188), ('L', -14, -197), ('L', -14, -179), ('Z',)], '#ef4a43', sw=2)
        p.shape([('M', 0, -188), ('L', 14, -197), ('L', 14, -179), ('Z',)], '#ef4a43', sw=2)
    # neck and head
    p.shape([('M', -9, -208), ('L', 9, -208), ('L', 9, -190), ('L', -9, -190), ('Z',)], shade(skin, 0.9), sw=2)
    p.ell(-44, -250, 10, 12, shade(skin, 0.95))
    p.ell(0, -252, 48, 47, skin)
    # hair
    if style == 'short':
        p.shape([('M', -48, -252), ('Q', -52, -306, 0, -304), ('Q', 48, -304, 49, -256), ('Q', 38, -280, 18, -282),
                 ('Q', 8, -268, -6, -282), ('Q', -26, -270, -34, -280), ('Q', -44, -268, -48, -252), ('Z',)], hair)
    elif style in ('bob', 'long', 'pony'):
        p.shape([('M', -52, -240), ('Q', -58, -306, 0, -304), ('Q', 56, -306, 52, -244), ('Q', 40, -282, 10, -278),
                 ('Q', -16, -290, -36, -270), ('Q', -46, -258, -52, -240), ('Z',)], hair)
    elif style == 'bun':
        p.ell(0, -308, 22, 18, hair)
        p.shape([('M', -49, -246), ('Q', -54, -300, 0, -300), ('Q', 54, -300, 49, -246), ('Q', 36, -288, 0, -286),
                 ('Q', -36, -288, -49, -246), ('Z',)], hair)
    elif style == 'bald':
        p.shape([('M', -49, -240), ('Q', -52, -268, -40, -276), ('Q', -40, -256, -44, -236), ('Z',)], hair)
    elif style == 'curly':
        for cx, cy, r in ((-36, -272, 18), (-14, -292, 20), (12, -294, 20), (34, -276, 18), (44, -254, 12), (-46, -252, 12)):
            p.ell(cx, cy, r, r, hair)
    # face
    for ex_ in (-9, 25):
        p.ell(ex_, -252, 5.5, 7.5, '#2b1a10', flat=True, stroke=False)
        p.ell(ex_ + 1.6, -255, 2, 2, '#ffffff', flat=True, stroke=False)
        if brows == 'up':
            p.stroke([('M', ex_ - 8, -268), ('Q', ex_, -274, ex_ + 8, -268)], shade(hair, 0.8), 3)
        else:
            p.stroke([('M', ex_ - 8, -272), ('Q', ex_, -266, ex_ + 8, -266)], shade(hair, 0.8), 3)
    for cx in (-20, 38):
        p.ell(cx, -234, 8, 6, '#ff7a8a', flat=True, stroke=False, op=0.45)
    p.ell(10, -240, 5, 4, shade(skin, 0.86), flat=True, stroke=False)
    if mouth == 'smile':
        p.stroke([('M', -2, -226), ('Q', 10, -216, 22, -227)], '#6a2a1a', 3)
    elif mouth == 'open':
        p.shape([('M', -4, -228), ('Q', 10, -206, 24, -228), ('Q', 10, -224, -4, -228), ('Z',)], '#8a2a2a', ink='#4a1a10', sw=2,
                flat=True)
        p.ell(10, -216, 6, 3, '#ef7a7a', flat=True, stroke=False)
    elif mouth == 'o':
        p.ell(10, -222, 5, 7, '#6a2020', flat=True, stroke=False)
    if 'glasses' in extras:
        for ex_ in (-9, 25):
            p.ell(ex_, -252, 12, 11, '#ffffff', ink='#3b2414', flat=True, sw=2.2, op=0.5)
        p.stroke([('M', 3, -254), ('L', 13, -254)], '#3b2414', 2.2)
    if 'moustache' in extras:
        p.shape([('M', 10, -234), ('Q', -6, -236, -12, -224), ('Q', 0, -228, 10, -228), ('Q', 20, -228, 32, -224),
                 ('Q', 26, -236, 10, -234), ('Z',)], shade(hair, 0.9), sw=1.8)
    if 'beret' in extras:
        p.shape([('M', -50, -276), ('Q', -40, -320, 10, -318), ('Q', 58, -314, 52, -280), ('Q', 0, -294, -50, -276), ('Z',)],
                extras_colour(extras, 'beret', '#ef4a43'))
        p.ell(6, -318, 5, 4, extras_colour(extras, 'beret', '#ef4a43'))
    if 'tophat' in extras:
        p.shape([('M', -56, -288), ('Q', 0, -302, 56, -288), ('Q', 0, -278, -56, -288), ('Z',)], '#2b2b3a')
        p.shape([('M', -34, -290), ('L', -30, -368), ('Q', 0, -374, 30, -368), ('L', 34, -290), ('Z',)], '#2b2b3a')
        p.shape([('M', -33, -304), ('L', 33, -304), ('L', 32, -316), ('L', -32, -316), ('Z',)], '#c8453a', sw=2)
    if 'flowerhat' in extras:
        p.shape([('M', -64, -282), ('Q', 0, -296, 64, -282), ('Q', 0, -270, -64, -282), ('Z',)], '#f3e6c6')
        p.shape([('M', -36, -284), ('Q', -32, -330, 0, -330), ('Q', 32, -330, 36, -284), ('Z',)], '#f3e6c6')
        for k, c in enumerate(('#ff8fb4', '#ffd93a', '#b48cff')):
            p.ell(-22 + k * 12, -292, 7, 7, c, sw=1.6)
    # near arm over the body
    ex2 = (sh_near[0] + nx) / 2.0 + (18 if arms in ('hips', 'down') else 8)
    ey2 = (sh_near[1] + ny) / 2.0 + (0 if arms != 'point' else -20)
    if arms == 'cheer':
        ex2, ey2 = 74, -214
    p.line([('M',) + sh_near, ('Q', ex2, ey2, nx, ny)], shirt, 19)
    if hand_item:
        hand_item(p, nx, ny)
    p.ell(nx, ny, 11, 11, skin)
    return p


def extras_colour(extras, name, default):
    for e in extras:
        if isinstance(e, tuple) and e[0] == name:
            return e[1]
    return default


def item_comb(p, x, y):
    p.shape([('M', x - 4, y - 40), ('L', x + 6, y - 40), ('L', x + 6, y + 4), ('L', x - 4, y + 4), ('Z',)], '#ff8fb4', sw=2)
    for k in range(6):
        p.stroke([('M', x + 6, y - 36 + k * 6), ('L', x + 14, y - 36 + k * 6)], '#b2607a', 2.2)


def item_scissors(p, x, y):
    p.shape([('M', x, y), ('L', x + 40, y - 34), ('L', x + 44, y - 30), ('L', x + 6, y + 4), ('Z',)], '#c9d3df', sw=2)
    p.shape([('M', x, y), ('L', x + 46, y - 18), ('L', x + 46, y - 12), ('L', x + 4, y + 6), ('Z',)], '#c9d3df', sw=2)
    p.ell(x - 10, y + 8, 8, 8, '#ef4a43', sw=2)


def item_megaphone(p, x, y):
    p.shape([('M', x, y - 8), ('L', x + 54, y - 30), ('L', x + 54, y + 22), ('L', x, y + 8), ('Z',)], '#ef4a43')
    p.ell(x + 54, y - 4, 8, 26, '#ffd93a')


def item_clipboard(p, x, y):
    p.shape([('M', x - 6, y - 52), ('L', x + 36, y - 52), ('L', x + 36, y + 4), ('L', x - 6, y + 4), ('Z',)], '#c98a3c')
    p.shape([('M', x, y - 46), ('L', x + 30, y - 46), ('L', x + 30, y - 2), ('L', x, y - 2), ('Z',)], '#ffffff', ink='#8a8a8a', sw=1.5,
            flat=True)
    for k in range(4):
        p.stroke([('M', x + 5, y - 38 + k * 9), ('L', x + 25, y - 38 + k * 9)], '#7a8aa0', 2)


def item_leash(target):
    def draw(p, x, y):
        p.stroke([('M', x, y), ('Q', (x + target[0]) / 2.0, max(y, target[1]) + 30, target[0], target[1])], '#c8453a', 3)
    return draw


def item_trophy(p, x, y):
    p.shape([('M', x - 8, y - 4), ('L', x + 30, y - 4), ('L', x + 26, y + 14), ('L', x - 4, y + 14), ('Z',)], '#8a5a2e')
    p.shape([('M', x + 7, y - 4), ('L', x + 15, y - 4), ('L', x + 15, y - 22), ('L', x + 7, y - 22), ('Z',)], '#e0b02a')
    p.shape([('M', x - 14, y - 70), ('L', x + 36, y - 70), ('Q', x + 36, y - 24, x + 11, y - 22), ('Q', x - 14, y - 24, x - 14, y - 70),
             ('Z',)], '#ffd23a', ink='#8a5a10')
    p.line([('M', x - 14, y - 62), ('Q', x - 32, y - 56, x - 12, y - 40)], '#ffd23a', 5, ink='#8a5a10')
    p.line([('M', x + 36, y - 62), ('Q', x + 54, y - 56, x + 34, y - 40)], '#ffd23a', 5, ink='#8a5a10')
    p.ell(x + 2, y - 58, 5, 9, '#ffffff', flat=True, stroke=False, op=0.7)


def item_key(p, x, y):
    p.ell(x + 4, y - 20, 10, 10, '#ffd23a', ink='#8a5a10')
    p.ell(x + 4, y - 20, 4, 4, '#fff6c0', ink='#8a5a10', sw=1.5)
    p.line([('M', x + 12, y - 12), ('L', x + 34, y + 10)], '#ffd23a', 5, ink='#8a5a10')


# ---------------------------------------------------------------- dogs

def _leg(p, lx, top, hw, col, ink):
    """A dog's leg: slightly tapered, rounded at the foot."""
    p.shape([('M', lx - hw * 1.3, top), ('C', lx - hw * 1.4, top * 0.55, lx - hw * 0.7, top * 0.4, lx - hw * 0.75, -10),
             ('Q', lx, -2, lx + hw * 0.75, -10), ('C', lx + hw * 0.8, top * 0.4, lx + hw * 1.3, top * 0.55, lx + hw * 1.2, top),
             ('Z',)], col, ink=ink)


def dog(pic, x, y, s=1.0, f=1, body='#d9a45c', belly=None, patch=None, ears='flop', ear_col=None, fluffy=False,
        legs=1.0, long=1.0, snout=1.0, tail='up', tongue=True, costume=(), sit=False, look=0):
    """A friendly dog about 150 units tall at scale 1 (feet at 0)."""
    p = Fig(pic, x, y, s, f)
    belly = belly or mix(body, '#fff6e4', 0.55)
    ear_col = ear_col or shade(body, 0.8)
    ink = ink_of(body)
    p.shadow(70 * long)
    L = 42 * legs
    bx, by = 0, -L - 28
    rx, ry = 54 * long, 32
    hx, hy = 50 * long + 8, by - 42
    if sit:
        hx, hy = 30, -146
    cape = [c for c in costume if isinstance(c, tuple) and c[0] == 'cape']
    # tail
    if sit:
        p.line([('M', -30, -14), ('Q', -70, -6, -84, -26)], body, 11, ink=ink)
    elif tail == 'up':
        p.line([('M', -rx + 8, by - 6), ('Q', -rx - 26, by - 30, -rx - 16, by - 62)], body, 11, ink=ink)
    elif tail == 'curl':
        p.line([('M', -rx + 8, by - 10), ('C', -rx - 30, by - 30, -rx - 10, by - 66, -rx + 6, by - 44)], body, 12, ink=ink)
    else:
        p.line([('M', -rx + 8, by), ('Q', -rx - 30, by + 4, -rx - 40, by - 22)], body, 10, ink=ink)
    # far legs
    far = shade(body, 0.82)
    if sit:
        _leg(p, 38, -84, 9, far, ink)
    else:
        for lx in (-rx * 0.55 - 8, rx * 0.55 + 8):
            _leg(p, lx, by + 6, 10.5, far, ink)
    # body
    if sit:
        if cape:
            col = cape[0][1]
            p.shape([('M', hx - 20, hy + 18), ('Q', -40, -120, -70, -20), ('Q', -60, -8, -40, -14), ('Q', -30, -4, -14, -12),
                     ('Q', -10, -60, hx, hy + 30), ('Z',)], col)
        p.ell(-18, -36, 36, 32, body, ink=ink)
        _leg(p, 21, -70, 10, body, ink)
        p.ell(21, -7, 14, 8, belly, ink=ink)
        p.ell(6, -78, 30, 46, body, ink=ink, rot=14)
        p.ell(18, -80, 13, 28, belly, flat=True, stroke=False, op=0.85, rot=14)
    elif fluffy:
        pts = []
        n = 18
        for k in range(n):
            a = 2 * math.pi * k / n
            pts.append((bx + math.cos(a) * rx, by + math.sin(a) * ry))
        pathdata = [('M',) + pts[0]]
        for k in range(n):
            a0 = 2 * math.pi * (k + 0.5) / n
            cx, cy = bx + math.cos(a0) * (rx + 11), by + math.sin(a0) * (ry + 11)
            pathdata.append(('Q', cx, cy) + pts[(k + 1) % n])
        pathdata.append(('Z',))
        p.shape(pathdata, body, ink=ink)
    else:
        p.ell(bx, by, rx, ry, body, ink=ink)
        p.ell(bx + 6, by + 12, rx * 0.7, ry * 0.45, belly, flat=True, stroke=False, op=0.8)
    if patch and not sit:
        p.ell(bx - rx * 0.25, by - ry * 0.35, rx * 0.36, ry * 0.45, patch, flat=True, stroke=False, op=0.95)
    if cape:
        col = cape[0][1]
        if not sit:
            p.shape([('M', hx - 28, hy + 20), ('Q', 0, by - ry - 16, -rx - 6, by - 10), ('Q', -rx + 4, by + 22, -rx * 0.45, by + 8),
                     ('Q', -rx * 0.1, by + 24, rx * 0.2, by + 6), ('Q', hx * 0.6, by + 6, hx - 10, hy + 34), ('Z',)], col)
            p.stroke([('M', hx - 26, hy + 24), ('Q', hx - 14, hy + 34, hx - 2, hy + 28)], '#ffd93a', 4)
    # near legs
    if sit:
        p.ell(-26, -8, 24, 9, belly, ink=ink)
    else:
        for lx in (-rx * 0.55, rx * 0.55):
            _leg(p, lx, by + 4, 11.5, body, ink)
            p.ell(lx + 4, -6, 14, 8, belly, ink=ink)
    # collar, scarf
    scarf = [c for c in costume if isinstance(c, tuple) and c[0] == 'scarf']
    # neck
    if not sit:
        p.shape([('M', hx - 30, hy + 14), ('Q', hx - 40, by - 10, rx * 0.35, by - 4), ('L', hx + 10, by - 6),
                 ('Q', hx + 14, hy + 30, hx + 4, hy + 14), ('Z',)], body, ink=ink)
    if scarf:
        col = scarf[0][1]
        p.shape([('M', hx - 30, hy + 22), ('Q', hx - 8, hy + 40, hx + 14, hy + 26), ('L', hx + 16, hy + 38),
                 ('Q', hx - 8, hy + 54, hx - 32, hy + 34), ('Z',)], col)
        p.shape([('M', hx - 22, hy + 38), ('L', hx - 34, hy + 76), ('L', hx - 18, hy + 78), ('L', hx - 10, hy + 42), ('Z',)], col)
        p.stroke([('M', hx - 28, hy + 70), ('L', hx - 18, hy + 72)], shade(col, 1.3), 3)
    elif 'collar' in costume or True:
        p.line([('M', hx - 28, hy + 24), ('Q', hx - 8, hy + 38, hx + 12, hy + 26)], '#ef4a43' if 'collar' in costume else shade(body, 0.9),
               6 if 'collar' in costume else 0.1, ink=ink if 'collar' in costume else shade(body, 0.9))
        if 'collar' in costume:
            p.ell(hx - 8, hy + 40, 6, 6, '#ffd93a', sw=1.8)
    # far ear
    if ears == 'flop':
        p.shape([('M', hx - 18, hy - 22), ('Q', hx - 40, hy - 20, hx - 38, hy + 16), ('Q', hx - 30, hy + 24, hx - 20, hy + 10),
                 ('Z',)], shade(ear_col, 0.85), ink=ink)
    elif ears == 'point':
        p.shape([('M', hx - 22, hy - 14), ('L', hx - 26, hy - 58), ('L', hx - 2, hy - 28), ('Z',)], shade(ear_col, 0.85), ink=ink)
    # head
    if fluffy:
        for a in range(0, 360, 40):
            r = math.radians(a)
            p.ell(hx + math.cos(r) * 26, hy + math.sin(r) * 24, 13, 13, body, ink=ink)
    p.ell(hx, hy, 33, 30, body, ink=ink)
    if patch:
        p.ell(hx + 6, hy - 8, 11, 12, patch, flat=True, stroke=False, op=0.95)
    sx_ = 27 * snout
    p.ell(hx + sx_ - 2, hy + 12, 22 * snout, 15, belly, ink=ink)
    p.ell(hx + sx_ + 14 * snout, hy + 4, 8, 6, '#2b1a14', flat=True, sw=1.5)
    p.ell(hx + sx_ + 12 * snout, hy + 2, 3, 2, '#ffffff', flat=True, stroke=False, op=0.8)
    # mouth and tongue
    p.stroke([('M', hx + sx_ + 12 * snout, hy + 10), ('Q', hx + sx_ + 4, hy + 22, hx + sx_ - 10, hy + 16)], ink, 2.2)
    if tongue:
        p.shape([('M', hx + sx_ - 2, hy + 19), ('Q', hx + sx_ - 4, hy + 36, hx + sx_ + 6, hy + 34), ('Q', hx + sx_ + 10, hy + 26, hx + sx_ + 8, hy + 18),
                 ('Z',)], '#ef6f7f', ink='#8a2a3a', sw=1.8)
    # eyes
    for ex_, sz in ((hx + 4 + look, 1.0), (hx + 20 + look, 0.9)):
        p.ell(ex_, hy - 6, 5 * sz, 6.5 * sz, '#2b1a10', flat=True, stroke=False)
        p.ell(ex_ + 1.5, hy - 9, 1.8, 1.8, '#ffffff', flat=True, stroke=False)
    p.stroke([('M', hx - 2, hy - 18), ('Q', hx + 4, hy - 22, hx + 10, hy - 19)], ink, 2)
    # near ear
    if ears == 'flop':
        p.shape([('M', hx - 10, hy - 26), ('Q', hx - 30, hy - 30, hx - 32, hy + 10), ('Q', hx - 22, hy + 26, hx - 8, hy + 8),
                 ('Q', hx - 4, hy - 12, hx - 10, hy - 26), ('Z',)], ear_col, ink=ink)
    elif ears == 'point':
        p.shape([('M', hx - 8, hy - 24), ('L', hx - 2, hy - 66), ('L', hx + 14, hy - 26), ('Z',)], ear_col, ink=ink)
        p.plain([('M', hx - 3, hy - 28), ('L', hx - 0.5, hy - 54), ('L', hx + 8, hy - 29), ('Z',)], '#f6b0b8', op=0.8)
    elif ears == 'round':
        p.ell(hx - 14, hy - 26, 12, 12, ear_col, ink=ink)
    # costume on the head
    for c in costume:
        name = c[0] if isinstance(c, tuple) else c
        col = c[1] if isinstance(c, tuple) else None
        if name == 'bow':
            col = col or '#ff6fa8'
            p.shape([('M', hx + 2, hy - 30), ('L', hx - 18, hy - 44), ('L', hx - 16, hy - 18), ('Z',)], col)
            p.shape([('M', hx + 2, hy - 30), ('L', hx + 22, hy - 46), ('L', hx + 22, hy - 18), ('Z',)], col)
            p.ell(hx + 2, hy - 31, 6, 6, shade(col, 0.9))
        elif name == 'partyhat':
            col = col or '#3f8cff'
            p.shape([('M', hx - 18, hy - 24), ('L', hx + 8, hy - 82), ('L', hx + 24, hy - 18), ('Q', hx + 4, hy - 14, hx - 18, hy - 24),
                     ('Z',)], col)
            p.stroke([('M', hx - 6, hy - 44), ('L', hx + 18, hy - 40)], '#ffffff', 4, op=0.8)
            p.ell(hx + 8, hy - 84, 7, 7, '#ffd93a')
        elif name == 'tophat':
            col = col or '#2b2b3a'
            p.shape([('M', hx - 20, hy - 26), ('Q', hx + 4, hy - 34, hx + 28, hy - 24), ('Q', hx + 4, hy - 18, hx - 20, hy - 26), ('Z',)], col)
            p.shape([('M', hx - 10, hy - 28), ('L', hx - 8, hy - 66), ('L', hx + 18, hy - 66), ('L', hx + 18, hy - 26), ('Z',)], col)
            p.shape([('M', hx - 9, hy - 36), ('L', hx + 18, hy - 36), ('L', hx + 18, hy - 42), ('L', hx - 9, hy - 42), ('Z',)], '#ef4a43', sw=1.5)
        elif name == 'crown':
            col = col or '#ffd23a'
            p.shape([('M', hx - 16, hy - 24), ('L', hx - 18, hy - 52), ('L', hx - 6, hy - 38), ('L', hx + 4, hy - 58), ('L', hx + 12, hy - 38),
                     ('L', hx + 24, hy - 52), ('L', hx + 22, hy - 22), ('Z',)], col, ink='#8a5a10')
            p.ell(hx + 4, hy - 30, 4, 4, '#ef4a43', sw=1.2)
        elif name == 'glasses':
            for gx in (hx + 4 + look, hx + 20 + look):
                p.ell(gx, hy - 6, 9, 8, '#ffffff', ink='#2b2b3a', flat=True, op=0.35, sw=2.2)
            p.stroke([('M', hx + 13 + look, hy - 7), ('L', hx + 11 + look, hy - 7)], '#2b2b3a', 2)
        elif name == 'flower':
            col = col or '#ff8fb4'
            for a in range(0, 360, 72):
                r = math.radians(a)
                p.ell(hx - 12 + math.cos(r) * 8, hy - 28 + math.sin(r) * 8, 6, 6, col, sw=1.4)
            p.ell(hx - 12, hy - 28, 4.5, 4.5, '#ffd93a', sw=1.2)
    return p


# ---------------------------------------------------------------- town

def house(pic, x, base, w, h, wall, roof, door='#8a5a2e', windows=2, chimney=False, haze=0.0, sky='#ffffff'):
    wall = mix(wall, sky, haze)
    roof = mix(roof, sky, haze)
    ink = mix(INK, sky, haze * 1.2)
    out = []
    if chimney:
        out.append('<rect x="%s" y="%s" width="%s" height="%s" fill="%s" stroke="%s" stroke-width="3"/>'
                   % (fmt(x + w * 0.62), fmt(base - h - w * 0.42), fmt(w * 0.12), fmt(w * 0.3), mix('#b0563a', sky, haze), ink))
    out.append('<rect x="%s" y="%s" width="%s" height="%s" fill="%s" stroke="%s" stroke-width="3"/>'
               % (fmt(x), fmt(base - h), fmt(w), fmt(h), pic.vfill(wall), ink))
    out.append('<path d="M%s %s L%s %s L%s %s Z" fill="%s" stroke="%s" stroke-width="3" stroke-linejoin="round"/>'
               % (fmt(x - w * 0.08), fmt(base - h + 2), fmt(x + w / 2.0), fmt(base - h - w * 0.45), fmt(x + w * 1.08), fmt(base - h + 2),
                  pic.vfill(roof), ink))
    out.append('<path d="M%s %s L%s %s" stroke="#ffffff" stroke-opacity="0.35" stroke-width="3"/>'
               % (fmt(x - w * 0.02), fmt(base - h - 2), fmt(x + w / 2.0), fmt(base - h - w * 0.41)))
    dw, dh = w * 0.22, h * 0.42
    out.append('<path d="M%s %s V%s a%s %s 0 0 1 %s 0 V%s Z" fill="%s" stroke="%s" stroke-width="3"/>'
               % (fmt(x + w / 2.0 - dw / 2), fmt(base), fmt(base - dh + dw / 2), fmt(dw / 2), fmt(dw / 2), fmt(dw), fmt(base),
                  mix(door, sky, haze), ink))
    for k in range(windows):
        wx = x + w * (0.1 if k == 0 else 0.68)
        wy = base - h * 0.78
        ww, wh = w * 0.22, h * 0.28
        out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="3" fill="%s" stroke="%s" stroke-width="3"/>'
                   % (fmt(wx), fmt(wy), fmt(ww), fmt(wh), mix('#cfe9ff', sky, haze), ink))
        out.append('<path d="M%s %s V%s M%s %s H%s" stroke="%s" stroke-width="2"/>'
                   % (fmt(wx + ww / 2), fmt(wy), fmt(wy + wh), fmt(wx), fmt(wy + wh / 2), fmt(wx + ww), ink))
        out.append('<path d="M%s %s l%s 0 l%s %s Z" fill="#ffffff" opacity="0.5"/>'
                   % (fmt(wx + 3), fmt(wy + 3), fmt(ww * 0.3), fmt(-ww * 0.3), fmt(wh * 0.4)))
        out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="3" fill="%s" stroke="%s" stroke-width="2"/>'
                   % (fmt(wx - 3), fmt(wy + wh), fmt(ww + 6), fmt(8), mix('#c4683a', sky, haze), ink))
        for j in range(3):
            out.append('<circle cx="%s" cy="%s" r="%s" fill="%s"/>'
                       % (fmt(wx + ww * (0.2 + 0.3 * j)), fmt(wy + wh - 1), fmt(w * 0.025 + 2), mix(['#ff8fb4', '#ffd93a', '#ef4a43'][j], sky, haze)))
    pic.add(''.join(out))


def paw_icon(cx, cy, r, col):
    out = ['<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/>' % (fmt(cx), fmt(cy + r * 0.35), fmt(r * 0.55), fmt(r * 0.45), col)]
    for a, d in ((-60, 0.75), (-20, 0.85), (20, 0.85), (60, 0.75)):
        t = math.radians(a - 90)
        out.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/>'
                   % (fmt(cx + math.cos(t) * r * d), fmt(cy + r * 0.2 + math.sin(t) * r * d), fmt(r * 0.2), fmt(r * 0.26), col))
    return ''.join(out)


def studio(pic, x, base, w=420, h=300, open_=True, festive=False, sky='#ffffff'):
    """The little dog-dressing studio: a shop front with a striped awning, a
    big window and a sign with a paw and a bow."""
    out = []
    out.append('<rect x="%s" y="%s" width="%s" height="%s" fill="%s" stroke="%s" stroke-width="3"/>'
               % (fmt(x), fmt(base - h), fmt(w), fmt(h), pic.vfill('#f6d9b8'), INK))
    # bricks at the foot
    out.append('<rect x="%s" y="%s" width="%s" height="28" fill="%s" stroke="%s" stroke-width="3"/>'
               % (fmt(x), fmt(base - 28), fmt(w), '#c4683a', INK))
    for k in range(int(w // 40)):
        out.append('<path d="M%s %s v28" stroke="%s" stroke-opacity="0.5" stroke-width="2"/>' % (fmt(x + 20 + k * 40), fmt(base - 28), INK))
    # cornice and sign
    out.append('<rect x="%s" y="%s" width="%s" height="26" fill="%s" stroke="%s" stroke-width="3"/>'
               % (fmt(x - 12), fmt(base - h - 14), fmt(w + 24), pic.vfill('#a06a38'), INK))
    sw_, sh_ = w * 0.56, 62
    sx_, sy_ = x + (w - sw_) / 2, base - h + 24
    out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="12" fill="%s" stroke="%s" stroke-width="3"/>'
               % (fmt(sx_), fmt(sy_), fmt(sw_), fmt(sh_), pic.vfill('#fbeecb'), INK))
    out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="8" fill="none" stroke="#c98a3c" stroke-width="2"/>'
               % (fmt(sx_ + 6), fmt(sy_ + 6), fmt(sw_ - 12), fmt(sh_ - 12)))
    out.append(paw_icon(sx_ + sw_ * 0.3, sy_ + sh_ / 2 - 2, 20, '#c8453a'))
    # a bow on the sign
    bx, by = sx_ + sw_ * 0.66, sy_ + sh_ / 2
    out.append('<path d="M%s %s l-26 -16 v32 Z M%s %s l26 -16 v32 Z" fill="#ff6fa8" stroke="#8a2a4a" stroke-width="2.5" stroke-linejoin="round"/>'
               '<circle cx="%s" cy="%s" r="7" fill="#ff4f8f" stroke="#8a2a4a" stroke-width="2.5"/>'
               % (fmt(bx), fmt(by), fmt(bx), fmt(by), fmt(bx), fmt(by)))
    # awning
    ay = base - h + 100
    stripes = 8
    sw2 = (w + 30) / stripes
    for k in range(stripes):
        col = '#ff7fa6' if k % 2 == 0 else '#fff6ea'
        x0 = x - 15 + k * sw2
        out.append('<path d="M%s %s L%s %s L%s %s Q%s %s %s %s Z" fill="%s"/>'
                   % (fmt(x0 + 6), fmt(ay), fmt(x0 + sw2 + 6), fmt(ay), fmt(x0 + sw2), fmt(ay + 46), fmt(x0 + sw2 / 2), fmt(ay + 62),
                      fmt(x0), fmt(ay + 46), col))
    out.append('<path d="M%s %s H%s L%s %s H%s Z" fill="none" stroke="%s" stroke-width="3" stroke-linejoin="round"/>'
               % (fmt(x - 9), fmt(ay), fmt(x + w + 21), fmt(x + w + 15), fmt(ay + 46), fmt(x - 15), INK))
    out.append('<path d="M%s %s H%s" stroke="#000" stroke-opacity="0.15" stroke-width="10"/>' % (fmt(x), fmt(ay + 70), fmt(x + w)))
    # window with a mannequin dog in a costume
    wx, wy, ww, wh = x + 26, ay + 78, w * 0.48, base - 28 - (ay + 78) - 14
    out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="6" fill="%s" stroke="%s" stroke-width="4"/>'
               % (fmt(wx), fmt(wy), fmt(ww), fmt(wh), '#bfe3f7' if open_ else '#9fb8c8', INK))
    pic.add(''.join(out))
    out = []
    if open_:
        dog(pic, wx + ww * 0.45, wy + wh - 6, 0.48, 1, body='#f3e6c6', ears='point', costume=(('cape', '#a65ef0'), ('crown', None)),
            tongue=False, sit=True)
        out.append('<path d="M%s %s l%s 0 l-%s %s Z" fill="#ffffff" opacity="0.45"/>'
                   % (fmt(wx + 6), fmt(wy + 6), fmt(ww * 0.4), fmt(ww * 0.4), fmt(wh * 0.6)))
    else:
        for k in range(5):
            out.append('<path d="M%s %s h%s" stroke="#7a8a96" stroke-width="3"/>' % (fmt(wx + 10), fmt(wy + 20 + k * wh / 5.5), fmt(ww - 20)))
    # door
    dx, dw = x + w * 0.64, w * 0.26
    dy = ay + 70
    out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="4" fill="%s" stroke="%s" stroke-width="3"/>'
               % (fmt(dx), fmt(dy), fmt(dw), fmt(base - dy), pic.vfill('#5fa8a0') if open_ else pic.vfill('#8a7a6a'), INK))
    out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="4" fill="#cfe9ff" stroke="%s" stroke-width="2.5"/>'
               % (fmt(dx + 10), fmt(dy + 12), fmt(dw - 20), fmt((base - dy) * 0.36), INK))
    out.append('<circle cx="%s" cy="%s" r="5" fill="#ffd23a" stroke="%s" stroke-width="2"/>' % (fmt(dx + dw - 14), fmt(base - (base - dy) * 0.45), INK))
    if open_:
        # a little hanging "open" plate with a heart
        out.append('<path d="M%s %s l-18 20 M%s %s l18 20" stroke="%s" stroke-width="2"/>' % (fmt(dx + dw / 2), fmt(dy + 14), fmt(dx + dw / 2), fmt(dy + 14), INK))
        out.append('<rect x="%s" y="%s" width="46" height="24" rx="5" fill="#fbeecb" stroke="%s" stroke-width="2.5"/>'
                   % (fmt(dx + dw / 2 - 23), fmt(dy + 32), INK))
        out.append('<path d="M%s %s c-6 -8 -16 0 0 10 c16 -10 6 -18 0 -10 Z" fill="#ef4a43"/>' % (fmt(dx + dw / 2), fmt(dy + 40)))
    # flower pots
    for px in (x + 8, x + w - 26):
        out.append('<path d="M%s %s h22 l-3 24 h-16 Z" fill="#c4683a" stroke="%s" stroke-width="2.5"/>' % (fmt(px - 2), fmt(base - 24), INK))
        for k, c in enumerate(('#ff8fb4', '#ffd93a', '#ef4a43')):
            out.append('<circle cx="%s" cy="%s" r="6" fill="%s" stroke="%s" stroke-width="1.5"/>' % (fmt(px + 3 + k * 7), fmt(base - 30 - (k % 2) * 8), c, INK))
    if festive:
        out.append(bunting(x - 14, base - h - 2, x + w + 14, base - h - 2, 40, 11))
    pic.add(''.join(out))


def bunting(x1, y1, x2, y2, sag, n, cols=('#ef4a43', '#ffd93a', '#3f8cff', '#5fcd48', '#ff9a24', '#a65ef0')):
    out = ['<path d="M%s %s Q%s %s %s %s" fill="none" stroke="%s" stroke-width="2.5"/>'
           % (fmt(x1), fmt(y1), fmt((x1 + x2) / 2.0), fmt((y1 + y2) / 2.0 + sag * 2), fmt(x2), fmt(y2), INK)]
    for k in range(n):
        t0, t1 = (k + 0.15) / n, (k + 0.85) / n

        def at(t):
            return ((1 - t) ** 2 * x1 + 2 * (1 - t) * t * (x1 + x2) / 2.0 + t * t * x2,
                    (1 - t) ** 2 * y1 + 2 * (1 - t) * t * ((y1 + y2) / 2.0 + sag * 2) + t * t * y2)
        a, b = at(t0), at(t1)
        tip = ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2 + abs(b[0] - a[0]) * 1.1)
        out.append('<path d="M%s %s L%s %s L%s %s Z" fill="%s" stroke="%s" stroke-width="2" stroke-linejoin="round"/>'
                   % (fmt(a[0]), fmt(a[1]), fmt(b[0]), fmt(b[1]), fmt(tip[0]), fmt(tip[1]), cols[k % len(cols)], INK))
    return ''.join(out)


def balloon(pic, x, y, r, col):
    pic.add('<path d="M%s %s q-10 40 6 80" fill="none" stroke="#8a8a8a" stroke-width="1.5"/>' % (fmt(x), fmt(y + r * 1.15)))
    pic.add('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s" stroke="%s" stroke-width="2.5"/>'
            % (fmt(x), fmt(y), fmt(r), fmt(r * 1.18), pic.fill(col), ink_of(col)))
    pic.add('<path d="M%s %s l-6 8 h12 Z" fill="%s"/>' % (fmt(x), fmt(y + r * 1.12), shade(col, 0.8)))
    pic.add('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ffffff" opacity="0.55" transform="rotate(-30 %s %s)"/>'
            % (fmt(x - r * 0.38), fmt(y - r * 0.45), fmt(r * 0.22), fmt(r * 0.35), fmt(x - r * 0.38), fmt(y - r * 0.45)))


def confetti(rng, n, x0, y0, x1, y1):
    cols = ['#ef4a43', '#ffd93a', '#3f8cff', '#5fcd48', '#ff9a24', '#a65ef0', '#ff8fb4', '#1ccfc2']
    out = []
    for _ in range(n):
        x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
        out.append('<rect x="%s" y="%s" width="%s" height="%s" fill="%s" transform="rotate(%s %s %s)"/>'
                   % (fmt(x), fmt(y), fmt(rng.uniform(5, 9)), fmt(rng.uniform(3, 5)), rng.choice(cols), fmt(rng.uniform(0, 180)),
                      fmt(x), fmt(y)))
    return ''.join(out)


def firework(cx, cy, r, col, rays=16):
    out = ['<g stroke-linecap="round">']
    for k in range(rays):
        a = 2 * math.pi * k / rays
        x1, y1 = cx + math.cos(a) * r * 0.3, cy + math.sin(a) * r * 0.3
        x2, y2 = cx + math.cos(a) * r, cy + math.sin(a) * r
        out.append('<path d="M%s %s L%s %s" stroke="%s" stroke-width="4" opacity="0.9"/>' % (fmt(x1), fmt(y1), fmt(x2), fmt(y2), col))
        out.append('<circle cx="%s" cy="%s" r="4" fill="#ffffff"/>' % (fmt(x2), fmt(y2)))
    out.append('<circle cx="%s" cy="%s" r="%s" fill="%s" opacity="0.5"/>' % (fmt(cx), fmt(cy), fmt(r * 0.45), col))
    out.append('<circle cx="%s" cy="%s" r="%s" fill="url(#glow)"/>' % (fmt(cx), fmt(cy), fmt(r * 0.5)))
    out.append('</g>')
    return ''.join(out)


def rosette(x, y, r, col):
    out = ['<path d="M%s %s l%s %s l%s %s Z M%s %s l%s %s l%s %s Z" fill="%s" stroke="%s" stroke-width="2"/>'
           % (fmt(x - r * 0.3), fmt(y), fmt(-r * 0.4), fmt(r * 2), fmt(r * 0.6), fmt(-r * 0.3),
              fmt(x + r * 0.3), fmt(y), fmt(r * 0.4), fmt(r * 2), fmt(-r * 0.6), fmt(-r * 0.3), shade(col, 0.85), INK)]
    pts = []
    for k in range(24):
        a = 2 * math.pi * k / 24
        rr = r if k % 2 == 0 else r * 0.84
        pts.append('%s,%s' % (fmt(x + math.cos(a) * rr), fmt(y + math.sin(a) * rr)))
    out.append('<path d="M%s Z" fill="%s" stroke="%s" stroke-width="2"/>' % (' L'.join(pts), col, INK))
    out.append('<circle cx="%s" cy="%s" r="%s" fill="#ffd23a" stroke="%s" stroke-width="2"/>' % (fmt(x), fmt(y), fmt(r * 0.5), INK))
    out.append(star_path(x, y, r * 0.36, r * 0.15).join(['<path d="', '" fill="#fff6c0"/>']))
    return ''.join(out)
