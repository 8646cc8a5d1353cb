"""Board backgrounds: hazy outdoor scenes a dog would like, 1024 x 768."""
import math
import random
from svgkit import *

W, H = 1024, 768

THEMES = [
    # name, sky stops, sun (x, y, colour), hills far/mid/near, tree kind, canopy colour, extras
    dict(name='meadow', sky=['#5fb6ec', '#a9dcf7', '#e4f6ff'], sun=(860, 110, '#fff6c0'), far='#8fc7a0',
         mid='#6fbf52', near='#58b040', tree='round', canopy='#4f9e3a', extras=['doghouse', 'flowers', 'ball']),
    dict(name='park', sky=['#6ab9e8', '#b8e2f8', '#eef9ff'], sun=(150, 90, '#fffbe0'), far='#9cc9b0',
         mid='#7cc460', near='#66b84a', tree='round', canopy='#3f8f3c', extras=['pond', 'path', 'lamp', 'flowers']),
    dict(name='beach', sky=['#48a8e6', '#9bd6f5', '#fff1d6'], sun=(820, 120, '#fffbe8'), far='#7fb7d6',
         mid='#3b9fd6', near='#f2d7a0', tree='palm', canopy='#3d9a4a', extras=['sea', 'umbrella', 'ball']),
    dict(name='autumn', sky=['#f0b27a', '#f8d3a4', '#fdebd0'], sun=(200, 130, '#fff0c8'), far='#d9a77a',
         mid='#c98d3e', near='#a9782f', tree='round', canopy='#e0702c', extras=['fence', 'leaves', 'doghouse']),
    dict(name='winter', sky=['#8fb6e0', '#c5dcf2', '#f2f8ff'], sun=(780, 100, '#ffffff'), far='#c9d9ee',
         mid='#e4eef9', near='#f6faff', tree='pine', canopy='#2f6b4f', extras=['snow', 'doghouse']),
    dict(name='sunset', sky=['#3d2f73', '#c25a78', '#ff9a56', '#ffd48a'], sun=(520, 470, '#fff0b0'), far='#8a5a86',
         mid='#5d3f6e', near='#3f2c55', tree='round', canopy='#2e2144', extras=['fence', 'fireflies']),
    dict(name='night', sky=['#0b1633', '#1d3566', '#35588c'], sun=(840, 120, '#f4f1d8'), far='#2c4a6a',
         mid='#23445a', near='#1c3a47', tree='round', canopy='#1d4a3c', extras=['stars', 'moon', 'fireflies', 'doghouse']),
    dict(name='blossom', sky=['#86c9f0', '#c6e8fa', '#f2fbff'], sun=(880, 90, '#fffae0'), far='#a9d3b2',
         mid='#8fd06a', near='#77c255', tree='round', canopy='#f4a6c8', extras=['petals', 'flowers', 'bone']),
]


def _ridge(rng, y0, amp, n=6, y1=H + 10):
    pts = []
    phases = [(rng.uniform(0.5, 2.5), rng.uniform(0, 6.28), rng.uniform(0.3, 1.0)) for _ in range(3)]
    for i in range(n * 8 + 1):
        x = -20 + (W + 40) * i / (n * 8.0)
        y = y0 + sum(a * amp * math.sin(f * x / W * 6.28 + p) for f, p, a in phases) / 1.8
        pts.append((x, y))
    d = 'M%s %s ' % (fmt(pts[0][0]), fmt(y1))
    d += ' '.join('L%s %s' % (fmt(x), fmt(y)) for x, y in pts)
    d += ' L%s %s Z' % (fmt(pts[-1][0]), fmt(y1))
    return d, pts


def _ridge_y(pts, x):
    for (xa, ya), (xb, yb) in zip(pts, pts[1:]):
        if xa <= x <= xb:
            return ya + (yb - ya) * (x - xa) / (xb - xa)
    return pts[-1][1]


def _cloud(rng, x, y, s, col='#ffffff', op=0.95):
    puffs = []
    for k in range(6):
        px = x + (k - 2.5) * 26 * s + rng.uniform(-8, 8) * s
        py = y - math.sin((k + 0.5) / 6 * math.pi) * 22 * s + rng.uniform(-5, 5) * s
        r = (24 + rng.uniform(0, 16) * math.sin((k + 0.5) / 6 * math.pi)) * s
        puffs.append((px, py, r))
    base = ''.join('<circle cx="%s" cy="%s" r="%s"/>' % (fmt(a), fmt(b), fmt(c)) for a, b, c in puffs)
    shadow = ''.join('<circle cx="%s" cy="%s" r="%s"/>' % (fmt(a + 4 * s), fmt(b + 8 * s), fmt(c)) for a, b, c in puffs)
    return ('<g opacity="%s"><g fill="#9fb6cf" opacity="0.35" filter="url(#b2)">%s</g>'
            '<g fill="%s">%s</g><ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/></g>'
            % (fmt(op), shadow, col, base, fmt(x), fmt(y + 6 * s), fmt(80 * s), fmt(14 * s), col))


