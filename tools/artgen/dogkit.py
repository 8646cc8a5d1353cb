"""Drawing kit for the dogs, their costumes and their owners.

One parametric sitting dog (breed parameters: size, head, muzzle, ears,
coat colours, markings, fluff, tail) and costume pieces placed on its head,
face and neck; one parametric head-and-shoulders person for the owners.
Everything is drawn with the house style: one light from the top-left,
three-tone gradients, a dark outline in the part's own hue, soft highlights.
"""
import math
from svgkit import fmt, shade, mix, lin, rad, blur, ellipse_path, circle_path, rrect_path, star_path


def _sh(color, light, sat=1.0):
    """shade() that keeps near-white colours from turning into strong hues
    (their HLS saturation is high even when they look white)."""
    import colorsys
    from svgkit import hex2rgb
    _h, l, _s = colorsys.rgb_to_hls(*hex2rgb(color))
    if l > 0.85:
        sat *= 0.22
    return shade(color, light, sat)


class Ctx:
    """Collects the gradients and clip paths of one picture. Gradient ids come
    from their content, so two drawings nested in one picture may share them."""

    def __init__(self, prefix, width=3.0):
        self.prefix = prefix
        self.defs = {}
        self.n = 0
        self.w = width  # outline width in the current drawing units
        self.ubox = (0, 0, 1, 1)

    def grad(self, color, kind='body'):
        gid = 'k%s%s' % (kind[0], color.lstrip('#'))
        if gid not in self.defs:
            if kind == 'body':
                st = [(0, mix(shade(color, 1.22, 0.95), '#ffffff', 0.12)), (0.45, color), (1, _sh(color, 0.76, 1.05))]
                self.defs[gid] = lin(gid, 0.15, 0.05, 0.85, 1, st)
            elif kind == 'round':
                st = [(0, mix(shade(color, 1.25), '#ffffff', 0.2)), (0.55, color), (1, _sh(color, 0.7, 1.05))]
                self.defs[gid] = rad(gid, 0.38, 0.32, 0.75, st)
            elif kind == 'user':
                # one shading field over the whole dog, so its parts join without seams
                x1, y1, x2, y2 = self.ubox
                st = [(0, mix(shade(color, 1.2, 0.95), '#ffffff', 0.1)), (0.5, color), (1, _sh(color, 0.8, 1.05))]
                self.defs[gid] = lin(gid, x1, y1, x2, y2, st, units='userSpaceOnUse')
            elif kind == 'flat':
                st = [(0, shade(color, 1.04)), (1, _sh(color, 0.9))]
                self.defs[gid] = lin(gid, 0, 0, 0, 1, st)
            else:  # vertical
                st = [(0, mix(shade(color, 1.18), '#ffffff', 0.1)), (1, _sh(color, 0.8))]
                self.defs[gid] = lin(gid, 0, 0, 0, 1, st)
        return 'url(#%s)' % gid

    def uid(self):
        self.n += 1
        return '%s%d' % (self.prefix, self.n)

    def clip(self, d):
        cid = self.uid()
        self.defs[cid] = '<clipPath id="%s"><path d="%s"/></clipPath>' % (cid, d)
        return 'url(#%s)' % cid

    def extra_def(self, key, text):
        self.defs[key] = text

    def defs_text(self):
        return ''.join(self.defs[k] for k in sorted(self.defs))

    def ink(self, color):
        return _sh(color, 0.42, 1.1)

    def shape(self, d, color, kind='body', ink=None, w=None, extra=''):
        w = self.w if w is None else w
        return ('<path d="%s" fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"%s/>'
                % (d, self.grad(color, kind), ink or self.ink(color), fmt(w), extra))

    def layer(self, parts, w=None):
        """Parts (path, colour[, kind]) drawn as one silhouette: a doubled
        outline under all fills, so overlaps inside the layer show no line."""
        w = self.w if w is None else w
        out = ['<g stroke-linejoin="round">']
        for p in parts:
            out.append('<path d="%s" fill="%s" stroke="%s" stroke-width="%s"/>' % (p[0], self.ink(p[1]), self.ink(p[1]), fmt(2 * w)))
        for p in parts:
            out.append('<path d="%s" fill="%s"/>' % (p[0], self.grad(p[1], p[2] if len(p) > 2 else 'body')))
        out.append('</g>')
        return ''.join(out)


def P(*pts):
    return ' '.join(fmt(v) if isinstance(v, (int, float)) else v for v in pts)


def blob(cx, cy, rx, ry, bumps=0, amp=0.0, rot=0.0, phase=0.0):
    """An ellipse, or with bumps > 0 a scalloped (fluffy) ellipse."""
    if bumps <= 0:
        if rot:
            return ('M%s %s A%s %s %s 1 0 %s %s A%s %s %s 1 0 %s %s Z'
                    % (fmt(cx - rx * math.cos(math.radians(rot))), fmt(cy - rx * math.sin(math.radians(rot))),
                       fmt(rx), fmt(ry), fmt(rot), fmt(cx + rx * math.cos(math.radians(rot))),
                       fmt(cy + rx * math.sin(math.radians(rot))), fmt(rx), fmt(ry), fmt(rot),
                       fmt(cx - rx * math.cos(math.radians(rot))), fmt(cy - rx * math.sin(math.radians(rot)))))
        return ellipse_path(cx, cy, rx, ry)
    a0 = math.radians(rot)
    pts = []
    for i in range(bumps):
        t = 2 * math.pi * (i + phase) / bumps
        x, y = rx * math.cos(t), ry * math.sin(t)
        pts.append((cx + x * math.cos(a0) - y * math.sin(a0), cy + x * math.sin(a0) + y * math.cos(a0)))
    d = 'M%s %s' % (fmt(pts[0][0]), fmt(pts[0][1]))
    for i in range(bumps):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % bumps]
        mx, my = (ax + bx) / 2, (ay + by) / 2
        ox, oy = mx - cx, my - cy
        ln = math.hypot(ox, oy) or 1
        k = amp * math.hypot(bx - ax, by - ay)
        d += ' Q%s %s %s %s' % (fmt(mx + ox / ln * k), fmt(my + oy / ln * k), fmt(bx), fmt(by))
    return d + ' Z'


# ----------------------------------------------------------------------------
# The dog
# ----------------------------------------------------------------------------

def dog_geometry(b):
    """Anchor points of a breed in dog units (ground at y 0, centre x 0)."""
    L = 70 * b.get('legs', 1.0)
    B = 105 * b.get('body', 1.0)
    R = 64 * b.get('head', 1.0)
    neck_y = -(L + B * 0.78)
    hy = neck_y - R * 0.55
    return dict(L=L, B=B, R=R, hx=0.0, hy=hy, neck_y=neck_y, top=hy - R * b.get('head_h', 0.92),
                chest_y=-(L + B * 0.35), bw=48 * b.get('width', 1.0))


def _tail(ctx, b, g, fl):
    kind = b.get('tail', 'whip')
    c = b['coat']
    bw, L = g['bw'], g['L']
    x0, y0 = bw * 0.9 + b.get('long', 0) * 40, -18
    tip = b.get('tail_tip')
    if kind == 'stub':
        return [(blob(x0 + 24, y0 - 22, 13, 11, 7 if fl else 0, 0.3), c)]
    if kind == 'curl':
        d = ('M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z'
             % tuple(fmt(v) for v in (x0 - 4, y0 - 40, x0 + 30, y0 - 120, x0 + 95, y0 - 95, x0 + 70, y0 - 55,
                                      x0 + 55, y0 - 30, x0 + 42, y0 - 70, x0 + 48, y0 - 80,
                                      x0 + 35, y0 - 65, x0 + 30, y0 - 35, x0 + 14, y0 - 20)))
        return [(d, c)] + ([(blob(x0 + 66, y0 - 82, 26, 24, 9, 0.35), c)] if fl else [])
    if kind == 'pom':
        d = 'M%s %s Q%s %s %s %s L%s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            x0, y0 - 30, x0 + 40, y0 - 60, x0 + 52, y0 - 120, x0 + 62, y0 - 118, x0 + 54, y0 - 50, x0 + 6, y0 - 14))
        return [(d, c), (blob(x0 + 58, y0 - 128, 24, 22, 10, 0.35), b.get('fluffc', c))]
    if kind == 'plume':
        d = ('M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z'
             % tuple(fmt(v) for v in (x0, y0 - 34, x0 + 40, y0 - 60, x0 + 55, y0 - 120, x0 + 48, y0 - 150,
                                      x0 + 68, y0 - 120, x0 + 62, y0 - 50, x0 + 4, y0 - 12)))
        parts = [(d, c)]
        if tip:
            parts.append(('M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z'
                          % tuple(fmt(v) for v in (x0 + 53, y0 - 122, x0 + 52, y0 - 135, x0 + 50, y0 - 142, x0 + 48, y0 - 150,
                                                   x0 + 62, y0 - 138, x0 + 66, y0 - 122, x0 + 60, y0 - 112)), tip))
        return parts
    if kind == 'otter':
        d = ('M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z'
             % tuple(fmt(v) for v in (x0, y0 - 30, x0 + 50, y0 - 36, x0 + 90, y0 - 40, x0 + 112, y0 - 78,
                                      x0 + 106, y0 - 30, x0 + 60, y0 - 4, x0 + 4, y0 - 4)))
        return [(d, c)]
    # whip: thin and curving up
    d = ('M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z'
         % tuple(fmt(v) for v in (x0, y0 - 26, x0 + 56, y0 - 30, x0 + 70, y0 - 90, x0 + 64, y0 - 128,
                                  x0 + 84, y0 - 96, x0 + 76, y0 - 20, x0 + 4, y0 - 8)))
    return [(d, c)]