def _tree(rng, kind, x, y, s, canopy, haze=0.0, sky='#ffffff'):
    c = mix(canopy, sky, haze)
    lt = mix(shade(c, 1.3), '#ffffff', 0.15)
    dk = shade(c, 0.7)
    trunk = mix('#6b4424', sky, haze)
    out = []
    if kind == 'pine':
        out.append('<rect x="%s" y="%s" width="%s" height="%s" fill="%s"/>' % (fmt(x - 5 * s), fmt(y - 20 * s), fmt(10 * s), fmt(22 * s), trunk))
        for k in range(3):
            w = (46 - k * 10) * s
            top = y - (20 + k * 36 + 60) * s
            base = y - (14 + k * 36) * s
            out.append('<path d="M%s %s L%s %s L%s %s Z" fill="%s"/>' % (fmt(x - w), fmt(base), fmt(x), fmt(top), fmt(x + w), fmt(base), c))
            out.append('<path d="M%s %s L%s %s L%s %s Z" fill="%s" opacity="0.6"/>' % (fmt(x), fmt(base), fmt(x), fmt(top), fmt(x + w), fmt(base), dk))
            out.append('<path d="M%s %s Q%s %s %s %s L%s %s Z" fill="#ffffff" opacity="0.85"/>'
                       % (fmt(x - w * 0.5), fmt(top + (base - top) * 0.5), fmt(x), fmt(top + (base - top) * 0.35), fmt(x + w * 0.45),
                          fmt(top + (base - top) * 0.55), fmt(x), fmt(top)))
        return ''.join(out)
    if kind == 'palm':
        out.append('<path d="M%s %s Q%s %s %s %s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round"/>'
                   % (fmt(x), fmt(y), fmt(x + 30 * s), fmt(y - 120 * s), fmt(x - 10 * s), fmt(y - 230 * s), mix('#8a6038', sky, haze), fmt(14 * s)))
        tx, ty = x - 10 * s, y - 230 * s
        for ang in (-160, -120, -70, -20, 20, 200):
            a = math.radians(ang)
            ex, ey = tx + math.cos(a) * 110 * s, ty + math.sin(a) * 50 * s + 40 * s
            mx_, my_ = tx + math.cos(a) * 60 * s, ty + math.sin(a) * 40 * s - 20 * s
            out.append('<path d="M%s %s Q%s %s %s %s Q%s %s %s %s Z" fill="%s"/>'
                       % (fmt(tx), fmt(ty), fmt(mx_), fmt(my_ - 14 * s), fmt(ex), fmt(ey), fmt(mx_), fmt(my_ + 14 * s), fmt(tx), fmt(ty), c))
        return ''.join(out)
    out.append('<path d="M%s %s L%s %s L%s %s L%s %s Z" fill="%s"/>'
               % (fmt(x - 9 * s), fmt(y), fmt(x - 5 * s), fmt(y - 70 * s), fmt(x + 5 * s), fmt(y - 70 * s), fmt(x + 9 * s), fmt(y), trunk))
    blobs = [(0, -110, 52), (-38, -86, 40), (38, -84, 42), (-16, -140, 36), (22, -132, 34)]
    for bx, by, br in blobs:
        out.append('<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (fmt(x + bx * s), fmt(y + by * s), fmt(br * s), dk))
    for bx, by, br in blobs:
        out.append('<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (fmt(x + (bx - 4) * s), fmt(y + (by - 5) * s), fmt(br * 0.9 * s), c))
    for bx, by, br in blobs[:3]:
        out.append('<circle cx="%s" cy="%s" r="%s" fill="%s" opacity="0.7"/>' % (fmt(x + (bx - 12) * s), fmt(y + (by - 14) * s), fmt(br * 0.45 * s), lt))
    return ''.join(out)


def _doghouse(x, y, s, snow=False, night=False):
    wall = '#d9a45c' if not night else '#6a5a4a'
    roof = '#c8453a' if not night else '#5a2f3a'
    out = ['<g transform="translate(%s %s) scale(%s)">' % (fmt(x), fmt(y), fmt(s))]
    out.append('<ellipse cx="0" cy="4" rx="105" ry="14" fill="#000" opacity="0.18"/>')
    out.append('<path d="M-80 0 V-90 L0 -150 L80 -90 V0 Z" fill="%s" stroke="#5a3215" stroke-width="4"/>' % wall)
    for k in range(1, 6):
        out.append('<path d="M-80 %d H80" stroke="#5a3215" stroke-opacity="0.25" stroke-width="2"/>' % (-k * 16))
    out.append('<path d="M-34 0 V-48 a34 34 0 0 1 68 0 V0 Z" fill="#3a2414"/>')
    out.append('<path d="M-100 -80 L0 -165 L100 -80 L88 -70 L0 -143 L-88 -70 Z" fill="%s" stroke="#5a1e18" stroke-width="4" stroke-linejoin="round"/>' % roof)
    if snow:
        out.append('<path d="M-102 -82 L0 -168 L102 -82 Q90 -76 80 -84 Q60 -70 40 -110 Q20 -98 0 -140 Q-25 -100 -50 -116 Q-70 -74 -102 -82 Z" fill="#ffffff"/>')
    out.append('<rect x="-30" y="-122" width="60" height="20" rx="4" fill="#f6e7c4" stroke="#5a3215" stroke-width="3"/>')
    out.append('<path d="M-14 -112 h28" stroke="#8a5a2e" stroke-width="4" stroke-linecap="round"/>')
    out.append('<g transform="translate(70 -6)"><ellipse cx="0" cy="0" rx="24" ry="9" fill="#3f8cff" stroke="#1c3f7a" stroke-width="3"/>'
               '<path d="M-20 -3 Q0 -14 20 -3" fill="#8a5a2e"/></g>')
    out.append('</g>')
    return ''.join(out)


def _ball(x, y, r):
    return ('<g><ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#000" opacity="0.2"/>'
            '<circle cx="%s" cy="%s" r="%s" fill="url(#ballg)" stroke="#6a7a10" stroke-width="2"/>'
            '<path d="M%s %s Q%s %s %s %s M%s %s Q%s %s %s %s" fill="none" stroke="#ffffff" stroke-width="3"/></g>'
            % (fmt(x + 4), fmt(y + r), fmt(r * 1.1), fmt(r * 0.3), fmt(x), fmt(y), fmt(r),
               fmt(x - r * 0.9), fmt(y - r * 0.4), fmt(x), fmt(y - r * 0.1), fmt(x - r * 0.2), fmt(y - r * 0.95),
               fmt(x + r * 0.3), fmt(y + r * 0.95), fmt(x + r * 0.5), fmt(y + r * 0.2), fmt(x + r * 0.95), fmt(y + r * 0.3)))


def _bone(x, y, s, rot):
    return ('<g transform="translate(%s %s) rotate(%s) scale(%s)"><path d="M-22 -5 H22 V5 H-22 Z M-24 -7 m-7 0 a7 7 0 1 0 14 0 a7 7 0 1 0 -14 0 '
            'M-24 7 m-7 0 a7 7 0 1 0 14 0 a7 7 0 1 0 -14 0 M24 -7 m-7 0 a7 7 0 1 0 14 0 a7 7 0 1 0 -14 0 '
            'M24 7 m-7 0 a7 7 0 1 0 14 0 a7 7 0 1 0 -14 0" fill="#f6ecd2" stroke="#8a6a3a" stroke-width="2"/></g>'
            % (fmt(x), fmt(y), fmt(rot), fmt(s)))


def scene(t, seed):
    rng = random.Random(seed)
    sky = t['sky']
    horizon = sky[-1]
    defs = [lin('sky', 0, 0, 0, 1, [(i / float(len(sky) - 1), c) for i, c in enumerate(sky)]),
            rad('sun', 0.5, 0.5, 0.5, [(0, t['sun'][2], 0.95), (0.25, t['sun'][2], 0.5), (1, t['sun'][2], 0)]),
            blur('b2', 2), blur('b4', 4), blur('b8', 8, 0.3),
            rad('ballg', 0.35, 0.3, 0.8, [(0, '#f4ff9a'), (0.6, '#c9dc2a'), (1, '#8fa010')]),
            rad('vig', 0.5, 0.5, 0.75, [(0.6, '#000000', 0), (1, '#000000', 0.28)])]
    out = ['<rect width="%d" height="%d" fill="url(#sky)"/>' % (W, H)]
    sx, sy, sc = t['sun']
    ex = t['extras']
    if 'stars' in ex:
        for _ in range(140):
            x, y = rng.uniform(0, W), rng.uniform(0, 420)
            out.append('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" opacity="%s"/>'
                       % (fmt(x), fmt(y), fmt(rng.uniform(0.6, 1.8)), fmt(rng.uniform(0.3, 0.95))))
    out.append('<circle cx="%d" cy="%d" r="260" fill="url(#sun)"/>' % (sx, sy))
    if 'moon' in ex:
        out.append('<circle cx="%d" cy="%d" r="46" fill="%s"/><circle cx="%d" cy="%d" r="40" fill="%s"/>'
                   % (sx, sy, sc, sx + 20, sy - 12, sky[0]))
    else:
        out.append('<circle cx="%d" cy="%d" r="%d" fill="%s" opacity="0.95"/>' % (sx, sy, 44, sc))
    if 'stars' not in ex:
        for k in range(rng.randint(4, 6)):
            out.append(_cloud(rng, rng.uniform(60, W - 60), rng.uniform(70, 300), rng.uniform(0.6, 1.3),
                              '#ffffff' if t['name'] != 'sunset' else '#ffd0b0', 0.9))
    # far hills, hazy
    d, far = _ridge(rng, 455, 40)
    out.append('<path d="%s" fill="%s" filter="url(#b2)"/>' % (d, mix(t['far'], horizon, 0.35)))
    for _ in range(14):
        x = rng.uniform(0, W)
        out.append(_tree(rng, 'pine' if t['tree'] == 'pine' else 'round', x, _ridge_y(far, x) + 14, rng.uniform(0.25, 0.4),
                         t['canopy'], 0.55, horizon))
    if 'sea' in ex:
        out.append('<rect x="0" y="420" width="%d" height="140" fill="%s"/>' % (W, t['mid']))
        for _ in range(70):
            x, y = rng.uniform(0, W), rng.uniform(430, 550)
            out.append('<path d="M%s %s h%s" stroke="#ffffff" stroke-opacity="%s" stroke-width="2" stroke-linecap="round"/>'
                       % (fmt(x), fmt(y), fmt(rng.uniform(8, 30)), fmt(rng.uniform(0.3, 0.8))))
        d, mid = _ridge(rng, 560, 12)
        out.append('<path d="%s" fill="%s"/>' % (d, shade(t['near'], 1.05)))
    else:
        d, mid = _ridge(rng, 530, 34)
        out.append('<path d="%s" fill="%s"/>' % (d, mix(t['mid'], horizon, 0.12)))
    if 'pond' in ex:
        out.append('<ellipse cx="830" cy="600" rx="170" ry="40" fill="#5aa6d6" stroke="#3d7fa8" stroke-width="4"/>'
                   '<ellipse cx="800" cy="592" rx="90" ry="12" fill="#ffffff" opacity="0.35"/>')
    # near ground
    d, near = _ridge(rng, 640, 18)
    defs.append(lin('gr', 0, 0, 0, 1, [(0, shade(t['near'], 1.08)), (1, shade(t['near'], 0.82))]))
    out.append('<path d="%s" fill="url(#gr)"/>' % d)
    # grass tufts along the near ground, darker and bigger towards the viewer
    if t['name'] not in ('winter', 'beach'):
        blade = shade(t['near'], 0.72)
        tip = shade(t['near'], 1.25)
        tufts = []
        for _ in range(110):
            x = rng.uniform(0, W)
            y = rng.uniform(_ridge_y(near, x) + 6, H + 10)
            k = 0.5 + (y - 600) / 300.0
            for j in range(3):
                dx = (j - 1) * 4 * k
                h = rng.uniform(9, 16) * k
                tufts.append('<path d="M%s %s q%s %s %s %s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round"/>'
                             % (fmt(x + dx), fmt(y), fmt(dx * 0.5), fmt(-h * 0.6), fmt(dx * 1.2), fmt(-h),
                                blade if j != 1 else tip, fmt(1.6 * k + 0.4)))
        out.append('<g opacity="0.8">%s</g>' % ''.join(tufts))
    if t['name'] not in ('night', 'sunset'):
        defs.append(lin('ray', 0, 0, 0, 1, [(0, '#ffffff', 0.22), (1, '#ffffff', 0)]))
        for k in range(5):
            a = math.radians(95 + k * 14 + rng.uniform(-3, 3))
            x2, y2 = sx + math.cos(a) * 900, sy + math.sin(a) * 900
            w = rng.uniform(30, 60)
            out.insert(3, '<path d="M%s %s L%s %s L%s %s Z" fill="url(#ray)" opacity="0.5"/>'
                       % (fmt(sx), fmt(sy), fmt(x2 - w), fmt(y2), fmt(x2 + w), fmt(y2)))
    if 'path' in ex:
        out.append('<path d="M380 %d Q520 700 470 770 L700 770 Q660 700 560 %d Z" fill="#e8d3a2" opacity="0.9"/>' % (H, H))
    # side trees, framing the board
    kind = t['tree']
    for x, sc_ in ((70, 1.25), (985, 1.35), (170, 0.95), (900, 0.9)):
        if kind == 'palm' and x < 500:
            continue
        out.append(_tree(rng, kind, x, _ridge_y(near, x) + 30, sc_, t['canopy'], 0.0, horizon))
    if 'umbrella' in ex:
        out.append('<g transform="translate(120 650)"><path d="M0 0 V-150" stroke="#6b4424" stroke-width="6"/>'
                   '<path d="M-110 -130 Q0 -220 110 -130 Q80 -146 55 -132 Q28 -150 0 -134 Q-28 -150 -55 -132 Q-80 -146 -110 -130 Z" '
                   'fill="#ef4a43" stroke="#7a1e1a" stroke-width="4"/><path d="M0 -190 Q-20 -160 -28 -140 M0 -190 Q20 -160 28 -140" '
                   'stroke="#ffffff" stroke-width="10" opacity="0.8" fill="none"/></g>')
    if 'fence' in ex:
        col = '#e8d6b0' if t['name'] != 'sunset' else '#3a2840'
        for x in range(860, 1030, 34):
            y = _ridge_y(near, x) + 10
            out.append('<path d="M%d %s V%s l10 -12 l10 12 V%s Z" fill="%s" stroke="#5a3215" stroke-width="2"/>'
                       % (x, fmt(y), fmt(y - 90), fmt(y), col))
        yy = _ridge_y(near, 940)
        out.append('<path d="M850 %s H1030 M850 %s H1030" stroke="%s" stroke-width="9"/>' % (fmt(yy - 60), fmt(yy - 25), col))
    if 'doghouse' in ex:
        out.append(_doghouse(150, 720, 1.0, snow='snow' in ex, night='stars' in ex))
    if 'ball' in ex:
        out.append(_ball(950, 712, 20))
    if 'bone' in ex:
        out.append(_bone(120, 720, 1.3, -20))
    if 'flowers' in ex:
        for _ in range(60):
            x = rng.choice([rng.uniform(0, 260), rng.uniform(800, W)])
            y = rng.uniform(_ridge_y(near, x) + 20, H)
            c = rng.choice(['#ffffff', '#ffd93a', '#ff8fb4', '#b48cff'])
            r = rng.uniform(3, 5.5)
            out.append('<g><circle cx="%s" cy="%s" r="%s" fill="%s"/><circle cx="%s" cy="%s" r="%s" fill="#ffb52e"/></g>'
                       % (fmt(x), fmt(y), fmt(r), c, fmt(x), fmt(y), fmt(r * 0.4)))
    if 'leaves' in ex or 'petals' in ex:
        cols = ['#e0702c', '#f2a03a', '#c8452a'] if 'leaves' in ex else ['#f8b8d4', '#ffd6e6', '#f4a6c8']
        for _ in range(70):
            x, y = rng.uniform(0, W), rng.uniform(150, H)
            out.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" transform="rotate(%s %s %s)" fill="%s" opacity="0.9"/>'
                       % (fmt(x), fmt(y), fmt(rng.uniform(4, 8)), fmt(rng.uniform(2, 4)), fmt(rng.uniform(0, 180)),
                          fmt(x), fmt(y), rng.choice(cols)))
    if 'snow' in ex:
        for _ in range(160):
            x, y = rng.uniform(0, W), rng.uniform(0, H)
            out.append('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" opacity="%s"/>'
                       % (fmt(x), fmt(y), fmt(rng.uniform(1.5, 4)), fmt(rng.uniform(0.5, 0.95))))
    if 'fireflies' in ex:
        defs.append(rad('ff', 0.5, 0.5, 0.5, [(0, '#fffbc0'), (0.3, '#ffe860', 0.7), (1, '#ffd000', 0)]))
        for _ in range(40):
            x, y = rng.uniform(0, W), rng.uniform(380, H)
            out.append('<circle cx="%s" cy="%s" r="%s" fill="url(#ff)"/>' % (fmt(x), fmt(y), fmt(rng.uniform(5, 11))))
    out.append('<rect width="%d" height="%d" fill="url(#vig)"/>' % (W, H))
    return doc(W, H, '\n'.join(out), ''.join(defs))


def build(add, pal):
    for i, t in enumerate(THEMES):
        add('backgrounds/back%d.jpg' % (i + 1), scene(t, 1000 + i))