def _ear_paths(b, g, side):
    """Path of one ear (side -1 left, +1 right) and whether it hangs in front."""
    R, hx, hy = g['R'], g['hx'], g['hy']
    kind = b.get('ears', 'flop')
    s = side
    ex = hx + s * R * 0.78
    ey = hy - R * 0.55
    if kind == 'point':
        h = R * b.get('ear_len', 0.95)
        d = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
             % tuple(fmt(v) for v in (hx + s * R * 0.22, hy - R * 0.7, hx + s * R * 0.45, hy - R * 0.7 - h * 0.9,
                                      hx + s * R * 0.78, hy - R * 0.62 - h, hx + s * R * 1.02, hy - R * 0.45 - h * 0.4,
                                      hx + s * R * 0.92, hy - R * 0.18)))
        inner = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
                 % tuple(fmt(v) for v in (hx + s * R * 0.38, hy - R * 0.66, hx + s * R * 0.52, hy - R * 0.7 - h * 0.72,
                                          hx + s * R * 0.76, hy - R * 0.64 - h * 0.78, hx + s * R * 0.9, hy - R * 0.5 - h * 0.3,
                                          hx + s * R * 0.84, hy - R * 0.3)))
        return d, inner, False
    if kind == 'bat':
        h = R * b.get('ear_len', 1.1)
        d = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
             % tuple(fmt(v) for v in (hx + s * R * 0.35, hy - R * 0.65, hx + s * R * 0.8, hy - R * 0.6 - h * 0.95,
                                      hx + s * R * 1.55, hy - R * 0.55 - h * 0.8, hx + s * R * 1.35, hy - R * 0.2,
                                      hx + s * R * 0.9, hy - R * 0.05)))
        inner = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
                 % tuple(fmt(v) for v in (hx + s * R * 0.55, hy - R * 0.6, hx + s * R * 0.85, hy - R * 0.6 - h * 0.7,
                                          hx + s * R * 1.38, hy - R * 0.55 - h * 0.62, hx + s * R * 1.2, hy - R * 0.28,
                                          hx + s * R * 0.9, hy - R * 0.2)))
        return d, inner, False
    if kind == 'fold':
        d = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
             % tuple(fmt(v) for v in (hx + s * R * 0.45, hy - R * 0.78, hx + s * R * 1.05, hy - R * 1.0,
                                      hx + s * R * 1.12, hy - R * 0.45, hx + s * R * 0.9, hy - R * 0.55,
                                      hx + s * R * 0.7, hy - R * 0.55)))
        return d, None, True
    if kind == 'curly':
        return blob(ex + s * R * 0.22, hy + R * 0.15, R * 0.38, R * 0.62, 12, 0.38), None, True
    if kind == 'fluffy_point':
        h = R * 0.75
        d = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
             % tuple(fmt(v) for v in (hx + s * R * 0.25, hy - R * 0.72, hx + s * R * 0.45, hy - R * 0.75 - h,
                                      hx + s * R * 0.72, hy - R * 0.7 - h, hx + s * R * 1.0, hy - R * 0.5 - h * 0.3,
                                      hx + s * R * 0.9, hy - R * 0.25)))
        inner = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
                 % tuple(fmt(v) for v in (hx + s * R * 0.42, hy - R * 0.7, hx + s * R * 0.52, hy - R * 0.72 - h * 0.75,
                                          hx + s * R * 0.72, hy - R * 0.68 - h * 0.78, hx + s * R * 0.86, hy - R * 0.5 - h * 0.3,
                                          hx + s * R * 0.8, hy - R * 0.35)))
        return d, inner, False
    # flop: hangs beside the face; ear_len from short (lab) to long (beagle, dachshund)
    ln = R * b.get('ear_len', 1.0)
    wd = R * b.get('ear_w', 0.42)
    top = (hx + s * R * 0.62, hy - R * 0.72)
    d = ('M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z'
         % tuple(fmt(v) for v in (top[0], top[1],
                                  top[0] + s * wd * 1.5, top[1] - R * 0.05, top[0] + s * wd * 1.6, top[1] + ln * 0.7,
                                  top[0] + s * wd * 1.1, top[1] + ln * 1.05,
                                  top[0] + s * wd * 0.6, top[1] + ln * 1.22, top[0] - s * wd * 0.15, top[1] + ln * 1.0,
                                  top[0] - s * wd * 0.05, top[1] + ln * 0.6,
                                  top[0] - s * wd * 0.05, top[1] + ln * 0.3, top[0] - s * wd * 0.2, top[1] + 4,
                                  top[0], top[1])))
    return d, None, True


def _head_path(b, g):
    R, hx, hy = g['R'], g['hx'], g['hy']
    hw = b.get('head_w', 1.0)
    hh = b.get('head_h', 0.92)
    fl = b.get('fluff', 0)
    if fl:
        return blob(hx, hy, R * hw, R * hh, 16, 0.22 * fl, phase=0.5)
    # a soft rounded head, wider at the cheeks
    top, bot = hy - R * hh, hy + R * hh * 0.92
    wl, wr = hx - R * hw, hx + R * hw
    return ('M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z'
            % tuple(fmt(v) for v in (hx, top,
                                     hx + R * hw * 0.62, top, wr, hy - R * hh * 0.62, wr, hy + R * 0.08,
                                     wr, hy + R * 0.6, hx + R * hw * 0.6, bot, hx, bot,
                                     hx - R * hw * 0.6, bot, wl, hy + R * 0.6, wl, hy + R * 0.08,
                                     wl, hy - R * hh * 0.62, hx - R * hw * 0.62, top, hx, top)))


def draw_dog(ctx, b, dressed=None, mood='happy'):
    """The sitting dog in dog units; dressed is a list of costume pieces.
    Returns the body text; the caller places it with a transform."""
    g = dog_geometry(b)
    L, B, R, hx, hy, bw = g['L'], g['B'], g['R'], g['hx'], g['hy'], g['bw']
    c, c2, belly = b['coat'], b.get('coat2', b['coat']), b.get('belly', b['coat'])
    fl = b.get('fluff', 0)
    long_ = b.get('long', 0) * 40
    out = []
    # ground shadow
    out.append('<ellipse cx="%s" cy="0" rx="%s" ry="%s" fill="#000" opacity="0.22"/>' % (fmt(long_ * 0.5 + 12), fmt(bw * 2.2 + long_ * 0.6), fmt(10)))
    dressed = dressed or []
    ctx.ubox = (-bw * 1.3, g['top'], bw * 1.5 + long_, 0)
    # costume pieces that hang behind the dog (capes)
    for piece in dressed:
        if piece[0] in ('cape',):
            out.append(costume(ctx, piece, g, b, back=True))
    # layer A: tail, haunch, torso
    A = [(p[0], p[1], 'user') for p in _tail(ctx, b, g, fl)]
    hx_, hr = bw * 0.62 + long_, 46 * b.get('width', 1.0) * (1.0 + 0.15 * b.get('long', 0))
    haunch = blob(hx_, -hr * 0.95, hr * 1.05, hr, 14 if fl else 0, 0.25 * fl)
    torso_top = g['neck_y'] + 6
    nw = bw * 0.62
    if fl:
        torso = blob(long_ * 0.3, (torso_top - 6) / 2, bw * 1.02 + long_ * 0.3, -(torso_top - 6) / 2 * 1.02, 18, 0.2 * fl)
    else:
        torso = ('M%s %s C%s %s %s %s %s %s L%s %s C%s %s %s %s %s %s Z'
                 % tuple(fmt(v) for v in (-nw, torso_top, -bw * 1.2, torso_top + B * 0.5, -bw * 1.15, -8, -bw * 0.6, -4,
                                          bw * 0.6 + long_, -4, bw * 1.2 + long_, -8, bw * 1.2 + long_ * 0.8, torso_top + B * 0.45,
                                          nw, torso_top)))
    # front legs, merged with the torso; their outline shows only below the chest
    lw = 12.5 * b.get('width', 1.0) * b.get('leg_w', 1.0)
    legc = b.get('legc', c)
    paw = b.get('paw', legc)
    legs, paws = [], []
    for s in (-1, 1):
        lx = s * bw * 0.42
        top = -L - B * 0.25
        d = ('M%s %s L%s %s Q%s %s %s %s Q%s %s %s %s L%s %s Z'
             % tuple(fmt(v) for v in (lx - lw, top, lx - lw * 0.92, -12, lx - lw * 0.9, -2, lx, -2,
                                      lx + lw * 0.9, -2, lx + lw * 0.92, -12, lx + lw, top)))
        legs.append((d, legc, 'user'))
        if b.get('pompaws'):
            paws.append((blob(lx + s * 2, -14, lw * 1.6, 17, 12, 0.35), b.get('fluffc', paw), 'user'))
        else:
            paws.append((blob(lx + s * 2, -8, lw * 1.3, 10, 0, 0), paw, 'user'))
    hpaw = (blob(hx_ + hr * 0.35, -9, hr * 0.55, 11, 0, 0), paw, 'user')
    A += [(haunch, c, 'user'), hpaw, (torso, c, 'user')] + legs + paws
    out.append(ctx.layer(A))
    cut = ctx.clip('M-400 %s H400 V40 H-400 Z' % fmt(-L * 0.62))
    out.append('<g clip-path="%s" fill="none" stroke-linecap="round">' % cut)
    for d, col, _k in legs:
        out.append('<path d="%s" stroke="%s" stroke-width="%s"/>' % (d, ctx.ink(col), fmt(ctx.w * 0.9)))
    out.append('</g>')
    # the thigh's line inside the silhouette
    inside = ctx.clip(torso + ' ' + haunch)
    out.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s" clip-path="%s" opacity="0.8"/>' % (haunch, ctx.ink(c), fmt(ctx.w * 0.8), inside))
    for d, col, _k in paws + [hpaw]:
        out.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s"/>' % (d, ctx.ink(col), fmt(ctx.w * 0.8)))
    # markings on the torso: saddle, spots, bib
    clipt = ctx.clip(torso + ' ' + haunch)
    mk = b.get('marks', [])
    inner = []
    if 'saddle' in mk:
        inner.append('<path d="%s" fill="%s"/>' % (blob(bw * 1.15 + long_, -B * 1.12, bw * 0.75 + long_ * 0.5, B * 0.4), c2))
    if 'bib' in mk or 'tan' in mk:
        bib = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
               % tuple(fmt(v) for v in (-nw * 0.9, torso_top, -bw * 0.75, -B * 0.5, 0, -8, bw * 0.75, -B * 0.5, nw * 0.9, torso_top)))
        inner.append('<path d="%s" fill="%s"/>' % (bib, belly))
    # soft shade on the lower right of the torso
    ctx.extra_def('dsoft', blur('dsoft', 10, 0.6))
    inner.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#000" opacity="0.12" filter="url(#dsoft)"/>' % (fmt(bw * 1.0 + long_), fmt(-B * 0.25), fmt(bw * 0.8), fmt(B * 0.4)))
    out.append('<g clip-path="%s">%s</g>' % (clipt, ''.join(inner)))
    if 'spots' in mk:
        clipa = ctx.clip(' '.join(p[0] for p in A if p[1] in (c, legc)))
        sp = ''.join('<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (fmt(sx * bw), fmt(sy * B), fmt(sr), c2) for sx, sy, sr in b.get('spot_list', []))
        out.append('<g clip-path="%s">%s</g>' % (clipa, sp))
    # toe lines
    for s in ((-1, 1) if not b.get('pompaws') else ()):
        lx = s * bw * 0.42 + s * 2
        for t in (-0.45, 0.45):
            out.append('<path d="M%s -2 v-7" stroke="%s" stroke-width="%s" stroke-linecap="round"/>'
                       % (fmt(lx + t * lw), ctx.ink(paw), fmt(ctx.w * 0.6)))
    # neck pieces that sit under the head (collars, scarves)
    for piece in dressed:
        if piece[0] in ('scarf', 'neckerchief', 'sailor', 'pearls', 'bowtie', 'barrel', 'garland', 'collar', 'ruff', 'cape'):
            out.append(costume(ctx, piece, g, b))
    # head layer: back ears, head, front ears
    head = _head_path(b, g)
    ears = [(_ear_paths(b, g, s), s) for s in (-1, 1)]
    earc = b.get('earc', c)
    backs = [(e[0][0], earc) for e in ears if not e[0][2]]
    out.append(ctx.layer(backs + [(head, c, 'round')]))
    for e, s in ears:
        if not e[2] and e[1]:
            out.append('<path d="%s" fill="%s" opacity="0.85"/>' % (e[1], b.get('ear_in', '#f3b5a8')))
    # face markings, clipped to the head
    cliph = ctx.clip(head)
    fm = []
    mw = R * b.get('muzzle_w', 0.52)
    ml = R * b.get('muzzle', 0.5)
    my = hy + R * 0.38
    if 'blaze' in mk:
        fm.append('<path d="M%s %s Q%s %s %s %s L%s %s Q%s %s %s %s Z" fill="%s"/>'
                  % (fmt(hx - R * 0.1), fmt(hy - R * 1.0), fmt(hx - R * 0.16), fmt(hy - R * 0.1), fmt(hx - mw), fmt(my),
                     fmt(hx + mw), fmt(my), fmt(hx + R * 0.16), fmt(hy - R * 0.1), fmt(hx + R * 0.1), fmt(hy - R * 1.0), belly))
    if 'cap' in mk:  # darker top of the head and round the eyes
        fm.append('<path d="%s" fill="%s"/>' % (blob(hx, hy - R * 0.55, R * 1.2, R * 0.6), c2))
    if 'eyepatch' in mk:
        fm.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/>' % (fmt(hx + R * 0.36), fmt(hy - R * 0.12), fmt(R * 0.3), fmt(R * 0.26), c2))
    if 'spots' in mk:
        for sx, sy, sr in ((-0.55, -0.6, 0.07), (0.7, -0.35, 0.06), (-0.75, 0.1, 0.05), (0.15, -0.75, 0.05), (0.62, 0.28, 0.045)):
            fm.append('<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (fmt(hx + sx * R), fmt(hy + sy * R), fmt(sr * R), c2))
    if 'wrinkles' in mk:
        for k in range(2):
            yy = hy - R * (0.5 + 0.14 * k)
            fm.append('<path d="M%s %s Q%s %s %s %s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round" opacity="0.55"/>'
                      % (fmt(hx - R * 0.22), fmt(yy), fmt(hx), fmt(yy - R * 0.1), fmt(hx + R * 0.22), fmt(yy), ctx.ink(c), fmt(ctx.w * 0.6)))
    if 'cheeks' in mk:
        for s in (-1, 1):
            fm.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/>' % (fmt(hx + s * R * 0.55), fmt(hy + R * 0.45), fmt(R * 0.42), fmt(R * 0.4), belly))
    if 'tan' in mk:
        for s in (-1, 1):
            fm.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/>' % (fmt(hx + s * R * 0.36), fmt(hy - R * 0.42), fmt(R * 0.1), fmt(R * 0.07), b.get('tanc', '#c8843c')))
    fm.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ffffff" opacity="0.22"/>' % (fmt(hx - R * 0.35), fmt(hy - R * 0.5), fmt(R * 0.35), fmt(R * 0.2)))
    fm.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#000" opacity="0.12" filter="url(#dsoft)"/>' % (fmt(hx + R * 0.75), fmt(hy + R * 0.45), fmt(R * 0.45), fmt(R * 0.5)))
    out.append('<g clip-path="%s">%s</g>' % (cliph, ''.join(fm)))
    # muzzle
    mc = b.get('muzzlec', belly)
    muz = blob(hx, my, mw, ml * 0.62 + R * 0.1, 0, 0)
    out.append(ctx.shape(muz, mc, 'round', w=ctx.w * 0.7))
    if 'mask' in mk:
        out.append('<path d="%s" fill="%s" opacity="0.92"/>' % (blob(hx, my - R * 0.05, mw * 0.92, ml * 0.55 + R * 0.08), c2))
    # eyes
    ey = hy - R * 0.12
    ex = R * b.get('eye_sp', 0.36)
    er = R * 0.13 * b.get('eye', 1.0)
    for s in (-1, 1):
        cx = hx + s * ex
        out.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#2a1a12"/>' % (fmt(cx), fmt(ey), fmt(er), fmt(er * 1.18)))
        out.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#5a3a28"/>' % (fmt(cx + er * 0.15), fmt(ey + er * 0.35), fmt(er * 0.6), fmt(er * 0.55)))
        out.append('<circle cx="%s" cy="%s" r="%s" fill="#ffffff"/>' % (fmt(cx - er * 0.35), fmt(ey - er * 0.45), fmt(er * 0.42)))
        out.append('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" opacity="0.8"/>' % (fmt(cx + er * 0.4), fmt(ey + er * 0.45), fmt(er * 0.18)))
        # brow
        out.append('<path d="M%s %s Q%s %s %s %s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round" opacity="0.7"/>'
                   % (fmt(cx - er * 1.0), fmt(ey - er * 1.7 + (0 if s < 0 else 0)), fmt(cx), fmt(ey - er * 2.3),
                      fmt(cx + er * 1.0), fmt(ey - er * 1.7), ctx.ink(c), fmt(ctx.w * 0.6)))
    # nose and mouth
    ny = my - ml * 0.28
    nr = R * 0.17 * b.get('nose', 1.0)
    nose = ('M%s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Z'
            % tuple(fmt(v) for v in (hx - nr, ny - nr * 0.45, hx, ny - nr * 0.85, hx + nr, ny - nr * 0.45,
                                     hx + nr * 0.8, ny + nr * 0.55, hx, ny + nr * 0.7, hx - nr * 0.8, ny + nr * 0.55, hx - nr, ny - nr * 0.45)))
    out.append(ctx.shape(nose, b.get('nosec', '#2a2220'), 'round', w=ctx.w * 0.5))
    out.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ffffff" opacity="0.6"/>' % (fmt(hx - nr * 0.35), fmt(ny - nr * 0.35), fmt(nr * 0.32), fmt(nr * 0.16)))
    mouth_y = ny + nr * 0.7
    mwid = mw * 0.55
    ink = ctx.ink(mc)
    if mood == 'happy':
        tongue = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
                  % tuple(fmt(v) for v in (hx - mwid * 0.45, mouth_y + R * 0.12, hx - mwid * 0.5, mouth_y + R * 0.4, hx, mouth_y + R * 0.42,
                                           hx + mwid * 0.5, mouth_y + R * 0.4, hx + mwid * 0.45, mouth_y + R * 0.12)))
        out.append(ctx.shape(tongue, '#f0727a', 'round', w=ctx.w * 0.5))
        out.append('<path d="M%s %s v%s" stroke="#c24a56" stroke-width="%s" stroke-linecap="round"/>' % (fmt(hx), fmt(mouth_y + R * 0.18), fmt(R * 0.14), fmt(ctx.w * 0.4)))
    out.append('<path d="M%s %s v%s M%s %s Q%s %s %s %s M%s %s Q%s %s %s %s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round"/>'
               % (fmt(hx), fmt(mouth_y), fmt(R * 0.1), fmt(hx - mwid), fmt(mouth_y + R * 0.02), fmt(hx - mwid * 0.5), fmt(mouth_y + R * 0.2),
                  fmt(hx), fmt(mouth_y + R * 0.1), fmt(hx), fmt(mouth_y + R * 0.1), fmt(hx + mwid * 0.5), fmt(mouth_y + R * 0.2),
                  fmt(hx + mwid), fmt(mouth_y + R * 0.02), ink, fmt(ctx.w * 0.65)))
    # cheek blush
    for s in (-1, 1):
        out.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ff7f8a" opacity="0.28"/>' % (fmt(hx + s * R * 0.62), fmt(hy + R * 0.25), fmt(R * 0.15), fmt(R * 0.09)))
    # front ears (floppy) over the head
    fronts = [(e[0], earc) for e, s in ears if e[2]]
    if fronts:
        out.append(ctx.layer(fronts))
        for e, s in ears:
            if e[2]:
                cl = ctx.clip(e[0])
                out.append('<g clip-path="%s"><ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#000" opacity="0.14"/></g>'
                           % (cl, fmt(hx + s * R * 1.2), fmt(hy + R * 0.6), fmt(R * 0.3), fmt(R * 0.7)))
    # poodle top knot
    if b.get('topknot'):
        out.append(ctx.layer([(blob(hx, hy - R * 0.95, R * 0.62, R * 0.42, 13, 0.38), b.get('fluffc', c))]))
    # head and face pieces of the costume
    for piece in dressed:
        if piece[0] not in ('scarf', 'neckerchief', 'sailor', 'pearls', 'bowtie', 'barrel', 'garland', 'collar', 'ruff', 'cape'):
            out.append(costume(ctx, piece, g, b))
    return ''.join(out)


# ----------------------------------------------------------------------------
# Costume pieces. Each piece is (kind, colour, colour2). Hats sit on the top of
# the head (g['top']); neck pieces at g['neck_y'].
# ----------------------------------------------------------------------------

def _hat(ctx, kind, x, top, R, c1, c2, tilt=-8):
    """A hat whose brim centre sits at (x, top); R is the head's radius."""
    out = ['<g transform="rotate(%s %s %s)">' % (fmt(tilt), fmt(x), fmt(top))]
    w = ctx.w
    if kind == 'chef':
        band = rrect_path(x - R * 0.62, top - R * 0.42, R * 1.24, R * 0.5, R * 0.1)
        puff = ('M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z'
                % tuple(fmt(v) for v in (x - R * 0.6, top - R * 0.38, x - R * 1.05, top - R * 0.6, x - R * 0.9, top - R * 1.35, x - R * 0.4, top - R * 1.15,
                                         x - R * 0.3, top - R * 1.6, x + R * 0.4, top - R * 1.6, x + R * 0.42, top - R * 1.15,
                                         x + R * 0.9, top - R * 1.35, x + R * 1.05, top - R * 0.6, x + R * 0.6, top - R * 0.38,
                                         x + R * 0.2, top - R * 0.45, x - R * 0.2, top - R * 0.45, x - R * 0.6, top - R * 0.38)))
        out.append(ctx.layer([(puff, c1, 'round'), (band, c1, 'vert')]))
        out.append('<path d="M%s %s Q%s %s %s %s" fill="none" stroke="%s" stroke-width="%s" opacity="0.6"/>' % (
            fmt(x - R * 0.15), fmt(top - R * 0.5), fmt(x - R * 0.05), fmt(top - R * 0.9), fmt(x - R * 0.25), fmt(top - R * 1.2), ctx.ink(c1), fmt(w * 0.5)))
        out.append('<path d="M%s %s H%s" stroke="%s" stroke-width="%s" opacity="0.35"/>' % (fmt(x - R * 0.58), fmt(top - R * 0.2), fmt(x + R * 0.58), ctx.ink(c1), fmt(w * 0.5)))
    elif kind == 'captain':
        brim = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
                % tuple(fmt(v) for v in (x - R * 0.75, top - R * 0.1, x, top + R * 0.28, x + R * 0.75, top - R * 0.1, x, top + R * 0.05, x - R * 0.75, top - R * 0.1)))
        crown = ('M%s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Z'
                 % tuple(fmt(v) for v in (x - R * 0.72, top - R * 0.12, x - R * 1.05, top - R * 0.75, x - R * 0.2, top - R * 0.8,
                                          x + R * 0.95, top - R * 0.85, x + R * 0.78, top - R * 0.12, x, top - R * 0.02, x - R * 0.72, top - R * 0.12)))
        band = rrect_path(x - R * 0.74, top - R * 0.36, R * 1.5, R * 0.26, R * 0.06)
        out.append(ctx.layer([(crown, c1, 'round')]))
        out.append(ctx.shape(band, c2, 'vert'))
        out.append(ctx.shape(brim, '#2a2d3a', 'vert'))
        out.append('<path d="%s" fill="#ffd93a" stroke="#8a6010" stroke-width="%s"/>' % (star_path(x, top - R * 0.52, R * 0.16, R * 0.07), fmt(w * 0.5)))
        out.append('<path d="M%s %s Q%s %s %s %s" stroke="#ffd93a" stroke-width="%s" fill="none"/>' % (
            fmt(x - R * 0.6), fmt(top - R * 0.1), fmt(x), fmt(top + R * 0.12), fmt(x + R * 0.6), fmt(top - R * 0.1), fmt(w * 0.8)))
    elif kind == 'tiara':
        pts = []
        for i in range(7):
            px = x - R * 0.6 + i * R * 0.2
            py = top - (R * (0.55 if i == 3 else 0.35 if i % 2 else 0.18))
            pts.append((px, py))
        d = 'M%s %s ' % (fmt(x - R * 0.68), fmt(top + R * 0.02))
        for i, (px, py) in enumerate(pts):
            d += 'L%s %s L%s %s ' % (fmt(px), fmt(py), fmt(px + R * 0.1), fmt(top - R * 0.1))
        d += 'L%s %s Q%s %s %s %s Z' % (fmt(x + R * 0.68), fmt(top + R * 0.02), fmt(x), fmt(top - R * 0.12), fmt(x - R * 0.68), fmt(top + R * 0.02))
        out.append(ctx.shape(d, c1, 'vert'))
        for i, (px, py) in enumerate(pts):
            if i % 2 == 0:
                out.append('<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="%s" stroke-width="%s"/>' % (
                    fmt(px), fmt(py), fmt(R * (0.1 if i == 3 else 0.06)), c2, ctx.ink(c2), fmt(w * 0.4)))
        out.append('<path d="%s" fill="#ffffff"/>' % star_path(pts[3][0] - R * 0.03, pts[3][1] - R * 0.03, R * 0.06, R * 0.015, 4))
    elif kind == 'helmet':
        dome = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z'
                % tuple(fmt(v) for v in (x - R * 0.78, top + R * 0.05, x - R * 0.8, top - R * 1.0, x, top - R * 1.02,
                                         x + R * 0.8, top - R * 1.0, x + R * 0.78, top + R * 0.05)))
        brim = ('M%s %s Q%s %s %s %s Q%s %s %s %s L%s %s Z'
                % tuple(fmt(v) for v in (x - R * 1.05, top - R * 0.02, x, top - R * 0.22, x + R * 1.2, top + R * 0.02,
                                         x + R * 1.3, top + R * 0.35, x + R * 0.5, top + R * 0.18, x - R * 1.05, top - R * 0.02)))
        out.append(ctx.layer([(brim, c1, 'vert'), (dome, c1, 'round')]))
        out.append('<path d="M%s %s Q%s %s %s %s" fill="none" stroke="%s" stroke-width="%s"/>' % (
            fmt(x), fmt(top - R * 0.1), fmt(x - R * 0.05), fmt(top - R * 0.7), fmt(x), fmt(top - R * 1.0), ctx.ink(c1), fmt(w * 0.7)))
        shield = ('M%s %s L%s %s L%s %s L%s %s Z' % tuple(fmt(v) for v in (
            x - R * 0.25, top - R * 0.72, x + R * 0.25, top - R * 0.72, x + R * 0.22, top - R * 0.3, x - R * 0.22, top - R * 0.3)))
        out.append(ctx.shape(shield, c2, 'round', w=w * 0.6))
        out.append('<path d="%s" fill="%s"/>' % (star_path(x, top - R * 0.5, R * 0.12, R * 0.05, 5), c1))
    elif kind == 'mortarboard':
        cap = ('M%s %s Q%s %s %s %s L%s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            x - R * 0.6, top + R * 0.02, x - R * 0.62, top - R * 0.38, x - R * 0.5, top - R * 0.42,
            x + R * 0.5, top - R * 0.42, x + R * 0.62, top - R * 0.38, x + R * 0.6, top + R * 0.02)))
        board = ('M%s %s L%s %s L%s %s L%s %s Z' % tuple(fmt(v) for v in (
            x - R * 1.05, top - R * 0.5, x, top - R * 0.78, x + R * 1.05, top - R * 0.5, x, top - R * 0.26)))
        out.append(ctx.shape(cap, c1, 'vert'))
        out.append(ctx.shape(board, c1, 'body'))
        out.append('<path d="M%s %s Q%s %s %s %s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round"/>' % (
            fmt(x), fmt(top - R * 0.52), fmt(x + R * 0.65), fmt(top - R * 0.5), fmt(x + R * 0.78), fmt(top - R * 0.05), c2, fmt(w * 0.9)))
        out.append('<path d="%s" fill="%s" stroke="%s" stroke-width="%s"/>' % (
            blob(x + R * 0.79, top + R * 0.05, R * 0.07, R * 0.14), c2, ctx.ink(c2), fmt(w * 0.4)))
        out.append('<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (fmt(x), fmt(top - R * 0.52), fmt(R * 0.07), c2))
    elif kind == 'beret':
        d = blob(x + R * 0.1, top - R * 0.22, R * 0.95, R * 0.4, 0, 0, rot=-6)
        out.append(ctx.shape(d, c1, 'round'))
        out.append('<path d="M%s %s q%s %s %s %s" stroke="%s" stroke-width="%s" stroke-linecap="round" fill="none"/>' % (
            fmt(x + R * 0.1), fmt(top - R * 0.6), fmt(R * 0.02), fmt(-R * 0.12), fmt(R * 0.1), fmt(-R * 0.16), ctx.ink(c1), fmt(w * 1.2)))
        out.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ffffff" opacity="0.25"/>' % (fmt(x - R * 0.3), fmt(top - R * 0.38), fmt(R * 0.35), fmt(R * 0.1)))
    elif kind == 'bobble':
        dome = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            x - R * 0.8, top + R * 0.1, x - R * 0.8, top - R * 0.95, x, top - R * 0.95, x + R * 0.8, top - R * 0.95, x + R * 0.8, top + R * 0.1)))
        cuff = rrect_path(x - R * 0.86, top - R * 0.18, R * 1.72, R * 0.38, R * 0.16)
        out.append(ctx.layer([(dome, c1, 'round')]))
        cl = ctx.clip(dome)
        out.append('<g clip-path="%s">' % cl)
        for k in range(-4, 5):
            out.append('<path d="M%s %s v%s" stroke="%s" stroke-width="%s" opacity="0.45"/>' % (fmt(x + k * R * 0.2), fmt(top), fmt(-R), shade(c1, 0.75), fmt(w * 0.6)))
        out.append('<path d="M%s %s H%s" stroke="%s" stroke-width="%s"/>' % (fmt(x - R), fmt(top - R * 0.55), fmt(x + R), c2, fmt(R * 0.14)))
        out.append('</g>')
        out.append(ctx.shape(cuff, c2, 'vert'))
        out.append(ctx.shape(blob(x, top - R * 1.0, R * 0.3, R * 0.28, 12, 0.35), '#ffffff', 'round', ink='#8a9ab0'))
    elif kind == 'alpine':
        crown = ('M%s %s Q%s %s %s %s Q%s %s %s %s L%s %s Z' % tuple(fmt(v) for v in (
            x - R * 0.55, top - R * 0.1, x - R * 0.55, top - R * 0.8, x - R * 0.1, top - R * 0.62,
            x + R * 0.2, top - R * 0.85, x + R * 0.55, top - R * 0.7, x + R * 0.58, top - R * 0.1)))
        brim = blob(x, top - R * 0.08, R * 0.95, R * 0.2)
        out.append(ctx.layer([(brim, c1, 'vert'), (crown, c1, 'round')]))
        out.append('<path d="M%s %s L%s %s" stroke="%s" stroke-width="%s"/>' % (fmt(x - R * 0.56), fmt(top - R * 0.24), fmt(x + R * 0.58), fmt(top - R * 0.24), c2, fmt(R * 0.12)))
        feather = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            x + R * 0.45, top - R * 0.3, x + R * 0.6, top - R * 1.0, x + R * 1.05, top - R * 1.35, x + R * 0.85, top - R * 0.8, x + R * 0.5, top - R * 0.28)))
        out.append(ctx.shape(feather, '#5fcd48', 'body', w=w * 0.6))
    elif kind == 'deerstalker':
        dome = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            x - R * 0.75, top + R * 0.05, x - R * 0.75, top - R * 0.85, x, top - R * 0.85, x + R * 0.75, top - R * 0.85, x + R * 0.75, top + R * 0.05)))
        peakf = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            x - R * 0.55, top - R * 0.02, x - R * 0.2, top + R * 0.28, x + R * 0.55, top - R * 0.02, x, top + R * 0.06, x - R * 0.55, top - R * 0.02)))
        out.append(ctx.layer([(dome, c1, 'round'), (peakf, c1, 'vert')]))
        cl = ctx.clip(dome)
        out.append('<g clip-path="%s" opacity="0.5">' % cl)
        for k in range(-5, 6):
            out.append('<path d="M%s %s v%s M%s %s h%s" stroke="%s" stroke-width="%s"/>' % (
                fmt(x + k * R * 0.17), fmt(top + R * 0.1), fmt(-R), fmt(x - R), fmt(top - R * 0.1 + k * R * 0.17 - R * 0.2), fmt(2 * R), c2, fmt(w * 0.5)))
        out.append('</g>')
        out.append('<path d="M%s %s Q%s %s %s %s" stroke="%s" stroke-width="%s" fill="none" stroke-linecap="round"/>' % (
            fmt(x - R * 0.2), fmt(top - R * 0.85), fmt(x), fmt(top - R * 1.05), fmt(x + R * 0.2), fmt(top - R * 0.85), c2, fmt(w)))
    elif kind == 'straw':
        brim = blob(x, top - R * 0.05, R * 1.35, R * 0.32)
        crown = ('M%s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            x - R * 0.6, top - R * 0.05, x - R * 0.62, top - R * 0.7, x, top - R * 0.72, x + R * 0.62, top - R * 0.7, x + R * 0.6, top - R * 0.05)))
        out.append(ctx.layer([(brim, c1, 'round')]))
        out.append(ctx.shape(crown, c1, 'round'))
        out.append('<path d="M%s %s Q%s %s %s %s" stroke="%s" stroke-width="%s" fill="none"/>' % (
            fmt(x - R * 0.6), fmt(top - R * 0.22), fmt(x), fmt(top - R * 0.12), fmt(x + R * 0.6), fmt(top - R * 0.22), c2, fmt(R * 0.14)))
        for k in range(3):
            fx = x + R * (0.28 + k * 0.14)
            out.append('<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="%s" stroke-width="%s"/><circle cx="%s" cy="%s" r="%s" fill="#ffd93a"/>' % (
                fmt(fx), fmt(top - R * 0.26), fmt(R * 0.1), ['#ff8fb4', '#ffffff', '#b48cff'][k], '#8a4060', fmt(w * 0.35), fmt(fx), fmt(top - R * 0.26), fmt(R * 0.04)))
    elif kind == 'crown':
        d = ('M%s %s L%s %s L%s %s L%s %s L%s %s L%s %s L%s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            x - R * 0.6, top, x - R * 0.72, top - R * 0.75, x - R * 0.3, top - R * 0.4, x, top - R * 0.95,
            x + R * 0.3, top - R * 0.4, x + R * 0.72, top - R * 0.75, x + R * 0.6, top, x, top + R * 0.08, x - R * 0.6, top)))
        out.append(ctx.shape(d, c1, 'round'))
        out.append('<path d="M%s %s Q%s %s %s %s" stroke="%s" stroke-width="%s" fill="none"/>' % (
            fmt(x - R * 0.6), fmt(top - R * 0.12), fmt(x), fmt(top - R * 0.02), fmt(x + R * 0.6), fmt(top - R * 0.12), shade(c1, 0.7), fmt(w)))
        for px, py, col in ((x - R * 0.72, top - R * 0.78, c2), (x, top - R * 0.98, '#3f8cff'), (x + R * 0.72, top - R * 0.78, c2), (x, top - R * 0.22, c2)):
            out.append('<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="%s" stroke-width="%s"/>' % (fmt(px), fmt(py), fmt(R * 0.09), col, ctx.ink(col), fmt(w * 0.4)))
        out.append('<path d="%s" fill="#ffffff"/>' % star_path(x - R * 0.3, top - R * 0.5, R * 0.07, R * 0.018, 4))
    elif kind == 'headphones':
        band = 'M%s %s Q%s %s %s %s' % (fmt(x - R * 0.95), fmt(top + R * 0.55), fmt(x), fmt(top - R * 0.55), fmt(x + R * 0.95), fmt(top + R * 0.55))
        out.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round"/>' % (band, ctx.ink(c1), fmt(R * 0.2 + 2 * w)))
        out.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round"/>' % (band, c1, fmt(R * 0.2)))
        for s in (-1, 1):
            out.append(ctx.shape(blob(x + s * R * 0.98, top + R * 0.7, R * 0.2, R * 0.3), c2, 'round'))
    out.append('</g>')
    return ''.join(out)


def costume(ctx, piece, g, b, back=False):
    kind, c1 = piece[0], piece[1]
    c2 = piece[2] if len(piece) > 2 else shade(c1, 0.7)
    R, hx, hy, ny, bw = g['R'], g['hx'], g['hy'], g['neck_y'], g['bw']
    w = ctx.w
    hat_kinds = ('chef', 'captain', 'tiara', 'helmet', 'mortarboard', 'beret', 'bobble', 'alpine', 'deerstalker', 'straw', 'crown', 'headphones')
    if kind in hat_kinds:
        top = g['top'] + R * b.get('hat_sink', 0.18)
        return _hat(ctx, kind, hx + R * 0.05, top, R, c1, c2, tilt=piece[3] if len(piece) > 3 else -8)
    if kind == 'glasses' or kind == 'sunglasses':
        ey = hy - R * 0.12
        ex = R * b.get('eye_sp', 0.36)
        r = R * 0.24
        out = []
        for s in (-1, 1):
            if kind == 'sunglasses':
                out.append('<path d="%s" fill="%s" stroke="%s" stroke-width="%s"/>' % (star_path(hx + s * ex, ey, r * 1.35, r * 0.72, 5), c1, ctx.ink(c1), fmt(w * 0.6)))
                out.append('<path d="%s" fill="#1f2440" opacity="0.88"/>' % circle_path(hx + s * ex, ey, r * 0.66))
                out.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ffffff" opacity="0.7"/>' % (fmt(hx + s * ex - r * 0.25), fmt(ey - r * 0.3), fmt(r * 0.22), fmt(r * 0.12)))
            else:
                out.append('<circle cx="%s" cy="%s" r="%s" fill="#dff3ff" fill-opacity="0.35" stroke="%s" stroke-width="%s"/>' % (fmt(hx + s * ex), fmt(ey), fmt(r), c1, fmt(w * 0.9)))
                out.append('<path d="M%s %s q%s %s %s %s" stroke="#ffffff" stroke-width="%s" fill="none" opacity="0.8" stroke-linecap="round"/>' % (
                    fmt(hx + s * ex - r * 0.55), fmt(ey - r * 0.1), fmt(r * 0.1), fmt(-r * 0.4), fmt(r * 0.45), fmt(-r * 0.5), fmt(w * 0.5)))
        out.append('<path d="M%s %s Q%s %s %s %s" stroke="%s" stroke-width="%s" fill="none"/>' % (
            fmt(hx - ex + r * 0.7), fmt(ey - r * 0.2), fmt(hx), fmt(ey - r * 0.6), fmt(hx + ex - r * 0.7), fmt(ey - r * 0.2), c1, fmt(w * 0.9)))
        return ''.join(out)
    if kind == 'monocle':
        ey, ex, r = hy - R * 0.12, R * b.get('eye_sp', 0.36), R * 0.26
        return ('<circle cx="%s" cy="%s" r="%s" fill="#dff3ff" fill-opacity="0.3" stroke="%s" stroke-width="%s"/>'
                '<path d="M%s %s Q%s %s %s %s" stroke="%s" stroke-width="%s" fill="none"/>'
                % (fmt(hx + ex), fmt(ey), fmt(r), c1, fmt(w), fmt(hx + ex + r), fmt(ey), fmt(hx + ex + r * 1.6), fmt(ey + R * 0.8),
                   fmt(hx + ex + r * 0.6), fmt(ey + R * 1.4), c1, fmt(w * 0.4)))
    # neck pieces
    cw = bw * 0.85 + R * 0.25
    y = ny + R * 0.22
    if kind == 'collar':
        d = 'M%s %s Q%s %s %s %s L%s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            hx - cw, y - 8, hx, y + 14, hx + cw, y - 8, hx + cw, y + 6, hx, y + 28, hx - cw, y + 6))
        return ctx.shape(d, c1, 'vert') + '<circle cx="%s" cy="%s" r="%s" fill="#ffd93a" stroke="#8a6010" stroke-width="%s"/>' % (fmt(hx), fmt(y + 30), fmt(9), fmt(w * 0.6))
    if kind in ('scarf', 'neckerchief', 'sailor'):
        band = 'M%s %s Q%s %s %s %s L%s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            hx - cw, y - 12, hx, y + 12, hx + cw, y - 12, hx + cw * 1.02, y + 10, hx, y + 38, hx - cw * 1.02, y + 10))
        out = []
        if kind == 'scarf':
            tail1 = 'M%s %s L%s %s L%s %s L%s %s Z' % tuple(fmt(v) for v in (
                hx + cw * 0.3, y + 20, hx + cw * 0.55, y + 95, hx + cw * 0.95, y + 88, hx + cw * 0.75, y + 8))
            out.append(ctx.layer([(tail1, c1), (band, c1, 'vert')]))
            cl = ctx.clip(band + ' ' + tail1)
            out.append('<g clip-path="%s">' % cl)
            for k in range(-8, 9):
                out.append('<path d="M%s %s l%s %s" stroke="%s" stroke-width="%s"/>' % (fmt(hx + k * 16), fmt(y - 20), fmt(30), fmt(140), c2, fmt(6)))
            out.append('</g>')
            for k in range(4):
                fx = hx + cw * (0.58 + k * 0.11)
                out.append('<path d="M%s %s v%s" stroke="%s" stroke-width="%s" stroke-linecap="round"/>' % (fmt(fx), fmt(y + 92 - k * 2), fmt(12), c1, fmt(w)))
            return ''.join(out)
        tri = 'M%s %s L%s %s L%s %s Z' % tuple(fmt(v) for v in (
            hx - cw * 0.85, y + 2, hx, y + (110 if kind == 'sailor' else 80), hx + cw * 0.85, y + 2))
        if kind == 'sailor':
            out.append(ctx.layer([(tri, c1, 'vert'), (band, c1, 'vert')]))
            cl = ctx.clip(tri + ' ' + band)
            out.append('<g clip-path="%s" fill="none" stroke="#ffffff" stroke-width="%s">' % (cl, fmt(w * 1.2)))
            out.append('<path d="M%s %s L%s %s L%s %s"/>' % (fmt(hx - cw * 0.7), fmt(y + 8), fmt(hx), fmt(y + 92), fmt(hx + cw * 0.7), fmt(y + 8)))
            out.append('</g>')
            knot = blob(hx, y + 28, 12, 10)
            out.append(ctx.shape('M%s %s L%s %s L%s %s Z' % tuple(fmt(v) for v in (hx - 6, y + 30, hx - 22, y + 72, hx - 2, y + 66)), c2))
            out.append(ctx.shape('M%s %s L%s %s L%s %s Z' % tuple(fmt(v) for v in (hx + 6, y + 30, hx + 22, y + 72, hx + 2, y + 66)), c2))
            out.append(ctx.shape(knot, c2, 'round'))
            return ''.join(out)
        out.append(ctx.layer([(tri, c1, 'body'), (band, c1, 'vert')]))
        cl = ctx.clip(tri + ' ' + band)
        out.append('<g clip-path="%s">' % cl)
        for k in range(-6, 7):
            out.append('<path d="M%s %s v%s M%s %s h%s" stroke="%s" stroke-width="%s" opacity="0.7"/>' % (
                fmt(hx + k * 14), fmt(y - 20), fmt(140), fmt(hx - cw * 1.2), fmt(y + k * 14 + 40), fmt(cw * 2.4), c2, fmt(5)))
        out.append('</g>')
        out.append(ctx.shape(blob(hx, y + 20, 13, 10), c1, 'round'))
        return ''.join(out)
    if kind == 'pearls':
        out = []
        n = 11
        for i in range(n):
            t = i / (n - 1.0)
            px = hx - cw * 0.9 + t * cw * 1.8
            py = y + 4 + math.sin(t * math.pi) * 26
            out.append('<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="%s" stroke-width="%s"/>' % (fmt(px), fmt(py), fmt(7.5), ctx.grad(c1, 'round'), ctx.ink(c1), fmt(w * 0.5)))
        out.append('<path d="%s" fill="%s" stroke="%s" stroke-width="%s"/>' % (blob(hx, y + 44, 11, 14), ctx.grad(c2, 'round'), ctx.ink(c2), fmt(w * 0.6)))
        return ''.join(out)
    if kind == 'bowtie':
        by = y + 14
        d1 = 'M%s %s L%s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (hx, by, hx - 40, by - 22, hx - 46, by, hx - 40, by + 22))
        d2 = 'M%s %s L%s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (hx, by, hx + 40, by - 22, hx + 46, by, hx + 40, by + 22))
        out = [ctx.layer([(d1, c1, 'round'), (d2, c1, 'round')]), ctx.shape(blob(hx, by, 11, 13), c1, 'round')]
        for s in (-1, 1):
            for k in range(3):
                out.append('<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (fmt(hx + s * (22 + k * 7)), fmt(by - 8 + k * 8), fmt(3.5), c2))
        return ''.join(out)
    if kind == 'barrel':
        by = y + 40
        out = ['<path d="M%s %s Q%s %s %s %s" stroke="%s" stroke-width="%s" fill="none"/>' % (fmt(hx - cw), fmt(y - 6), fmt(hx), fmt(y + 26), fmt(hx + cw), fmt(y - 6), '#8a2a1a', fmt(10))]
        body = rrect_path(hx - 30, by - 22, 60, 44, 16)
        out.append(ctx.shape(body, c1, 'round'))
        for k in (-14, 14):
            out.append('<path d="M%s %s v%s" stroke="%s" stroke-width="%s"/>' % (fmt(hx + k), fmt(by - 21), fmt(42), c2, fmt(5)))
        out.append('<path d="%s" fill="#ffffff" stroke="#c8302a" stroke-width="%s"/>' % (blob(hx, by, 10, 10), fmt(w * 0.5)))
        out.append('<path d="M%s %s h%s M%s %s v%s" stroke="#e03a30" stroke-width="4"/>' % (fmt(hx - 6), fmt(by), fmt(12), fmt(hx), fmt(by - 6), fmt(12)))
        return ''.join(out)
    if kind == 'garland':
        out = []
        n = 9
        cols = [c1, c2, '#ffffff', '#ffd93a']
        for i in range(n):
            t = i / (n - 1.0)
            px = hx - cw * 0.95 + t * cw * 1.9
            py = y + 2 + math.sin(t * math.pi) * 30
            col = cols[i % len(cols)]
            out.append('<path d="%s" fill="%s" stroke="%s" stroke-width="%s"/>' % (blob(px, py, 13, 12, 5, 0.6, phase=i * 0.3), col, ctx.ink(col), fmt(w * 0.5)))
            out.append('<circle cx="%s" cy="%s" r="4" fill="#ffb52e"/>' % (fmt(px), fmt(py)))
        return ''.join(out)
    if kind == 'ruff':
        d = blob(hx, y + 4, cw * 1.05, 26, 18, 0.35)
        return ctx.shape(d, c1, 'round')
    if kind == 'cape':
        if back:
            d = ('M%s %s Q%s %s %s %s L%s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
                hx - cw * 0.8, y, hx - cw * 2.0, y + 120, hx - cw * 1.7, -6, hx + cw * 2.6, -6, hx + cw * 2.4, y + 110, hx + cw * 0.8, y)))
            out = [ctx.shape(d, c1, 'body')]
            cl = ctx.clip(d)
            out.append('<g clip-path="%s">' % cl)
            out.append('<path d="M%s %s H%s" stroke="#ffffff" stroke-width="%s"/>' % (fmt(hx - cw * 3), fmt(-6), fmt(hx + cw * 3), fmt(18)))
            for k in range(-5, 8):
                out.append('<circle cx="%s" cy="%s" r="%s" fill="#2a2230"/>' % (fmt(hx + k * 24), fmt(-8), fmt(3)))
            out.append('</g>')
            return ''.join(out)
        d = blob(hx, y + 2, cw * 1.05, 18, 16, 0.3)
        out = [ctx.shape(d, '#ffffff', 'round', ink='#7a7a90')]
        for k in range(-3, 4):
            out.append('<circle cx="%s" cy="%s" r="3" fill="#2a2230"/>' % (fmt(hx + k * cw * 0.28), fmt(y + 4 + (k % 2) * 4)))
        out.append('<path d="%s" fill="%s" stroke="%s" stroke-width="%s"/>' % (blob(hx, y + 24, 10, 10), ctx.grad(c2, 'round'), ctx.ink(c2), fmt(w * 0.5)))
        return ''.join(out)
    return ''


# ----------------------------------------------------------------------------
# Owners: head and shoulders, drawn in pixels on a canvas of w x h
# ----------------------------------------------------------------------------

def draw_person(ctx, p, cx, base, s=1.0):
    """A person whose shoulders end at y = base, centred on x = cx. p holds
    skin, hair, hair style, clothes, collar, hat and extras."""
    out = ['<g transform="translate(%s %s) scale(%s)">' % (fmt(cx), fmt(base), fmt(s))]
    skin, hair, cl = p['skin'], p['hair'], p['clothes']
    hs = p.get('style', 'short')
    # head centre
    hx, hy, rx, ry = 0.0, -205.0, 66.0, 76.0
    if p.get('cape'):
        out.append(ctx.shape('M-150 0 Q-170 -120 -90 -120 L90 -120 Q170 -120 150 0 Z', p['cape'], 'body'))
    # hair behind the head
    back = []
    if hs in ('long', 'bob', 'curly_long'):
        ln = {'long': 175, 'bob': 100, 'curly_long': 160}[hs]
        if hs == 'curly_long':
            back.append((blob(hx, hy + ln * 0.25, rx * 1.45, ln * 0.75, 18, 0.32), hair))
        else:
            back.append(('M%s %s Q%s %s %s %s L%s %s Q%s %s %s %s Q%s %s %s %s L%s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
                hx - rx * 1.1, hy - 10, hx - rx * 1.35, hy - ry * 1.35, hx, hy - ry * 1.22,
                hx + 0, hy - ry * 1.22, hx + rx * 1.35, hy - ry * 1.35, hx + rx * 1.1, hy - 10,
                hx + rx * 1.25, hy + ln * 0.6, hx + rx * 1.05, hy + ln, hx - rx * 1.05, hy + ln,
                hx - rx * 1.25, hy + ln * 0.6, hx - rx * 1.1, hy - 10)), hair))
    if hs == 'bun':
        back.append((blob(hx + 10, hy - ry * 1.15, 40, 34), hair))
    if hs == 'ponytail':
        back.append(('M%s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            hx + rx * 0.7, hy - ry * 0.6, hx + rx * 2.0, hy - ry * 0.6, hx + rx * 1.5, hy + ry * 1.2, hx + rx * 1.1, hy, hx + rx * 0.7, hy - ry * 0.6)), hair))
    if back:
        out.append(ctx.layer(back))
    # shoulders and neck
    sw = p.get('shoulders', 150)
    body = ('M%s 4 L%s %s Q%s %s %s %s L%s %s Q%s %s %s %s L%s 4 Z' % tuple(fmt(v) for v in (
        -sw - 10, -sw - 6, -60, -sw + 10, -112, -46, -118, 46, -118, sw - 10, -112, sw + 6, -60, sw + 10)))
    neck = 'M-26 -150 L-28 -106 Q0 -92 28 -106 L26 -150 Z'
    out.append(ctx.layer([(neck, skin)]))
    out.append(ctx.layer([(body, cl)]))
    clb = ctx.clip(body)
    collar = p.get('collar', 'round')
    inner = []
    if p.get('stripes'):
        for k in range(10):
            inner.append('<path d="M-200 %s H200" stroke="%s" stroke-width="9"/>' % (fmt(-112 + k * 24), p['stripes']))
    if p.get('apron'):
        inner.append(ctx.shape('M-70 4 L-74 -70 Q0 -82 74 -70 L70 4 Z', p['apron'], 'vert'))
        inner.append('<path d="M-74 -70 L-40 -116 M74 -70 L40 -116" stroke="%s" stroke-width="8"/>' % p['apron'])
    if p.get('buttons'):
        for k in range(3):
            inner.append('<circle cx="0" cy="%s" r="6" fill="%s" stroke="%s" stroke-width="2"/>' % (fmt(-70 + k * 28), p['buttons'], ctx.ink(p['buttons'])))
    if p.get('badge'):
        inner.append('<path d="%s" fill="%s" stroke="%s" stroke-width="2.5"/>' % (star_path(-80, -60, 16, 7), p['badge'], ctx.ink(p['badge'])))
    inner.append('<ellipse cx="120" cy="-20" rx="110" ry="90" fill="#000" opacity="0.12"/>')
    inner.append('<ellipse cx="-100" cy="-90" rx="60" ry="24" fill="#ffffff" opacity="0.18"/>')
    out.append('<g clip-path="%s">%s</g>' % (clb, ''.join(inner)))
    if collar == 'v':
        out.append(ctx.shape('M-46 -117 L0 -56 L46 -117 Q0 -100 -46 -117 Z', p.get('shirt', '#ffffff'), 'vert'))
    elif collar == 'shirt':
        out.append(ctx.shape('M-46 -117 L0 -70 L46 -117 Z', p.get('shirt', '#ffffff'), 'vert'))
        out.append(ctx.shape('M-4 -72 L-44 -118 L-52 -86 Z', p.get('shirt', '#ffffff'), 'vert'))
        out.append(ctx.shape('M4 -72 L44 -118 L52 -86 Z', p.get('shirt', '#ffffff'), 'vert'))
        if p.get('tie'):
            out.append(ctx.shape('M-8 -78 L8 -78 L14 -10 L0 4 L-14 -10 Z', p['tie'], 'body'))
    elif collar == 'turtle':
        out.append(ctx.shape(rrect_path(-40, -132, 80, 34, 14), cl, 'vert'))
    elif collar == 'sailor':
        out.append(ctx.shape('M-60 -116 L0 -40 L60 -116 Q0 -100 -60 -116 Z', '#ffffff', 'vert', ink='#5a6a8a'))
        out.append(ctx.shape('M-14 -60 L14 -60 L0 -30 Z', '#ef4a43', 'round'))
    else:
        out.append('<path d="M-40 -117 Q0 -90 40 -117" fill="none" stroke="%s" stroke-width="4"/>' % ctx.ink(cl))
    if p.get('scarf'):
        out.append(ctx.shape('M-50 -124 Q0 -92 50 -124 L54 -100 Q0 -66 -54 -100 Z', p['scarf'], 'vert'))
        out.append(ctx.shape('M20 -92 L40 -20 L64 -26 L44 -100 Z', p['scarf'], 'body'))
    if p.get('pearls'):
        for i in range(11):
            t = i / 10.0
            out.append('<circle cx="%s" cy="%s" r="6.5" fill="%s" stroke="#a89a90" stroke-width="1.5"/>' % (
                fmt(-40 + 80 * t), fmt(-112 + math.sin(t * math.pi) * 26), ctx.grad('#fbf4ea', 'round')))
    if p.get('bowtie'):
        out.append(ctx.layer([('M0 -112 L-30 -128 L-30 -96 Z', p['bowtie']), ('M0 -112 L30 -128 L30 -96 Z', p['bowtie']), (blob(0, -112, 8, 9), p['bowtie'])]))
    # ears
    for sx in (-1, 1):
        out.append(ctx.shape(blob(hx + sx * rx * 0.98, hy + 8, 14, 19), skin, 'round'))
        if p.get('earrings'):
            out.append('<circle cx="%s" cy="%s" r="6" fill="%s" stroke="%s" stroke-width="2"/>' % (fmt(hx + sx * rx * 1.0), fmt(hy + 32), p['earrings'], ctx.ink(p['earrings'])))
    # head
    head = ('M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z' % tuple(fmt(v) for v in (
        hx, hy - ry, hx + rx * 0.65, hy - ry, hx + rx, hy - ry * 0.55, hx + rx, hy - 6,
        hx + rx, hy + ry * 0.55, hx + rx * 0.55, hy + ry, hx, hy + ry,
        hx - rx * 0.55, hy + ry, hx - rx, hy + ry * 0.55, hx - rx, hy - 6,
        hx - rx, hy - ry * 0.55, hx - rx * 0.65, hy - ry, hx, hy - ry)))
    out.append(ctx.layer([(head, skin, 'round')]))
    # face
    age = p.get('age', 0)
    ey = hy - 2
    for sx in (-1, 1):
        ex = hx + sx * 25
        out.append('<ellipse cx="%s" cy="%s" rx="8.5" ry="11" fill="#2a1a12"/>' % (fmt(ex), fmt(ey)))
        out.append('<circle cx="%s" cy="%s" r="3.6" fill="#ffffff"/>' % (fmt(ex - 3), fmt(ey - 4)))
        out.append('<circle cx="%s" cy="%s" r="1.6" fill="#ffffff" opacity="0.8"/>' % (fmt(ex + 3), fmt(ey + 4)))
        if p.get('lashes'):
            out.append('<path d="M%s %s l%s -6" stroke="#2a1a12" stroke-width="2.5" stroke-linecap="round"/>' % (fmt(ex + sx * 7), fmt(ey - 8), fmt(sx * 6)))
        brow = p.get('brow', hair)
        out.append('<path d="M%s %s Q%s %s %s %s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round"/>' % (
            fmt(ex - 12), fmt(ey - 18), fmt(ex), fmt(ey - 27 - p.get('brow_up', 0)), fmt(ex + 12), fmt(ey - 18), shade(brow, 0.8), fmt(5 if age else 4)))
        if age:
            out.append('<path d="M%s %s q%s 4 %s 8" fill="none" stroke="%s" stroke-width="2" opacity="0.5"/>' % (fmt(ex + sx * 14), fmt(ey + 4), fmt(sx * 3), fmt(sx * 1), shade(skin, 0.6)))
    out.append('<path d="M%s %s q-6 18 2 20" fill="none" stroke="%s" stroke-width="3" stroke-linecap="round"/>' % (fmt(hx + 2), fmt(hy + 4), shade(skin, 0.65)))
    for sx in (-1, 1):
        out.append('<ellipse cx="%s" cy="%s" rx="14" ry="8" fill="#ff6f7a" opacity="0.3"/>' % (fmt(hx + sx * 40), fmt(hy + 26)))
    mouth = 'M%s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (hx - 24, hy + 38, hx, hy + 46, hx + 24, hy + 38, hx, hy + 70, hx - 24, hy + 38))
    out.append(ctx.shape(mouth, p.get('lips', '#8a2a2a'), 'vert', w=2.5))
    out.append('<path d="M%s %s Q%s %s %s %s Z" fill="#ffffff"/>' % (fmt(hx - 18), fmt(hy + 41), fmt(hx), fmt(hy + 48), fmt(hx + 18), fmt(hy + 41)))
    out.append('<path d="M%s %s Q%s %s %s %s Q%s %s %s %s Z" fill="#f0727a"/>' % (fmt(hx - 10), fmt(hy + 60), fmt(hx), fmt(hy + 52), fmt(hx + 10), fmt(hy + 60), fmt(hx), fmt(hy + 66), fmt(hx - 10), fmt(hy + 60)))
    if p.get('mustache'):
        out.append(ctx.shape('M%s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            hx, hy + 30, hx - 20, hy + 22, hx - 40, hy + 40, hx - 22, hy + 36, hx, hy + 38, hx + 22, hy + 36, hx + 40, hy + 40,
            hx + 20, hy + 22, hx, hy + 30)), p.get('beardc', hair), 'vert', w=2.5))
    if p.get('beard'):
        out.append(ctx.shape('M%s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            hx - rx * 0.98, hy + 6, hx - rx, hy + ry * 1.1, hx, hy + ry * 1.35, hx + rx, hy + ry * 1.1, hx + rx * 0.98, hy + 6,
            hx + rx * 0.6, hy + 52, hx, hy + 75, hx - rx * 0.6, hy + 52, hx - rx * 0.98, hy + 6)), p.get('beardc', hair), 'round', w=2.5))
        out.append(ctx.shape(mouth, p.get('lips', '#8a2a2a'), 'vert', w=2.5))
        out.append(ctx.shape('M%s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
            hx, hy + 30, hx - 20, hy + 22, hx - 40, hy + 40, hx - 22, hy + 36, hx, hy + 38, hx + 22, hy + 36, hx + 40, hy + 40,
            hx + 20, hy + 22, hx, hy + 30)), p.get('beardc', hair), 'vert', w=2.5))
    # hair on top
    if hs != 'bald':
        if hs in ('short', 'spiky', 'bob', 'long', 'bun', 'ponytail', 'side'):
            fr = ('M%s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Q%s %s %s %s Z' % tuple(fmt(v) for v in (
                hx - rx * 1.04, hy - 2, hx - rx * 1.1, hy - ry * 1.25, hx, hy - ry * 1.1,
                hx + rx * 1.1, hy - ry * 1.25, hx + rx * 1.04, hy - 2,
                hx + rx * 0.85, hy - ry * 0.6, hx + rx * 0.2, hy - ry * 0.62,
                hx - rx * 0.3, hy - ry * 0.45, hx - rx * 0.7, hy - ry * 0.55,
                hx - rx * 0.95, hy - ry * 0.5, hx - rx * 1.04, hy - 2)))
            if hs == 'spiky':
                fr = 'M%s %s ' % (fmt(hx - rx * 1.04), fmt(hy - 6))
                for k in range(8):
                    a = math.pi + k * math.pi / 7
                    ax, ay = hx + math.cos(a) * rx * 1.12, hy - 14 + math.sin(a) * ry * 1.12
                    bx, by = hx + math.cos(a + math.pi / 14) * rx * 1.4, hy - 14 + math.sin(a + math.pi / 14) * ry * 1.35
                    fr += 'L%s %s L%s %s ' % (fmt(ax), fmt(ay), fmt(bx), fmt(by))
                fr += 'L%s %s Q%s %s %s %s Z' % (fmt(hx + rx * 1.04), fmt(hy - 6), fmt(hx), fmt(hy - ry * 0.7), fmt(hx - rx * 1.04), fmt(hy - 6))
            out.append(ctx.layer([(fr, hair, 'round')]))
            out.append('<path d="M%s %s Q%s %s %s %s" stroke="#ffffff" stroke-width="6" fill="none" opacity="0.3" stroke-linecap="round"/>' % (
                fmt(hx - rx * 0.6), fmt(hy - ry * 0.8), fmt(hx - rx * 0.2), fmt(hy - ry * 1.08), fmt(hx + rx * 0.3), fmt(hy - ry * 1.0)))
        elif hs in ('curly', 'curly_long'):
            out.append(ctx.layer([(blob(hx, hy - ry * 0.75, rx * 1.15, ry * 0.55, 14, 0.4), hair, 'round')]))
        elif hs == 'sides':
            for sx in (-1, 1):
                out.append(ctx.shape(blob(hx + sx * rx * 0.9, hy - 14, 12, 24, 7, 0.3), hair, 'round'))
    if p.get('glasses'):
        for sx in (-1, 1):
            out.append('<circle cx="%s" cy="%s" r="17" fill="#dff3ff" fill-opacity="0.3" stroke="%s" stroke-width="4"/>' % (fmt(hx + sx * 25), fmt(ey), p['glasses']))
        out.append('<path d="M-9 %s Q0 %s 9 %s" stroke="%s" stroke-width="4" fill="none"/>' % (fmt(ey - 3), fmt(ey - 8), fmt(ey - 3), p['glasses']))
    if p.get('hat'):
        h = p['hat']
        out.append(_hat(ctx, h[0], hx, hy - ry * 0.72, 84, h[1], h[2] if len(h) > 2 else shade(h[1], 0.7), tilt=h[3] if len(h) > 3 else -5))
    out.append('</g>')
    return ''.join(out)


def silhouette(ctx, p, cx, base, color, s=1.0):
    """A flat shadow figure of a person, for the entrance of an owner."""
    c = Ctx(ctx.prefix + 's', ctx.w)
    body = draw_person(c, p, cx, base, s)
    return '<g filter="url(#%s)">%s</g>' % (ctx.prefix + 'flat', body), (
        '<filter id="%sflat"><feFlood flood-color="%s"/><feComposite in2="SourceAlpha" operator="in"/></filter>' % (ctx.prefix, color)
        + c.defs_text())
